// Writes a QTextDocument as RTF that WordPad, Word, LibreOffice and Quillmark read back the same:
// 7-bit, deterministic (the same document always gives the same bytes), lists both in the legacy
// \pn form and in Word's list table, one level every 720 twips of indent.
#pragma once

#include <QByteArray>
#include <QList>
#include <QTextFormat>

class QTextDocument;

class RtfWriter
{
public:
    // defaultPointSize is the size of text without an explicit size (the box's font size).
    explicit RtfWriter(double defaultPointSize = 10.0);

    // A table format property: the width in pixels of a table that the box shows narrower than
    // it is, its columns then given in percentages of that width. Such a table is written at
    // this width. Other tables whose width follows the box's are written as a percentage of the
    // width the document's text is laid out in (a letter page's when it has none).
    static constexpr int OwnTableWidth = QTextFormat::UserProperty + 0x5154;

    QByteArray write(const QTextDocument &document) const;
    // The same bytes in pieces that follow one another, a picture's hex a piece of its own that
    // is not copied (the autosave joins them on the note writer's thread).
    QList<QByteArray> writePieces(const QTextDocument &document) const;

private:
    double m_defaultPointSize;
};
