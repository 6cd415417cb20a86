// Which earlier versions of one file the history keeps: every version of the last 24 hours, then
// the newest of each day for 30 days, then the newest of each week; and at most maxBytes for all
// of them but the newest, which always stays (the oldest go first). Pure: times and sizes in,
// the versions to remove out.
#pragma once

#include <QDateTime>
#include <QList>

class HistoryPruning
{
public:
    struct Version
    {
        QDateTime time;
        qint64 size = 0;
    };
    static constexpr qint64 maxBytes = 50LL * 1024 * 1024;
    static constexpr qint64 allKeptSeconds = 24LL * 60 * 60;
    static constexpr qint64 dailyUntilSeconds = 31LL * 24 * 60 * 60;

    // newestFirst: one file's versions, newest first. Returns the indexes to remove, ascending.
    static QList<int> toRemove(
        const QList<Version> &newestFirst, const QDateTime &now, qint64 limit = maxBytes);
};
