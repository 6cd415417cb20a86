// The plain text of a note for searching: lines split by "\n", as QTextDocument::toPlainText gives
// a note box's text, so a note read from its file and a note in its box hold the same matches (a
// table row's cells share a line, split by tabs, where the box puts each on a line of its own).
#pragma once

#include <QByteArray>
#include <QString>

class NoteText
{
public:
    // The text of an RTF note, read without building a document; empty for bytes that are not RTF.
    static QString fromRtf(const QByteArray &rtf);
};
