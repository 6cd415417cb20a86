#include "search/NoteMatcher.h"

namespace {
// The room an excerpt gives the text before and after its match, in characters.
constexpr qsizetype roomBefore = 40;
constexpr qsizetype roomAfter = 60;

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c.isMark();
}
} // namespace

NoteMatcher::NoteMatcher(const QString &needle, SearchOptions options)
    : m_needle(needle)
    , m_options(options)
    , m_matcher(needle, options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive)
{ }

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
