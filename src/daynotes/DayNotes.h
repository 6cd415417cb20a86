// The seven day notes: their tabs, boxes and files, the save marks that show which files a save
// wrote, and the timer that returns the marks to rest.
#pragma once

#include <QObject>
#include <QString>
#include <array>

namespace Ui {
class frmMain;
}
class FileStore;
class QTimer;

class DayNotes : public QObject
{
    Q_OBJECT
public:
    DayNotes(Ui::frmMain &ui, const QString &applicationFolder, FileStore &files,
             int resetIntervalMs, QObject *parent = nullptr);

    // Loads each day file that exists into its box, Monday to Sunday.
    void load();
    // Writes all seven day files; one written-or-not result per day, Monday first.
    std::array<bool, 7> write();
    // Puts the save mark on every day that was written.
    void markSaved(const std::array<bool, 7> &written);
    // Starts the timer that returns the marks to rest; stopDisarm stops it.
    void armReset();
    void disarmReset();
    QTimer *resetTimer() const { return m_tmrResetDays; }

private:
    void tmrResetDays_Timer();

    Ui::frmMain &ui;
    QString m_applicationFolder;
    FileStore &m_files;
    QTimer *m_tmrResetDays;
};
