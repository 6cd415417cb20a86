// Word's lists (\ls and \ilvl) as QTextLists: each run of items of one level under one parent is a
// list of its own, with the level's kind and start, and the fixed text of its \leveltext (the
// numbers of the levels above included) as prefix and suffix, so "1.2.3" under item 1.2 has the
// prefix "1.2.". Kinds Qt cannot number show the label Word computed ({\listtext}).
#pragma once

#include "rtf/RtfHeaderTables.h"

#include <QHash>
#include <QPointer>
#include <QTextList>
#include <QTextListFormat>

#include <array>

class QTextCursor;

class RtfWordLists
{
public:
    explicit RtfWordLists(RtfHeaderTables &header)
        : m_header(header)
    { }

    // The Qt style of a \levelnfc; ListStyleUndefined for the kinds Qt cannot number.
    static QTextListFormat::Style styleOf(int numberFormat, char16_t bullet);
    // A number as the level's kind writes it where Qt has no style for it.
    static QString numberText(int numberFormat, int number);

    // The block under the cursor becomes an item of its override's list at its level.
    QTextList *add(int listOverride, int level, QTextCursor &cursor, const QString &label);

private:
    struct Override
    {
        std::array<QPointer<QTextList>, 9> lists; // the run going on at each level
        std::array<int, 9> numbers {}; // the number of the last item at each level
        std::array<bool, 9> counted {}; // a level has had an item since it last restarted
    };

    QTextListFormat formatFor(const Override &o, int listOverride, int level,
        const RtfHeaderTables::ListLevelDef &def, const QString &label);
    // The level text with the numbers of the levels in it; at the level's own place, if any,
    // the text is split into prefix and suffix.
    bool affixes(const Override &o, int listOverride, const RtfHeaderTables::ListLevelDef &def,
        int level, QString &prefix, QString &suffix);

    RtfHeaderTables &m_header;
    QHash<int, Override> m_overrides; // by \ls
};
