// The font table of an RTF document being written: font families numbered in order of first use,
// \f0 being the document's default font.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class RtfOutput;

class RtfWriterFonts
{
public:
    explicit RtfWriterFonts(const QString &defaultFamily);

    // The number of a family, added on first use; an empty family is the default font.
    int index(const QString &family);
    int count() const { return int(m_families.size()); }
    // Whether a font is written with charset 2, as a font of symbols rather than letters. Asked
    // for every run of text, so it is worked out once, when the font is numbered.
    bool isSymbol(int index) const
    {
        return index >= 0 && index < m_symbols.size() && m_symbols.at(index);
    }

    // {\fonttbl ...}
    void write(RtfOutput &output) const;

private:
    QStringList m_families;
    QList<bool> m_symbols;
    QHash<QString, int> m_indexes;
};
