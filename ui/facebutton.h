// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A key: a push button painted flat in exactly its face colour with a raised edge, whatever its
// state (focused, hovered, default); only the edge changes while it is held down, sunken. The key
// with the keyboard focus wears a dark focus rectangle inside its edge, plain to see for a person
// with poor eyesight. The caption wraps at blanks. Used for the calculator's keys and the splash
// window's start button.
//
// Qt's styles either shade the face with a gradient (and shade it again when focused) or, through
// a style sheet, draw no focus mark at all; neither wraps a caption wider than the button.

#include "units.h"

#include <QColor>
#include <QPushButton>

namespace tavoro {

class FaceButton : public QPushButton {
    Q_OBJECT

public:
    FaceButton(const QString& caption, QColor face, QWidget* parent = nullptr);

    QColor face() const { return m_face; }

    // The design's resolution (screenfit.h): the edge and the focus mark are drawn that much
    // thinner where the design is drawn smaller than at 96 dpi.
    void setDesignDpi(int dpi);

    // Where the focus rectangle is drawn: a frame this rectangle's outline, FocusMarkWidth wide.
    QRect focusMarkRect() const;
    // Where the caption is drawn.
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int lineWidth(int pixels) const;

    QColor m_face;
    int m_dpi = StandardDpi;
};

} // namespace tavoro
