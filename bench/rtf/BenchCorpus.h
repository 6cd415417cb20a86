// The documents the RTF benchmarks time: text-heavy, heavily formatted and picture-heavy, made
// from a fixed seed, both as RTF in the rich-text box's dialect and built straight into a
// QTextDocument with QTextCursor (the reader's floor: the same document without any parsing).
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTextCharFormat>

class QTextDocument;

class BenchCorpus
{
public:
    enum Kind { TextHeavy, Formatted, Pictures };

    // A corpus of this kind whose RTF is at least targetBytes long.
    static BenchCorpus make(Kind kind, qsizetype targetBytes);
    static const char *name(Kind kind);

    const QByteArray &rtf() const { return m_rtf; }
    // Builds the same document directly: one edit block, undo off, formats made once.
    void build(QTextDocument *document) const;

private:
    struct Run
    {
        int format = 0;
        QString text;
        int picture = -1;
    };
    struct Paragraph
    {
        QList<Run> runs;
    };
    struct Format
    {
        QByteArray words; // the RTF that sets it, after \plain
        QTextCharFormat format;
    };

    void startRtf();
    void appendRtf(const Paragraph &paragraph);

    QList<Format> m_formats;
    QList<QByteArray> m_pictures; // PNG bytes
    QList<Paragraph> m_paragraphs;
    QByteArray m_rtf;
};
