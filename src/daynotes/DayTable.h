// The seven days of the week notes, Monday first: for each day index its weekday, the caption of
// its tab and save mark, the names of its note box and save mark, and the file that keeps its note.
#pragma once

#include <QString>
#include <array>

class DayTable
{
public:
    static constexpr int dayCount = 7;

    struct Day
    {
        int index; // 0 Monday to 6 Sunday: the tab, the save mark and the order of reading and
                   // writing
        Qt::DayOfWeek weekday;
        const char *caption; // the tab's and the save mark's caption
        const char *boxName; // object name of the day's rich-text box
        const char *fileName; // in the application folder, all lower case
    };

    static const std::array<Day, dayCount> &days();
    static const Day &day(int index);

    // The day index of a weekday (Monday 0 to Sunday 6); -1 for an invalid weekday number.
    static int indexOfWeekday(int dayOfWeek);
    // Object name of the save mark of a day: "chkSaveDay_0" to "chkSaveDay_6".
    static QString markName(int index);
    static QString caption(int index) { return QString::fromLatin1(day(index).caption); }
    static QString boxName(int index) { return QString::fromLatin1(day(index).boxName); }
    static QString fileName(int index) { return QString::fromLatin1(day(index).fileName); }
    // The day file's path: the application folder, a separator and the file name.
    static QString filePath(const QString &applicationFolder, int index);
};
