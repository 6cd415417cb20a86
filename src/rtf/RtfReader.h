// Reads an RTF document (as written by the classic rich-text box, WordPad, Word, LibreOffice and
// Quillmark itself) into a QTextDocument.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QTextDocument;

class RtfReader
{
public:
    // True when the bytes start like an RTF document ("{\rtf").
    static bool looksLikeRtf(const QByteArray &data);

    // Replaces the document's content with the RTF document in data. Returns false, leaving the
    // document untouched, when data is not RTF; anything that starts like RTF loads as far as it
    // can.
    bool read(const QByteArray &data, QTextDocument *document);
    // Told how many bytes of data are read, every 64 KiB or so (it may run on a thread of its
    // own, with a document of that thread); reading stops when it returns false.
    using Progress = std::function<bool(qsizetype bytesRead)>;
    // The same, telling progress; false also when progress stopped it, the document then holding
    // only a part of data.
    bool read(const QByteArray &data, QTextDocument *document, const Progress &progress);
    // After read: the file holds content a save would not keep as the file has it: footnotes,
    // endnotes and comments (shown after the text), text boxes (shown where they are anchored),
    // page headers and footers (left out), pictures shown as placeholders. Document information,
    // style sheets, bookmarks and field instructions do not count.
    bool leftOutContent() const { return m_leftOutContent; }

    // The text of an RTF document, read without building a document: each paragraph a line, the
    // cells of a table row separated by tabs, fields as their results, no pictures. Empty when
    // data is not RTF.
    static QString plainText(const QByteArray &data);

private:
    bool m_leftOutContent = false;
};
