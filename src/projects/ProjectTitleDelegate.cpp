#include "projects/ProjectTitleDelegate.h"

#include <QHelpEvent>
#include <QListView>
#include <QToolTip>

ProjectTitleDelegate::ProjectTitleDelegate(QListView *list)
    : QStyledItemDelegate(list)
    , m_list(list)
{
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideRight);
    list->setResizeMode(QListView::Adjust);
    list->setItemDelegate(this);
}

QSize ProjectTitleDelegate::sizeHint(
    const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // The list measures one entry for all of them: each is as wide as the list, whatever its title.
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(m_list->viewport()->width());
    return size;
}

bool ProjectTitleDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
    const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString title = index.data(Qt::DisplayRole).toString();
    const int wholeWidth = QStyledItemDelegate::sizeHint(option, index).width();
    if (wholeWidth > option.rect.width())
        QToolTip::showText(event->globalPos(), title, view->viewport(), option.rect);
    else
        QToolTip::hideText();
    return true;
}
