#include "search/NoteMatcher.h"

namespace {
// The room an excerpt gives the text before and after its match, in characters.
constexpr qsizetype roomBefore = 40;
constexpr qsizetype roomAfter = 60;

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c.isMark();
}

bool isWordCharacter(char32_t c)
{
    return QChar::isLetterOrNumber(c) || c == U'_' || QChar::isMark(c);
}

bool isContinuation(char byte)
{
    return (uchar(byte) & 0xc0) == 0x80;
}

// The character whose UTF-8 starts at from.
char32_t decodeAt(const QByteArray &utf8, qsizetype from)
{
    qsizetype end = from + 1;
    while (end < utf8.size() && isContinuation(utf8.at(end)))
        ++end;
    const QString c = QString::fromUtf8(utf8.constData() + from, end - from);
    if (c.isEmpty())
        return QChar::ReplacementCharacter;
    return c.size() > 1 && c.at(0).isHighSurrogate() ? QChar::surrogateToUcs4(c.at(0), c.at(1))
                                                     : c.at(0).unicode();
}

// A little more text than an excerpt shows on either side of its match, in bytes.
constexpr qsizetype excerptWindowBytes = 400;
} // namespace

NoteMatcher::NoteMatcher(const QString &needle, SearchOptions options)
    : m_needle(needle)
    , m_options(options)
    , m_matcher(needle, options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive)
    , m_bytes(options.matchCase ? needle.toUtf8() : SearchText::fold(needle))
    , m_finder(m_bytes)
{ }

bool NoteMatcher::atWordEdges(const QByteArray &utf8, qsizetype position) const
{
    if (!m_options.wholeWords)
        return true;
    if (position > 0) {
        qsizetype start = position - 1;
        while (start > 0 && isContinuation(utf8.at(start)))
            --start;
        if (isWordCharacter(decodeAt(utf8, start)))
            return false;
    }
    const qsizetype end = position + m_bytes.size();
    return end == utf8.size() || !isWordCharacter(decodeAt(utf8, end));
}

void NoteMatcher::find(const SearchText &text, const std::function<bool(qsizetype)> &found) const
{
    const QByteArray &haystack = m_options.matchCase ? text.utf8 : text.folded;
    if (m_bytes.isEmpty())
        return;
    const char *const begin = haystack.constData();
    const qsizetype size = haystack.size();
    qsizetype from = 0;
    while (from + m_bytes.size() <= size) {
        const qsizetype position = m_finder.indexIn(begin, size, from);
        if (position < 0)
            return;
        if (atWordEdges(text.utf8, position)) {
            if (!found(position))
                return;
            from = position + m_bytes.size();
        } else {
            from = position + 1;
        }
    }
}

MatchExcerpt NoteMatcher::excerpt(const SearchText &text, qsizetype position, qsizetype length)
{
    const QByteArray &utf8 = text.utf8;
    qsizetype lineStart = utf8.lastIndexOf('\n', position) + 1;
    qsizetype lineEnd = utf8.indexOf('\n', position + length);
    if (lineEnd < 0)
        lineEnd = utf8.size();
    qsizetype from = std::max(lineStart, position - excerptWindowBytes);
    while (from < position && isContinuation(utf8.at(from)))
        ++from;
    qsizetype to = std::min(lineEnd, position + length + excerptWindowBytes);
    while (to > position + length && to < utf8.size() && isContinuation(utf8.at(to)))
        --to;
    const QString before = QString::fromUtf8(utf8.constData() + from, position - from);
    const QString match = QString::fromUtf8(utf8.constData() + position, length);
    QString line = before + match
        + QString::fromUtf8(utf8.constData() + position + length, to - position - length);
    MatchExcerpt result = excerpt(line, before.size(), match.size());
    // The line was cut before it was decoded: an excerpt that shows its cut end says so.
    if (from > lineStart && !result.text.startsWith(QStringLiteral("..."))) {
        result.text.prepend(QStringLiteral("..."));
        result.start += 3;
    }
    if (to < lineEnd && !result.text.endsWith(QStringLiteral("...")))
        result.text.append(QStringLiteral("..."));
    return result;
}

bool NoteMatcher::atWordEdges(QStringView text, qsizetype position) const
{
    if (!m_options.wholeWords)
        return true;
    const qsizetype end = position + m_needle.size();
    return (position == 0 || !isWordCharacter(text.at(position - 1)))
        && (end == text.size() || !isWordCharacter(text.at(end)));
}

void NoteMatcher::find(QStringView text, const std::function<bool(qsizetype)> &found) const
{
    if (m_needle.isEmpty())
        return;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = m_matcher.indexIn(text, from);
        if (at < 0)
            return;
        if (atWordEdges(text, at)) {
            if (!found(at))
                return;
            from = at + m_needle.size();
        } else {
            from = at + 1;
        }
    }
}

qsizetype NoteMatcher::nth(QStringView text, int occurrence) const
{
    qsizetype result = -1;
    int seen = 0;
    find(text, [&](qsizetype position) {
        if (seen++ < occurrence)
            return true;
        result = position;
        return false;
    });
    return result;
}

MatchExcerpt NoteMatcher::excerpt(QStringView text, qsizetype position, qsizetype length)
{
    const qsizetype lineStart = text.lastIndexOf(QLatin1Char('\n'), position) + 1;
    qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), position + length);
    if (lineEnd < 0)
        lineEnd = text.size();
    qsizetype from = lineStart;
    qsizetype to = lineEnd;
    // A long line is cut at the spaces nearest the room around the match.
    if (position - from > roomBefore) {
        from = position - roomBefore;
        const qsizetype space = text.indexOf(QLatin1Char(' '), from);
        if (space >= 0 && space < position)
            from = space + 1;
    }
    if (to - (position + length) > roomAfter) {
        to = position + length + roomAfter;
        const qsizetype space = text.lastIndexOf(QLatin1Char(' '), to);
        if (space > position + length)
            to = space;
    }
    MatchExcerpt result;
    const QString ellipsis = QStringLiteral("...");
    if (from > lineStart)
        result.text = ellipsis;
    result.start = result.text.size() + (position - from);
    result.length = length;
    result.text += text.sliced(from, to - from);
    if (to < lineEnd)
        result.text += ellipsis;
    // A tab would show as a wide gap in a one-line row.
    result.text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return result;
}
