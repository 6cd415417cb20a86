#include "storage/FolderWatcher.h"

#include "storage/FileStore.h"

#include <QDir>
#include <QTimer>

#include <algorithm>
#include <utility>

FolderWatcher::FolderWatcher(FileStore &files, QObject *parent)
    : QObject(parent)
    , m_files(files)
    , m_quiet(new QTimer(this))
{
    m_quiet->setSingleShot(true);
    m_quiet->setInterval(quietMs);
    connect(m_quiet, &QTimer::timeout, this, &FolderWatcher::startLook);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FolderWatcher::folderChanged);
}

FolderWatcher::~FolderWatcher()
{
    if (m_thread.joinable())
        m_thread.join();
}

void FolderWatcher::watch(
    const QString &folder, NameFilter counts, bool listed, const QStringList &known)
{
    Folder watched;
    watched.path = QDir::cleanPath(folder);
    watched.counts = std::move(counts);
    watched.listed = listed;
    if (listed && (!known.isEmpty() || m_files.folderExists(folder))) {
        for (const QString &name : known)
            if (watched.counts(name))
                watched.names.insert(name);
        watched.known = true;
    }
    if (m_files.folderExists(watched.path))
        m_watcher.addPath(watched.path);
    m_folders.push_back(std::move(watched));
}

void FolderWatcher::folderChanged()
{
    // Every event restarts the wait: the folder is looked at once it is quiet.
    m_quiet->start();
}

void FolderWatcher::lookNow()
{
    m_quiet->stop();
    finishLook();
    Look look = prepareLook();
    runLook(m_files, look);
    takeLook(std::move(look));
}

void FolderWatcher::startLook()
{
    if (m_running) {
        // The look under way asks for the next one when it ends.
        m_lookAgain = true;
        return;
    }
    m_running = std::make_shared<Look>(prepareLook());
    FileStore *files = &m_files;
    m_thread = std::thread([this, files, look = m_running] {
        runLook(*files, *look);
        // Taken in on the program's thread; dropped with the watcher.
        QMetaObject::invokeMethod(
            this, [this] { finishLook(); }, Qt::QueuedConnection);
    });
}

void FolderWatcher::finishLook()
{
    if (!m_running)
        return;
    m_thread.join();
    const std::shared_ptr<Look> look = std::exchange(m_running, nullptr);
    takeLook(std::move(*look));
}

FolderWatcher::Look FolderWatcher::prepareLook()
{
    Look look;
    look.folders = m_folders;
    for (Folder &folder : m_folders)
        folder.names = QSet<QString>();
    if (m_held)
        look.held = m_held();
    return look;
}

void FolderWatcher::runLook(FileStore &files, Look &look)
{
    look.appeared.resize(look.folders.size());
    for (size_t i = 0; i < look.folders.size(); ++i) {
        Folder &folder = look.folders[i];
        if (!folder.listed)
            continue;
        QSet<QString> names;
        for (const QString &name : files.listFiles(folder.path))
            if (folder.counts(name))
                names.insert(name);
        if (folder.known) {
            for (const QString &name : std::as_const(names))
                if (!folder.names.contains(name))
                    look.appeared[i].append(name);
            std::sort(look.appeared[i].begin(), look.appeared[i].end());
        }
        folder.names = std::move(names);
        folder.known = true;
    }
    for (const QString &path : std::as_const(look.held)) {
        QString stamp;
        switch (files.outsideState(path, &stamp)) {
        case FileStore::Outside::Same:
            break;
        case FileStore::Outside::Changed:
            look.changed.append({ path, stamp });
            break;
        case FileStore::Outside::Busy:
            look.again = true;
            break;
        }
    }
}

void FolderWatcher::takeLook(Look look)
{
    // A folder made since it was watched (the notes folder at the first note) is watched now.
    for (size_t i = 0; i < m_folders.size() && i < look.folders.size(); ++i) {
        Folder &folder = m_folders[i];
        if (!m_watcher.directories().contains(folder.path) && m_files.folderExists(folder.path))
            m_watcher.addPath(folder.path);
        folder.names = std::move(look.folders[i].names);
        folder.known = look.folders[i].known;
    }
    QStringList changed;
    for (const auto &[path, stamp] : std::as_const(look.changed)) {
        QString &told = m_told[path];
        if (told == stamp)
            continue;
        told = stamp;
        changed.append(path);
    }
    if (look.again || m_lookAgain) {
        m_lookAgain = false;
        m_quiet->start();
    }
    for (size_t i = 0; i < look.appeared.size() && i < m_folders.size(); ++i)
        if (!look.appeared[i].isEmpty())
            emit filesAppeared(m_folders[i].path, look.appeared[i]);
    for (const QString &path : std::as_const(changed))
        emit fileChanged(path);
}
