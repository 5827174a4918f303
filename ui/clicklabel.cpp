// SPDX-License-Identifier: GPL-3.0-or-later
#include "clicklabel.h"

#include <QMouseEvent>

namespace tavoro {

void ClickLabel::click() { emit clicked(); }

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    DesignLabel::mousePressEvent(event);
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The press that completes a double click starts no click.
    m_pressed = false;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    DesignLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

} // namespace tavoro
