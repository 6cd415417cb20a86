// The main window's state flags and key counter, shared by the project area and the closing
// sequence. They live as long as the main window.
#pragma once

#include <QtGlobal>

struct MainWindowState
{
    // True from adding an item until its note is first written.
    bool blnUnsavedItem = false;
    // True while the closing sequence walks the list to store its order: selecting loads nothing.
    bool blnClosing = false;
    // Key releases in the note editor since the last automatic save.
    qint16 intKeyCount = 0;
    // True from a save-only request ("Save Days", File > Save) until its closing sequence ends.
    bool saveDaysOnly = false;
};
