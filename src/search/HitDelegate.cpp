#include "search/HitDelegate.h"

#include <QApplication>
#include <QPainter>

void HitDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear();
    const QStyle *style = item.widget ? item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    const qsizetype start = std::clamp<qsizetype>(index.data(startRole).toInt(), 0, text.size());
    const qsizetype length
        = std::clamp<qsizetype>(index.data(lengthRole).toInt(), 0, text.size() - start);
    QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    room.adjust(2, 0, -2, 0);
    const QPalette::ColorRole role
        = item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
    QFont bold = item.font;
    bold.setBold(true);
    painter->save();
    painter->setClipRect(room);
    painter->setPen(item.palette.color(QPalette::Normal, role));
    int x = room.left();
    const auto draw = [&](const QString &part, const QFont &font) {
        painter->setFont(font);
        painter->drawText(QRect(x, room.top(), room.right() - x, room.height()),
            Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, part);
        x += QFontMetrics(font).horizontalAdvance(part);
    };
    draw(text.first(start), item.font);
    draw(text.sliced(start, length), bold);
    draw(text.sliced(start + length), item.font);
    painter->restore();
}
