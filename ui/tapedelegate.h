// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the tape draws its lines. Like a paper strip, a line wider than the list goes on in the next
// row(s) of the same item, broken anywhere (inside a number too), so that every character of a
// number is seen; the rule line is decoration and keeps its single row, cut at the list's edge.
// The items and their texts stay exactly the lines written.

#include <QStyledItemDelegate>

class QListView;

namespace tavoro {

class TapeDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit TapeDelegate(QListView* list);

    // The rows `line` is drawn in, in the list's present width.
    QStringList rowsOf(const QString& line, const QFont& font) const;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    // The room between the list's edge and the text, as the style leaves it for an item's text.
    int textMargin() const;

    QListView* m_list;
};

} // namespace tavoro
