// The project area's flags and key counter, shared by the project panel and the closing sequence.
// They live as long as the main window.
#pragma once

#include <QtGlobal>

struct ProjectFlags
{
    // True from adding an item until its note is first written.
    bool blnUnsavedItem = false;
    // True while the closing sequence walks the list to store its order: selecting loads nothing.
    bool blnClosing = false;
    // Key releases in the note editor since the last automatic save.
    qint16 intKeyCount = 0;
};
