// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An ordinary editable single-line text box that also reports a click (left button pressed and
// released over it), so that it can serve as a key while the user may still type into it. As
// with a label, the second click of a double click is not a click.

#include <QLineEdit>

namespace tavoro {

class ClickLineEdit : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

    // Reports a click without the mouse, as an assistive tool's press action does.
    void click();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace tavoro
