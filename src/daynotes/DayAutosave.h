// Writes each day note as it is typed, so that a crash or a killed program loses no more than the
// last key: a day box is written on every second key release in it, and when it loses the focus or
// its tab is left after an edit. Each box counts its own keys. The save marks stay with "Save Days"
// and closing; a day that cannot be written is told once, until a write of it succeeds again.
#pragma once

#include "daynotes/DayTable.h"

#include <QObject>
#include <array>

class DayNotes;
class Prompter;
class QTabWidget;

class DayAutosave : public QObject
{
    Q_OBJECT
public:
    // tabs holds one page per day, Monday first; null when no tab is to be watched.
    DayAutosave(DayNotes &days, QTabWidget *tabs, Prompter &prompter, QObject *parent = nullptr);

    static QString notSavedText(const QString &day, const QString &reason);

    // Another program changed the day's file: a box without edits shows the file now (what it
    // showed kept as an earlier version); one holding an edit writes it at once, which keeps the
    // other version beside the file and tells the user.
    void fileChangedOutside(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void rtfDay_KeyUp(int index);
    void tabDays_Change(int index);
    // Writes the day when the user changed it since its file was last written or loaded.
    void writeIfEdited(int index);
    void writeDay(int index);
    int indexOfBox(const QObject *box) const;

    DayNotes &m_days;
    QTabWidget *m_tabs;
    Prompter &m_prompter;
    int m_currentTab = -1;
    bool m_writing = false;

    struct Day
    {
        int keyCount = 0; // key releases since the day's last write on a key
        bool edited = false; // changed since its file was last written or loaded
        bool reported = false; // the user was told its write failed, and none has succeeded since
    };
    std::array<Day, DayTable::dayCount> m_state {};
};
