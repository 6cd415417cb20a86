#include "mainwindow/OutsideChanges.h"

#include "daynotes/DayAutosave.h"
#include "daynotes/DayNotes.h"
#include "daynotes/DayTable.h"
#include "projects/ProjectPanel.h"
#include "projects/ProjectStore.h"
#include "storage/FolderWatcher.h"

#include <QDir>

OutsideChanges::OutsideChanges(FileStore &files, const QString &applicationFolder,
    ProjectPanel &projects, DayNotes &days, DayAutosave &dayAutosave, QObject *parent)
    : QObject(parent)
    , m_files(files)
    , m_applicationFolder(QDir::cleanPath(applicationFolder))
    , m_notesFolder(QDir::cleanPath(ProjectStore(applicationFolder).notesFolder()))
    , m_projects(projects)
    , m_days(days)
    , m_dayAutosave(dayAutosave)
{ }

void OutsideChanges::start()
{
    if (m_watcher)
        return;
    m_watcher = new FolderWatcher(m_files, this);
    m_watcher->watch(
        m_notesFolder,
        [](const QString &name) { return ProjectStore::titleFromFileName(name).has_value(); }, true,
        m_projects.noteFilesAtLoad());
    // The application folder holds the day files; nothing that appears there is listed.
    m_watcher->watch(
        m_applicationFolder, [](const QString &) { return false; }, false);
    m_watcher->setHeldFiles([this] {
        QStringList held;
        for (const DayTable::Day &day : DayTable::days())
            held.append(m_days.filePath(day.index));
        const QString owner = m_projects.ownerNotePath();
        if (!owner.isEmpty())
            held.append(owner);
        return held;
    });
    connect(m_watcher, &FolderWatcher::fileChanged, this, &OutsideChanges::fileChanged);
    connect(m_watcher, &FolderWatcher::filesAppeared, this, &OutsideChanges::filesAppeared);
}

void OutsideChanges::lookNow()
{
    if (m_watcher)
        m_watcher->lookNow();
}

void OutsideChanges::fileChanged(const QString &path)
{
    for (const DayTable::Day &day : DayTable::days()) {
        if (m_days.filePath(day.index) == path) {
            m_dayAutosave.fileChangedOutside(day.index);
            return;
        }
    }
    m_projects.noteFileChangedOutside(path);
}

void OutsideChanges::filesAppeared(const QString &folder, const QStringList &names)
{
    if (folder == m_notesFolder)
        m_projects.noteFilesAppeared(names);
}
