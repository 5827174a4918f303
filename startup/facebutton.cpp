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
        painter.setPen(DarkShadow);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }

    const bool sunken = isDown();
    if (sunken) {
        painter.setPen(Shadow);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    } else {
        const int x0 = r.left(), y0 = r.top(), x1 = r.right(), y1 = r.bottom();
        painter.setPen(Highlight);
        painter.drawLine(x0, y0, x1 - 1, y0);
        painter.drawLine(x0, y0, x0, y1 - 1);
        painter.setPen(DarkShadow);
        painter.drawLine(x0, y1, x1, y1);
        painter.drawLine(x1, y0, x1, y1);
        painter.setPen(Shadow);
        painter.drawLine(x0 + 1, y1 - 1, x1 - 1, y1 - 1);
        painter.drawLine(x1 - 1, y0 + 1, x1 - 1, y1 - 1);
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
