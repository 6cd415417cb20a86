#include "history/HistoryPruning.h"

#include <QSet>

#include <algorithm>
#include <vector>

namespace {
constexpr qint64 daySeconds = 24LL * 60 * 60;
constexpr qint64 weekSeconds = 7 * daySeconds;
} // namespace

QList<int> HistoryPruning::toRemove(
    const QList<Version> &newestFirst, const QDateTime &now, qint64 limit)
{
    const qsizetype count = newestFirst.size();
    std::vector<bool> kept(size_t(count), true);
    QSet<qint64> days;
    QSet<qint64> weeks;
    for (qsizetype i = 0; i < count; ++i) {
        const qint64 age = std::max<qint64>(0, newestFirst[i].time.secsTo(now));
        if (age < allKeptSeconds)
            continue;
        QSet<qint64> &taken = age < dailyUntilSeconds ? days : weeks;
        const qint64 period = age / (age < dailyUntilSeconds ? daySeconds : weekSeconds);
        // The newest of a day or week stays; the newest version of all stays whatever its age.
        if (taken.contains(period) && i > 0)
            kept[size_t(i)] = false;
        taken.insert(period);
    }
    qint64 total = 0;
    for (qsizetype i = 1; i < count; ++i)
        if (kept[size_t(i)])
            total += newestFirst[i].size;
    for (qsizetype i = count - 1; i > 0 && total > limit; --i) {
        if (!kept[size_t(i)])
            continue;
        kept[size_t(i)] = false;
        total -= newestFirst[i].size;
    }
    QList<int> removed;
    for (qsizetype i = 0; i < count; ++i)
        if (!kept[size_t(i)])
            removed.append(int(i));
    return removed;
}
