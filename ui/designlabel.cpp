// SPDX-License-Identifier: GPL-3.0-or-later
#include "designlabel.h"

#include "textfit.h"

#include <QFontMetrics>
#include <QPainter>

namespace tavoro {

namespace {

QString withoutTrailingBlanks(const QString& line)
{
    qsizetype end = line.size();
    while (end > 0 && line.at(end - 1) == QLatin1Char(' '))
        --end;
    return line.left(end);
}

} // namespace

QStringList wrapAtBlanks(const QString& text, int width, const QFontMetrics& metrics)
{
    QStringList lines;
    QString line;
    qsizetype pos = 0;
    while (pos < text.size()) {
        // The next run: blanks, or a word (everything up to the next blank).
        const bool blanks = text.at(pos) == QLatin1Char(' ');
        qsizetype end = pos;
        while (end < text.size() && (text.at(end) == QLatin1Char(' ')) == blanks)
            ++end;
        const QString run = text.mid(pos, end - pos);
        pos = end;

        // Blanks never start a new line: trailing blanks take no room.
        if (!blanks && !line.isEmpty() && metrics.horizontalAdvance(line + run) > width) {
            lines << line;
            line.clear();
        }
        line += run;
    }
    lines << line;
    return lines;
}

void DesignLabel::setShrinkToFit(bool shrink)
{
    m_shrinkToFit = shrink;
    update();
}

QFont DesignLabel::drawnFont() const
{
    QFont drawn = font();
    if (!m_shrinkToFit || text().isEmpty())
        return drawn;
    const QString caption = text();
    const double size = fittingPointSize(drawn.pointSizeF(), contentsRect().width(), [&](double points) {
        QFont sized = font();
        sized.setPointSizeF(points);
        return QFontMetrics(sized).horizontalAdvance(caption);
    });
    drawn.setPointSizeF(size);
    return drawn;
}

void DesignLabel::paintEvent(QPaintEvent* event)
{
    if (!wordWrap()) {
        QLabel::paintEvent(event);
        return;
    }

    // The background is already filled (the label is opaque); draw the lines from the top edge.
    QPainter painter(this);
    const QFont drawn = drawnFont();
    painter.setFont(drawn);
    painter.setPen(palette().color(foregroundRole()));
    const QFontMetrics metrics(drawn);
    const QRect area = contentsRect();
    int top = area.top();
    for (const QString& line : wrapAtBlanks(text(), area.width(), metrics)) {
        const QString shown = withoutTrailingBlanks(line);
        const int lineWidth = metrics.horizontalAdvance(shown);
        int left = area.left();
        if (alignment() & Qt::AlignRight)
            left = area.right() + 1 - lineWidth;
        else if (alignment() & Qt::AlignHCenter)
            left = area.left() + (area.width() - lineWidth) / 2;
        painter.drawText(left, top + metrics.ascent(), shown);
        top += metrics.height();
    }
}

} // namespace tavoro
