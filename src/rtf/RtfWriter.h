// Writes a QTextDocument as RTF that WordPad, Word, LibreOffice and Quillmark read back the same:
// 7-bit, deterministic (the same document always gives the same bytes), lists both in the legacy
// \pn form and in Word's list table, one level every 720 twips of indent.
#pragma once

#include <QByteArray>

class QTextDocument;

class RtfWriter
{
public:
    // defaultPointSize is the size of text without an explicit size (the box's font size).
    explicit RtfWriter(double defaultPointSize = 10.0);

    QByteArray write(const QTextDocument &document) const;

private:
    double m_defaultPointSize;
};
