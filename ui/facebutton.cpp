// SPDX-License-Identifier: GPL-3.0-or-later
#include "facebutton.h"

#include "qtdesign.h"

#include <QPainter>

namespace tavoro {

namespace {

// A frame `width` pixels wide along the inside of `r`, in two colours: `topLeft` on the top and
// left sides, `bottomRight` on the others. Filled strips rather than pen lines: a pen draws one
// device pixel wide, which on a high-density screen would make the frame half as thick.
void frame(QPainter& painter, const QRect& r, int width, const QColor& topLeft, const QColor& bottomRight)
{
    for (int i = 0; i < width; ++i) {
        const QRect ring = r.adjusted(i, i, -i, -i);
        painter.fillRect(QRect(ring.left(), ring.top(), ring.width() - 1, 1), topLeft);
        painter.fillRect(QRect(ring.left(), ring.top(), 1, ring.height() - 1), topLeft);
        painter.fillRect(QRect(ring.left(), ring.bottom(), ring.width(), 1), bottomRight);
        painter.fillRect(QRect(ring.right(), ring.top(), 1, ring.height()), bottomRight);
    }
}

} // namespace

FaceButton::FaceButton(const QString& caption, QColor face, QWidget* parent)
    : QPushButton(caption, parent)
    , m_face(face)
{
}

void FaceButton::setDesignDpi(int dpi)
{
    m_dpi = dpi;
    update();
}

int FaceButton::lineWidth(int pixels) const { return scaledPx(pixels, m_dpi); }

QRect FaceButton::focusMarkRect() const
{
    const int inset = lineWidth(design::KeyEdgeWidth) + lineWidth(design::FocusMarkGap);
    return rect().adjusted(inset, inset, -inset, -inset);
}

QRect FaceButton::captionRect() const
{
    // Inside the focus rectangle, so that the mark never touches the caption.
    const int inset = lineWidth(design::FocusMarkWidth);
    return focusMarkRect().adjusted(inset, inset, -inset, -inset);
}

void FaceButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_face);

    const QColor light = toQColor(colour::EdgeLight);
    const QColor shadow = toQColor(colour::EdgeShadow);
    const bool sunken = isDown();
    if (sunken)
        frame(painter, rect(), lineWidth(design::KeyEdgeWidth), shadow, light);
    else
        frame(painter, rect(), lineWidth(design::KeyEdgeWidth), light, shadow);

    // A pressed key's caption moves one pixel down and right, as if pushed in.
    QRect caption = captionRect();
    if (sunken)
        caption.translate(1, 1);
    painter.setFont(font());
    painter.setPen(toQColor(colour::ButtonText));
    painter.drawText(caption, Qt::AlignCenter | Qt::TextWordWrap, text());

    // Shown whenever the key has the focus, also after a mouse click gave it the focus.
    if (hasFocus()) {
        const QColor mark = toQColor(colour::FocusMark);
        frame(painter, focusMarkRect(), lineWidth(design::FocusMarkWidth), mark, mark);
    }
}

} // namespace tavoro
