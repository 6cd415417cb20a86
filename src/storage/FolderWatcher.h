// Tells the program what other programs (a sync tool, say) do to the files of its folders while
// it runs: a file whose content the program holds that now has another content, and files that
// appear in a folder. It watches folders, not files, so that thousands of notes stay far below the
// system's limit of watches. A folder is looked at once it has been quiet for a moment, on a
// thread of its own, so typing never waits for the look. The program's own writes are told apart
// by the store's memory of what it read and wrote (FileStore::outsideState).
#pragma once

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

class FileStore;
class QTimer;

class FolderWatcher : public QObject
{
    Q_OBJECT
public:
    // Says (on the look's thread, so it must be safe there) which file names of a folder count.
    using NameFilter = std::function<bool(const QString &name)>;

    explicit FolderWatcher(FileStore &files, QObject *parent = nullptr);
    // Waits for a look under way.
    ~FolderWatcher() override;

    // Watches folder, which need not exist yet. When listed, the files that appear in it are told
    // (filesAppeared); known are the names it held when the program read it, the others are new.
    void watch(
        const QString &folder, NameFilter counts, bool listed, const QStringList &known = {});
    // Asked on the program's thread before each look: the files whose content the program shows.
    void setHeldFiles(std::function<QStringList()> held) { m_held = std::move(held); }
    // Looks at every watched folder now, on the calling thread, and tells what it found.
    void lookNow();

    // How long a folder stays quiet before it is looked at: a sync tool that writes a file in
    // pieces has finished by then.
    static constexpr int quietMs = 300;

signals:
    // A held file has another content than the program read or wrote; told once per change.
    void fileChanged(const QString &path);
    // Files appeared in a listed folder since it was last looked at (names without folder).
    void filesAppeared(const QString &folder, const QStringList &names);

private:
    struct Folder
    {
        QString path;
        NameFilter counts;
        bool listed = false;
        QSet<QString> names; // as last looked at
        bool known = false; // names holds a look's (or the program's) result
    };
    struct Look
    {
        std::vector<Folder> folders; // in, and their names after the look
        QStringList held;
        // out
        std::vector<QStringList> appeared; // by folder
        QList<QPair<QString, QString>> changed; // path, stamp
        bool again = false; // a file was being written: look again later
    };
    void folderChanged();
    void startLook();
    // The folders' names move into the look, so that the old ones are freed on its thread.
    Look prepareLook();
    static void runLook(FileStore &files, Look &look);
    void takeLook(Look look);
    // Waits for the look under way, if any, and takes in what it found.
    void finishLook();

    FileStore &m_files;
    QFileSystemWatcher m_watcher;
    QTimer *m_quiet;
    std::vector<Folder> m_folders;
    std::function<QStringList()> m_held;
    // The stamp of the change last told per file: the same change is not told twice.
    QHash<QString, QString> m_told;
    std::shared_ptr<Look> m_running; // the look under way on m_thread, until taken in
    std::thread m_thread;
    bool m_lookAgain = false;
};
