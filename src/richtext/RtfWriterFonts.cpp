#include "RtfWriterFonts.h"

#include "RtfOutput.h"

namespace {

// Fonts whose characters are pictures rather than letters: readers look for charset 2 on them.
bool isSymbolFont(const QString &family)
{
    return family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0
        || family.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive)
        || family.compare(QLatin1String("Webdings"), Qt::CaseInsensitive) == 0;
}

} // namespace

RtfWriterFonts::RtfWriterFonts(const QString &defaultFamily)
{
    index(defaultFamily);
}

int RtfWriterFonts::index(const QString &family)
{
    if (family.isEmpty() && !m_families.isEmpty())
        return 0;
    const auto found = m_indexes.constFind(family);
    if (found != m_indexes.constEnd())
        return found.value();
    const int number = int(m_families.size());
    m_families.append(family);
    m_indexes.insert(family, number);
    return number;
}

void RtfWriterFonts::write(RtfOutput &output) const
{
    output.openGroup();
    output.word("fonttbl");
    for (int number = 0; number < m_families.size(); ++number) {
        const QString &family = m_families.at(number);
        output.openGroup();
        output.word("f", number);
        if (isSymbolFont(family)) {
            output.word("ftech");
            output.word("fcharset", 2);
        } else {
            output.word("fnil");
            output.word("fcharset", 0);
        }
        // A semicolon ends the name in the table, so it cannot be part of one.
        QString name = family;
        name.remove(QLatin1Char(';'));
        output.text(name);
        output.raw(";}");
    }
    output.closeGroup();
}
