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

#include <array>

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
        int start = 1; // \levelstartat, or the override's \listoverridestartat
        bool legal = false; // \levellegal: the numbers of the levels above shown in decimal
        bool noRestart = false; // \levelnorestart: numbers on after an item of a level above
        // \leveltext without its length: fixed characters, and 0 to 8 for a level's number.
        QString text;
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
    void startListOverride()
    {
        m_overrideList = m_overrideNumber = 0;
        m_overrideLevel = -1;
        m_overrideStarts.fill(-1);
    }
    void startLevelText() { m_levelText.clear(); }

    // The code page of the text in the font (-1: the default font).
    int codePageOfFont(int font) const;
    QString fontName(int font) const;
    // The font table entry of that name, -1 when there is none.
    int fontNamed(const QString &name);
    // The code page of a font known only by its name: the symbol fonts' own, else the document's.
    static int codePageOfName(const QString &name, int documentCodePage);
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
    QHash<QString, int> m_fontsByName; // case-folded
    qsizetype m_fontsByNameFor = -1; // the size of m_fonts m_fontsByName was made for
    QList<QColor> m_colours;
    int m_red = -1, m_green = -1, m_blue = -1;
    QList<ListDef> m_lists;
    QString m_levelText; // the {\leveltext} being read
    struct Override
    {
        int listId = 0;
        std::array<int, 9> starts; // by level, -1 where the list's own start holds
    };
    void listWord(const RtfKeyword &k, int p, bool has);
    void overrideWord(const RtfKeyword &k, int p, bool has);

    QHash<int, Override> m_overrides; // by \ls number
    int m_overrideList = 0;
    int m_overrideNumber = 0;
    int m_overrideLevel = -1; // the {\lfolevel} being read
    std::array<int, 9> m_overrideStarts;
    QHash<int, int> m_listIds; // \listid to its place in m_lists
    qsizetype m_listIdsFor = -1; // the size of m_lists m_listIds was made for
};
