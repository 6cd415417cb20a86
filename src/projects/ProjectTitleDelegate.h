// Draws the project list's titles in one column exactly as wide as the list: a title too long for
// it ends in "..." and shows whole in its tool tip, and the list never scrolls sideways.
#pragma once

#include <QStyledItemDelegate>

class QListView;

class ProjectTitleDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // Installs itself on the list and sets the list to lay out its column again at every resize
    // (a vertical scroll bar that comes or goes changes the width).
    explicit ProjectTitleDelegate(QListView *list);

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
        const QModelIndex &index) override;

private:
    QListView *m_list;
};
