#include "daynotes/DayTable.h"

#include <QtGlobal>

namespace {
const std::array<DayTable::Day, DayTable::dayCount> table { {
    { 0, Qt::Monday, "Monday", "rtfMonday", "monday.rtf" },
    { 1, Qt::Tuesday, "Tuesday", "rtfTuesday", "tuesday.rtf" },
    { 2, Qt::Wednesday, "Wednesday", "rtfWednesday", "wednesday.rtf" },
    { 3, Qt::Thursday, "Thursday", "rtfThursday", "thursday.rtf" },
    { 4, Qt::Friday, "Friday", "rtfFriday", "friday.rtf" },
    { 5, Qt::Saturday, "Saturday", "rtfSaturday", "saturday.rtf" },
    { 6, Qt::Sunday, "Sunday", "rtfSunday", "sunday.rtf" },
} };
} // namespace

const std::array<DayTable::Day, DayTable::dayCount> &DayTable::days()
{
    return table;
}

const DayTable::Day &DayTable::day(int index)
{
    Q_ASSERT(index >= 0 && index < dayCount);
    return table[static_cast<size_t>(qBound(0, index, dayCount - 1))];
}

int DayTable::indexOfWeekday(int dayOfWeek)
{
    return dayOfWeek >= Qt::Monday && dayOfWeek <= Qt::Sunday ? dayOfWeek - Qt::Monday : -1;
}

QString DayTable::markName(int index)
{
    return QStringLiteral("chkSaveDay_%1").arg(index);
}

QString DayTable::filePath(const QString &applicationFolder, int index)
{
    return applicationFolder + QLatin1Char('/') + fileName(index);
}
