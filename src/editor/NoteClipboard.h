// What a note box puts on the clipboard beside Qt's HTML and plain text, and what it takes from
// it before Qt's own handling: RTF with its pictures, and a picture alone (from an image viewer,
// a browser or a screenshot tool). Drag and drop goes the same way.
#pragma once

class QMimeData;
class QTextCursor;

class NoteClipboard
{
public:
    // Adds the cursor's selection as RTF with its pictures and, when the selection is one picture,
    // that picture as an image. Nothing is added for an empty selection.
    static void addSelection(QMimeData *data, const QTextCursor &selection, double fontSize);

    // Whether insert takes something from source.
    static bool canInsert(const QMimeData *source);
    // Inserts RTF or a picture from source at the cursor, as one undo step, pictures with their
    // resources in the cursor's document; a picture wider than maxWidth (when above 0) is shown
    // that wide. False, changing nothing, when source holds neither.
    static bool insert(const QMimeData *source, QTextCursor &cursor, double maxWidth);

private:
    static bool insertRtf(const QMimeData *source, QTextCursor &cursor);
    static bool insertImage(const QMimeData *source, QTextCursor &cursor, double maxWidth);
};
