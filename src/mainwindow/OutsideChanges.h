// Keeps the window's notes in step with their folders while it runs, for a folder that a sync tool
// shares between computers: a note or day file that another program changes is shown at once (or,
// when its box holds an edit, written over at once, the other version kept beside it), and a note
// file that appears is listed. A note file that goes stays listed until the user removes it.
#pragma once

#include <QObject>
#include <QString>

class DayAutosave;
class DayNotes;
class FileStore;
class FolderWatcher;
class ProjectPanel;

class OutsideChanges : public QObject
{
    Q_OBJECT
public:
    OutsideChanges(FileStore &files, const QString &applicationFolder, ProjectPanel &projects,
        DayNotes &days, DayAutosave &dayAutosave, QObject *parent = nullptr);

    // Starts watching the two folders, once the list and the day notes are loaded.
    void start();
    // Looks at the folders now rather than when they are next quiet (tests).
    void lookNow();

private:
    void fileChanged(const QString &path);
    void filesAppeared(const QString &folder, const QStringList &names);

    FileStore &m_files;
    QString m_applicationFolder;
    QString m_notesFolder;
    ProjectPanel &m_projects;
    DayNotes &m_days;
    DayAutosave &m_dayAutosave;
    FolderWatcher *m_watcher = nullptr;
};
