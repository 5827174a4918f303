// SPDX-License-Identifier: GPL-3.0-or-later
#include "clicklineedit.h"

#include <QMouseEvent>

namespace tavoro {

void ClickLineEdit::click() { emit clicked(); }

void ClickLineEdit::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLineEdit::mousePressEvent(event);
}

void ClickLineEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The text box still selects the word under the mouse; only the click is withheld.
    m_pressed = false;
    QLineEdit::mouseDoubleClickEvent(event);
}

void ClickLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLineEdit::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

} // namespace tavoro
