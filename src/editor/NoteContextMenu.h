// The right-click menu of a note box: spelling suggestions for a misspelt word under the pointer,
// then the edit and format commands of the box.
#pragma once

#include <QPoint>

class QMenu;
class RichTextBox;

class NoteContextMenu
{
public:
    // A new menu (the caller shows and deletes it) for a click at pos, in the box's viewport
    // coordinates.
    static QMenu *create(RichTextBox *box, const QPoint &pos);
};
