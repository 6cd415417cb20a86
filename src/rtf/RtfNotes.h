// Footnotes, endnotes and comments of an RTF body. A note has no place of its own in a note of
// ours: its mark stays in the text where it was (a superscript number, or the file's own mark),
// and its text, kept here as the RTF it was written in, is read after the body, numbered, below
// a separator line; comments follow under a heading of their own.
#pragma once

#include "rtf/RtfGroupState.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <algorithm>
#include <array>
#include <vector>

class RtfNotes
{
public:
    enum Kind { Footnote, Endnote, Comment };
    // How notes of a kind are numbered (\ftnnar, \aftnnrlc ...).
    enum Style { Arabic, LowerLetter, UpperLetter, LowerRoman, UpperRoman };
    // The keyword rows' arguments: a destination or mark, or a style for footnotes (StyleBase)
    // or endnotes (StyleBase + EndnoteStyles).
    enum Word {
        NoteText, // \footnote
        CommentText, // \annotation
        CommentAuthor, // \atnauthor
        NoteMark, // \chftn
        CommentMark, // \chatn
        StyleBase = 16,
        EndnoteStyles = 8,
    };
    static constexpr int MaxNotes = 100000;

    // code: a Style for footnotes, EndnoteStyles + a Style for endnotes.
    void setStyle(int code)
    {
        const bool endnotes = code >= EndnoteStyles;
        m_styles[endnotes ? Endnote : Footnote]
            = Style(std::clamp(endnotes ? code - EndnoteStyles : code, 0, int(UpperRoman)));
    }
    // The author of the comment that comes next: the RTF of its name.
    void setAuthor(QByteArrayView rtf) { m_author = rtf; }
    // A note read past, its text the RTF rtf begun in the state start. A note with its own mark
    // (no \chftn before it) takes no number: the next numbered note of its kind takes it.
    void add(Kind kind, QByteArrayView rtf, const RtfGroupState &start, bool ownMark = false);
    // The mark of the next note of the kind.
    QString nextMark(Kind kind) const { return mark(kind, m_counts[kind] + 1); }
    QString mark(Kind kind, int number) const;

    bool isEmpty() const { return m_notes.empty(); }

    // What is read after the body, in order: the separator, the footnotes, the endnotes, the
    // comments' heading and the comments. Each piece a paragraph or more of RTF.
    struct Piece
    {
        QByteArray rtf;
        RtfGroupState start;
        QString mark; // what a \chftn inside it shows
    };
    std::vector<Piece> pieces() const;

private:
    struct Note
    {
        Kind kind;
        int number; // 0: the note has its own mark
        QByteArrayView rtf;
        QByteArrayView author;
        RtfGroupState start;
    };

    std::vector<Note> m_notes;
    std::array<int, 3> m_counts {};
    std::array<Style, 3> m_styles { Arabic, Arabic, Arabic };
    QByteArrayView m_author;
};
