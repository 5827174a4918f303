// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A label that serves as a key: it reports a click (left button pressed and released over it).
// The second click of a double click is not a click, as with the classic label control.

#include "designlabel.h"

namespace tavoro {

class ClickLabel : public DesignLabel {
    Q_OBJECT

public:
    using DesignLabel::DesignLabel;

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
