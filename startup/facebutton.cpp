#include "facebutton.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace tavoro {

namespace {
// The edge colours of a raised button: light top-left, shadow and dark shadow bottom-right.
const QColor Highlight{0xFF, 0xFF, 0xFF};
const QColor Shadow{0x80, 0x80, 0x80};
const QColor DarkShadow{0x00, 0x00, 0x00};
// Room between the edge and the caption.
constexpr int CaptionMargin = 3;

// A one-pixel frame along the inside of `r`.
void outline(QPainter& painter, const QRect& r, const QColor& colour)
{
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
}
} // namespace

FaceButton::FaceButton(const QString& caption, QColor face, QWidget* parent)
    : QPushButton(caption, parent)
    , m_face(face)
{
}

void FaceButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect r = rect();
    painter.fillRect(r, m_face);

    // The button with the focus wears a black outline, as the default button of a dialog does.
    if (hasFocus()) {
        outline(painter, r, DarkShadow);
        r.adjust(1, 1, -1, -1);
    }

    // The edges are filled one-pixel strips rather than pen lines: a pen draws one device pixel
    // wide, which on a high-density screen would make the edges half as thick as the design's.
    const bool sunken = isDown();
    if (sunken) {
        outline(painter, r, Shadow);
    } else {
        const int x0 = r.left(), y0 = r.top(), x1 = r.right(), y1 = r.bottom();
        painter.fillRect(QRect(x0, y0, x1 - x0, 1), Highlight);
        painter.fillRect(QRect(x0, y0, 1, y1 - y0), Highlight);
        painter.fillRect(QRect(x0, y1, x1 - x0 + 1, 1), DarkShadow);
        painter.fillRect(QRect(x1, y0, 1, y1 - y0 + 1), DarkShadow);
        painter.fillRect(QRect(x0 + 1, y1 - 1, x1 - x0 - 1, 1), Shadow);
        painter.fillRect(QRect(x1 - 1, y0 + 1, 1, y1 - y0 - 1), Shadow);
    }

    // A pressed button's caption moves one pixel down and right, as if pushed in.
    QRect captionRect = r.adjusted(CaptionMargin, CaptionMargin, -CaptionMargin, -CaptionMargin);
    if (sunken)
        captionRect.translate(1, 1);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(captionRect, Qt::AlignCenter | Qt::TextWordWrap, text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = r.adjusted(3, 3, -3, -3);
        focus.backgroundColor = m_face;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

} // namespace tavoro
