#include "rtf/RtfWriterLists.h"

#include "rtf/RtfListFormat.h"
#include "rtf/RtfNumbering.h"
#include "rtf/RtfOutput.h"
#include "rtf/RtfWriterFonts.h"

#include <QTextList>

namespace {

// Word has nine list levels.
constexpr int maxLevel = 8;
// One list level is 720 twips of indent, the label hanging 360 twips to the left of the text.
constexpr long levelIndent = 720;
constexpr long labelHang = 360;
// \leveltext counts its characters in one byte; prefixes and suffixes stay well within it.
constexpr qsizetype maxAffixLength = 40;

QString letterNumber(int number, bool upper)
{
    if (number <= 0)
        return QString::number(number);
    QString result;
    while (number > 0) {
        --number;
        result.prepend(QChar(char16_t((upper ? 'A' : 'a') + number % 26)));
        number /= 26;
    }
    return result;
}

// Word's number format (\levelnfc) of a list style.
int numberFormatOf(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDecimal:
        return 0;
    case QTextListFormat::ListUpperRoman:
        return 1;
    case QTextListFormat::ListLowerRoman:
        return 2;
    case QTextListFormat::ListUpperAlpha:
        return 3;
    case QTextListFormat::ListLowerAlpha:
        return 4;
    case QTextListFormat::ListStyleUndefined:
        return 255; // a fixed label and no number
    default:
        return 23;
    }
}

} // namespace

bool RtfWriterLists::isBullet(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDecimal:
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha:
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman:
    case QTextListFormat::ListStyleUndefined:
        return false;
    default:
        return true;
    }
}

RtfWriterLists::Bullet RtfWriterLists::bulletOf(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListCircle:
        return { "Courier New", 'o' };
    case QTextListFormat::ListSquare:
        return { "Wingdings", 0xA7 };
    default:
        return { "Symbol", 0xB7 };
    }
}

QString RtfWriterLists::prefixOf(const QTextListFormat &format)
{
    return format.numberPrefix().left(maxAffixLength);
}

QString RtfWriterLists::suffixOf(const QTextListFormat &format)
{
    // Qt numbers with a full stop after the number unless the list says otherwise.
    if (!format.hasProperty(QTextFormat::ListNumberSuffix))
        return QStringLiteral(".");
    return format.numberSuffix().left(maxAffixLength);
}

QString RtfWriterLists::numberText(QTextListFormat::Style style, int number)
{
    switch (style) {
    case QTextListFormat::ListLowerAlpha:
        return letterNumber(number, false);
    case QTextListFormat::ListUpperAlpha:
        return letterNumber(number, true);
    case QTextListFormat::ListLowerRoman:
        return RtfNumbering::roman(number, false);
    case QTextListFormat::ListUpperRoman:
        return RtfNumbering::roman(number, true);
    case QTextListFormat::ListStyleUndefined:
        return QString();
    default:
        return QString::number(number);
    }
}

const char *RtfWriterLists::legacyNumberingWord(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListLowerAlpha:
        return "pnlcltr";
    case QTextListFormat::ListUpperAlpha:
        return "pnucltr";
    case QTextListFormat::ListLowerRoman:
        return "pnlcrm";
    case QTextListFormat::ListUpperRoman:
        return "pnucrm";
    default:
        return "pndec";
    }
}

int RtfWriterLists::number(const QTextList *list)
{
    const auto found = m_numbers.constFind(list);
    if (found != m_numbers.constEnd())
        return found.value();
    m_formats.append(list->format());
    const int number = int(m_formats.size());
    m_numbers.insert(list, number);
    return number;
}

void RtfWriterLists::write(RtfOutput &output, RtfWriterFonts &fonts) const
{
    if (m_formats.isEmpty())
        return;
    output.raw("{\\*\\listtable");
    for (int number = 1; number <= m_formats.size(); ++number) {
        const QTextListFormat &format = m_formats.at(number - 1);
        const QTextListFormat::Style style = RtfListFormat::style(format);
        const bool bullet = isBullet(style);
        const int nfc = numberFormatOf(style);
        output.newline();
        output.openGroup();
        output.word("list");
        output.word("listtemplateid", number);
        // Levels up to the list's own are enough: only its own is ever used.
        const int ownLevel = qBound(0, format.indent() - 1, maxLevel);
        for (int level = 0; level <= ownLevel; ++level) {
            output.openGroup();
            output.word("listlevel");
            output.word("levelnfc", nfc);
            output.word("leveljc", 0);
            output.word("levelfollow", 0);
            output.word("levelstartat", RtfListFormat::start(format));
            output.openGroup();
            output.word("leveltext");
            if (bullet) {
                const Bullet symbol = bulletOf(style);
                output.hexByte(1);
                output.hexByte(symbol.symbol);
                output.raw(";}{\\levelnumbers;}");
                output.word("f", fonts.index(QLatin1String(symbol.family)));
            } else {
                // The level's number is the placeholder byte (its level) between the affixes.
                const QString prefix = prefixOf(format);
                const QString suffix = suffixOf(format);
                const int number = nfc == 255 ? 0 : 1; // a fixed label has no placeholder
                output.hexByte(static_cast<unsigned char>(prefix.size() + number + suffix.size()));
                output.text(prefix);
                if (number)
                    output.hexByte(static_cast<unsigned char>(level));
                output.text(suffix);
                output.raw(";}{\\levelnumbers");
                if (number)
                    output.hexByte(static_cast<unsigned char>(prefix.size() + 1));
                output.raw(";}");
            }
            output.word("fi", -labelHang);
            output.word("li", (level + 1) * levelIndent);
            output.closeGroup();
        }
        output.raw("{\\listname ;}");
        output.word("listid", number);
        output.closeGroup();
    }
    output.raw("}\n{\\*\\listoverridetable");
    for (int number = 1; number <= m_formats.size(); ++number) {
        output.raw("{\\listoverride");
        output.word("listid", number);
        output.word("listoverridecount", 0);
        output.word("ls", number);
        output.closeGroup();
    }
    output.closeGroup();
}
