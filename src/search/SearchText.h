// A note's text in the form a search scans fast: its UTF-8 bytes, and the same bytes with every
// letter case-folded where the folded letter takes as many bytes (all letters of the Latin, Greek
// and Cyrillic scripts but a handful of signs), so that a match's place is the same in both.
#pragma once

#include <QByteArray>
#include <QString>

struct SearchText
{
    QByteArray utf8;
    QByteArray folded;

    static SearchText from(const QString &text);
    // The bytes of a text folded as SearchText folds them.
    static QByteArray fold(const QString &text);
    qint64 bytes() const { return utf8.size() + folded.size(); }
};
