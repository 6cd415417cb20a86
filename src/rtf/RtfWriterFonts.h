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
    // Whether a font is written with charset 2, as a font of symbols rather than letters.
    bool isSymbol(int index) const;

    // {\fonttbl ...}
    void write(RtfOutput &output) const;

private:
    QStringList m_families;
    QHash<QString, int> m_indexes;
};
