#include "rtf/RtfWordLists.h"

#include "rtf/RtfListBuilder.h"
#include "rtf/RtfListFormat.h"
#include "rtf/RtfWriterLists.h"

#include <QTextCursor>

namespace {

constexpr int Bullet = 23;
constexpr int NoNumber = 255;
constexpr int LeadingZero = 22;

bool qtNumbers(int numberFormat)
{
    return (numberFormat >= 0 && numberFormat <= 4) || numberFormat == Bullet
        || numberFormat == NoNumber;
}

} // namespace

QTextListFormat::Style RtfWordLists::styleOf(int numberFormat, char16_t bullet)
{
    switch (numberFormat) {
    case 0:
        return QTextListFormat::ListDecimal;
    case 1:
        return QTextListFormat::ListUpperRoman;
    case 2:
        return QTextListFormat::ListLowerRoman;
    case 3:
        return QTextListFormat::ListUpperAlpha;
    case 4:
        return QTextListFormat::ListLowerAlpha;
    case Bullet:
        return RtfListBuilder::bulletStyle(bullet);
    default:
        return QTextListFormat::ListStyleUndefined;
    }
}

QString RtfWordLists::numberText(int numberFormat, int number)
{
    if (numberFormat == LeadingZero && number >= 0 && number < 10)
        return QLatin1Char('0') + QString::number(number);
    const QTextListFormat::Style style = styleOf(numberFormat, 0);
    if (style == QTextListFormat::ListStyleUndefined || RtfWriterLists::isBullet(style))
        return QString::number(number);
    return RtfWriterLists::numberText(style, number);
}

QTextList *RtfWordLists::add(int listOverride, int level, QTextCursor &cursor, const QString &label)
{
    Override &o = m_overrides[listOverride];
    level = std::clamp(level, 0, 8);
    // An item restarts the levels below it, except those that number on.
    for (int deeper = level + 1; deeper < 9; ++deeper) {
        o.lists[deeper] = nullptr;
        if (o.counted[deeper] && !m_header.listLevel(listOverride, deeper).noRestart)
            o.counted[deeper] = false;
    }
    const RtfHeaderTables::ListLevelDef def = m_header.listLevel(listOverride, level);
    o.numbers[level] = o.counted[level] ? o.numbers[level] + 1 : def.start;
    o.counted[level] = true;
    QTextList *list = o.lists[level].data();
    if (list) {
        list->add(cursor.block());
        return list;
    }
    list = cursor.createList(formatFor(o, listOverride, level, def, label));
    // A label Word computed stands for this item alone.
    if (qtNumbers(def.numberFormat) || label.isEmpty())
        o.lists[level] = list;
    return list;
}

QTextListFormat RtfWordLists::formatFor(const Override &o, int listOverride, int level,
    const RtfHeaderTables::ListLevelDef &def, const QString &label)
{
    QTextListFormat format;
    format.setIndent(level + 1);
    if (def.numberFormat == Bullet) {
        format.setStyle(RtfListBuilder::bulletStyle(def.bullet));
        return format;
    }
    if (!qtNumbers(def.numberFormat)) {
        if (!label.isEmpty()) {
            format.setStyle(QTextListFormat::ListStyleUndefined);
            format.setNumberPrefix(label);
            format.setNumberSuffix(QString());
            return format;
        }
        format.setStyle(QTextListFormat::ListDecimal); // no label: numbers at least
    } else {
        format.setStyle(styleOf(def.numberFormat, def.bullet));
    }
    QString prefix;
    QString suffix;
    if (!affixes(o, listOverride, def, level, prefix, suffix))
        format.setStyle(QTextListFormat::ListStyleUndefined); // a fixed text and no number
    if (!prefix.isEmpty())
        format.setNumberPrefix(prefix);
    if (suffix != QLatin1String("."))
        format.setNumberSuffix(suffix);
    if (format.style() != QTextListFormat::ListStyleUndefined)
        RtfListFormat::setStart(format, o.numbers[level]);
    return format;
}

bool RtfWordLists::affixes(const Override &o, int listOverride,
    const RtfHeaderTables::ListLevelDef &def, int level, QString &prefix, QString &suffix)
{
    if (def.text.isEmpty()) {
        suffix = QStringLiteral(".");
        return def.numberFormat != NoNumber;
    }
    bool own = false;
    QString *out = &prefix;
    for (const QChar c : def.text) {
        const int placeholder = c.unicode() < 9 ? c.unicode() : -1;
        if (placeholder < 0) {
            out->append(c);
        } else if (placeholder == level && !own && def.numberFormat != NoNumber) {
            own = true;
            out = &suffix;
        } else if (placeholder < level) {
            const RtfHeaderTables::ListLevelDef above
                = m_header.listLevel(listOverride, placeholder);
            const int number = o.counted[placeholder] ? o.numbers[placeholder] : above.start;
            out->append(numberText(def.legal ? 0 : above.numberFormat, number));
        }
    }
    return own;
}
