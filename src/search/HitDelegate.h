// Draws a result's line with its match emphasised.
#pragma once

#include <QStyledItemDelegate>

class HitDelegate : public QStyledItemDelegate
{
public:
    // The match's place in the row's text (Qt::DisplayRole).
    static constexpr int startRole = Qt::UserRole + 1;
    static constexpr int lengthRole = Qt::UserRole + 2;

    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;
};
