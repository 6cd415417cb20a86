// The widgets of the main window that the project panel works with, and no others: the list, the
// note editor and the project buttons. The main window fills it from its window definition.
#pragma once

class QAbstractButton;
class QListWidget;
class RichTextBox;

struct ProjectPanelView
{
    QListWidget *lstToDo = nullptr;
    RichTextBox *rtfToDo = nullptr;
    QAbstractButton *cmdNewToDo = nullptr;
    QAbstractButton *cmdRemToDo = nullptr;
    QAbstractButton *cmdUp = nullptr;
    QAbstractButton *cmdDOWN = nullptr;
    QAbstractButton *cmdSaveNote = nullptr;
};
