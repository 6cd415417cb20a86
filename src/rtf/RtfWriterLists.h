// The lists of an RTF document being written, numbered in order of first use, and how each list
// style looks in RTF: the legacy \pn words and Word's list table (\listtable, \ls, \ilvl).
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QTextListFormat>

class QTextList;
class RtfOutput;
class RtfWriterFonts;

class RtfWriterLists
{
public:
    // A bullet as RTF writes it: a character of a font that has it at that byte.
    struct Bullet
    {
        const char *family;
        unsigned char symbol;
    };

    static bool isBullet(QTextListFormat::Style style);
    static Bullet bulletOf(QTextListFormat::Style style);
    // The text before and after an item's number.
    static QString prefixOf(const QTextListFormat &format);
    static QString suffixOf(const QTextListFormat &format);
    // An item's number as the list style writes it (1, a, IV ...).
    static QString numberText(QTextListFormat::Style style, int number);
    // \pndec, \pnlcltr ...: the legacy numbering word of a numbered style.
    static const char *legacyNumberingWord(QTextListFormat::Style style);

    // The \ls number of a list, 1 or more, given on first use.
    int number(const QTextList *list);
    bool isEmpty() const { return m_formats.isEmpty(); }

    // {\*\listtable ...}{\*\listoverridetable ...}: for every list used, one list whose levels up
    // to the list's own all have the list's style.
    void write(RtfOutput &output, RtfWriterFonts &fonts) const;

private:
    QHash<const QTextList *, int> m_numbers;
    QList<QTextListFormat> m_formats;
};
