// Finds a searched text in a note's text: with or without regard to case, anywhere or as a whole
// word; and cuts the line of a match down to the words around it.
#pragma once

#include "search/ByteFinder.h"
#include "search/SearchText.h"

#include <QByteArray>
#include <QString>
#include <QStringMatcher>
#include <QStringView>
#include <functional>

struct SearchOptions
{
    bool matchCase = false;
    // A match starts and ends at a word's edge: no letter, digit or "_" beside it.
    bool wholeWords = false;
};

// The line of a match, with the match's place in it.
struct MatchExcerpt
{
    QString text;
    qsizetype start = 0;
    qsizetype length = 0;
};

class NoteMatcher
{
public:
    NoteMatcher(const QString &needle, SearchOptions options);

    bool isEmpty() const { return m_needle.isEmpty(); }
    qsizetype length() const { return m_needle.size(); }
    // Calls found with the position of every match in text, in order, until it returns false.
    void find(QStringView text, const std::function<bool(qsizetype position)> &found) const;
    // The same over a SearchText, by byte positions in its UTF-8: what a search over many notes
    // uses.
    void find(const SearchText &text, const std::function<bool(qsizetype position)> &found) const;
    qsizetype byteLength() const { return m_bytes.size(); }
    // The position of the match with this number (0 the first), -1 when there are fewer.
    qsizetype nth(QStringView text, int occurrence) const;

    // The line of the match at position: the whole line when it is short, else the words around
    // the match, with "..." where the line goes on.
    static MatchExcerpt excerpt(QStringView text, qsizetype position, qsizetype length);
    // The same for a match found in a SearchText, by bytes.
    static MatchExcerpt excerpt(const SearchText &text, qsizetype position, qsizetype length);

private:
    bool atWordEdges(QStringView text, qsizetype position) const;
    bool atWordEdges(const QByteArray &utf8, qsizetype position) const;

    QString m_needle;
    SearchOptions m_options;
    QStringMatcher m_matcher;
    QByteArray m_bytes; // the needle as the bytes it is looked for in
    ByteFinder m_finder;
};
