// Shows a table of fixed width that is wider than the note box at the box's width instead, so
// its right-hand columns are not cut off. The table is then laid out in percentages of the box and
// carries its own width, which the RTF writer writes: only the display shrinks.
#pragma once

class QTextDocument;

class NoteWideTables
{
public:
    // Shrinks every fixed-width table of document wider than room (pixels) to room, in
    // proportion. A table shrunk before is left as it is.
    static void fit(QTextDocument *document, double room);
};
