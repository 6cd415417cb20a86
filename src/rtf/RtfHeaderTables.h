// The tables of an RTF document's header as the reader reads them: the document's code page and
// default font, the font table, the colour table, the list table and its overrides. The style
// sheet is read past. The body's builders look fonts, colours and list levels up here.
#pragma once

#include "rtf/RtfCodePages.h"
#include "rtf/RtfGroupState.h"
#include "rtf/RtfKeywords.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>

class RtfHeaderTables
{
public:
    static constexpr int MaxFonts = 4096;
    static constexpr int MaxColours = 4096;
    static constexpr int MaxLists = 4096;

    struct ListLevelDef
    {
        int numberFormat = 0; // \levelnfc
        char16_t bullet = 0; // the character of a bullet level (\levelnfc23)
    };

    explicit RtfHeaderTables(RtfCodePages &codePages);

    int documentCodePage = 1252;
    int defaultFont = 0;

    // A word read in the font, colour or list table, or in one of their entries.
    void word(RtfGroupState::Destination destination, const RtfKeyword &k, int p, bool has);
    void text(RtfGroupState::Destination destination, QByteArrayView text);
    void unicode(RtfGroupState::Destination destination, char16_t c);
    // The group of the destination closes inside a group of parent.
    void closeGroup(RtfGroupState::Destination destination, RtfGroupState::Destination parent);

    void startFontTable() { m_fontNumber = -1; }
    void startColourTable() { m_red = m_green = m_blue = -1; }
    bool startList(); // false when the table is full
    bool startListLevel(); // false outside a list or past its ninth level
    void startListOverride() { m_overrideList = m_overrideNumber = 0; }
    void startLevelText() { m_levelText.clear(); }

    // The code page of the text in the font (-1: the default font).
    int codePageOfFont(int font) const;
    QString fontName(int font) const;
    // The colour table entry, invalid for an automatic entry or past the table.
    QColor colour(int index) const
    {
        return index >= 0 && index < m_colours.size() ? m_colours.at(index) : QColor();
    }
    qsizetype colourCount() const { return m_colours.size(); }
    // The level of the list an \lsN override names; a bullet level when it names none.
    ListLevelDef listLevel(int listOverride, int level);

private:
    struct Font
    {
        QString name;
        int charset = -1;
        int codePage = 0; // \cpgN, 0 none
    };
    struct ListDef
    {
        int id = 0;
        QList<ListLevelDef> levels;
    };

    void commitFont();
    int fontTableCodePage() const;
    void commitColour();

    RtfCodePages &m_codePages;
    QHash<int, Font> m_fonts;
    int m_fontNumber = -1; // the font table entry being read
    Font m_font;
    QByteArray m_fontNameBytes; // not decoded yet
    QString m_fontName;
    QList<QColor> m_colours;
    int m_red = -1, m_green = -1, m_blue = -1;
    QList<ListDef> m_lists;
    QString m_levelText; // the {\leveltext} being read
    QHash<int, int> m_overrides; // \ls number to \listid
    int m_overrideList = 0;
    int m_overrideNumber = 0;
    QHash<int, int> m_listIds; // \listid to its place in m_lists
    qsizetype m_listIdsFor = -1; // the size of m_lists m_listIds was made for
};
