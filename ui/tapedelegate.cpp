// SPDX-License-Identifier: GPL-3.0-or-later
#include "tapedelegate.h"

#include "calculator.h"
#include "qtdesign.h"
#include "textfit.h"

#include <QApplication>
#include <QListView>
#include <QPainter>

namespace tavoro {

TapeDelegate::TapeDelegate(QListView* list)
    : QStyledItemDelegate(list)
    , m_list(list)
{
}

int TapeDelegate::textMargin() const
{
    // What QStyledItemDelegate leaves on each side of an item's text.
    return m_list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1;
}

QStringList TapeDelegate::rowsOf(const QString& line, const QFont& font) const
{
    if (line == toQString(text::TapeRule))
        return {line};
    const QFontMetrics metrics(font);
    const int width = m_list->viewport()->width() - 2 * textMargin();
    const std::string utf8 = line.toStdString();
    QStringList rows;
    for (const std::string_view row : wrapAnywhere(utf8, width,
             [&](std::string_view part) { return metrics.horizontalAdvance(toQString(part)); }))
        rows << toQString(row);
    return rows;
}

QSize TapeDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // A line of one row is as high as the style makes an item; each further row adds a line.
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const qsizetype rows = rowsOf(index.data().toString(), option.font).size();
    size.rheight() += static_cast<int>(rows - 1) * QFontMetrics(option.font).lineSpacing();
    size.setWidth(m_list->viewport()->width());
    return size;
}

void TapeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // The style draws the item's background, selection and focus; the rows are drawn here.
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString line = item.text;
    item.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    painter->save();
    painter->setClipRect(option.rect);
    painter->setFont(option.font);
    const bool selected = option.state & QStyle::State_Selected;
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QFontMetrics metrics(option.font);
    const QStringList rows = rowsOf(line, option.font);
    // The rows sit together in the middle of the item, as a single row does in a plain item.
    const int textHeight = static_cast<int>(rows.size() - 1) * metrics.lineSpacing() + metrics.height();
    int baseline = option.rect.top() + (option.rect.height() - textHeight) / 2 + metrics.ascent();
    for (const QString& row : rows) {
        painter->drawText(option.rect.left() + textMargin(), baseline, row);
        baseline += metrics.lineSpacing();
    }
    painter->restore();
}

} // namespace tavoro
