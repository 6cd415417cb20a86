// The file and folder operations of the program. Every note and day file is written atomically:
// the new text goes to a hidden temporary file beside it, is flushed to disk, then renamed over the
// file, so the file always holds either its old or its new content (AtomicWriteBatch writes several
// files that way for about the price of one). The store also remembers the version of every file it
// read or wrote, and every file it looked for and did not find: a file that another program changed
// or put there since then is kept beside it under a hidden conflict name before a write replaces
// it. A store may be used from the program's thread and the note writer's thread at once: its
// memory of the files is shared under a lock, and each thread has its own errorString().
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

class VersionKeeper;

class FileStore
{
public:
    FileStore();
    virtual ~FileStore() = default;

    // Names (without folder) of the ordinary files in folder, in the platform's listing order:
    // no folders, no hidden files. A missing or unreadable folder gives no names.
    virtual QStringList listFiles(const QString &folder) const;
    virtual bool folderExists(const QString &path) const;
    // Creates one folder level whose parent exists.
    virtual bool createFolder(const QString &path);
    // A file found missing is remembered as such: one that appears later is another program's.
    virtual bool fileExists(const QString &path) const;
    // Deletes the file, also when it is read-only.
    virtual bool forceDelete(const QString &path);
    // The file's size in bytes; -1 when it is not a file.
    virtual qint64 fileSize(const QString &path) const;
    // Reads the whole file; false when it cannot be read (a missing file is remembered as such).
    // It may run on another thread than the store's: the version it remembers (its fingerprint)
    // is taken on the reading thread.
    virtual bool readFile(const QString &path, QByteArray *contents) const;
    // Replaces the file's content atomically (a symbolic link stays a link: its target is
    // replaced). Returns true only when the new content is in place; on failure errorString() tells
    // why.
    virtual bool writeFileAtomic(const QString &path, const QByteArray &contents);
    // Renames path to a free hidden name ".<name>.<tag>-N" beside it (N counts up; nothing is
    // overwritten; hidden, so no folder scan lists it; see asideName). Returns the new path, or an
    // empty text when the rename failed.
    virtual QString moveAside(const QString &path, const QString &tag);
    // The name moveAside gives the N-th kept copy of fileName: ".<name>.<tag>-N". When that would
    // pass maxFileNameBytes, <name> is cut at a character boundary and ends in "~".
    static QString asideName(const QString &fileName, const QString &tag, int n);
    // The name (without folder) the next moveAside(path, tag) would give: the first free N.
    static QString nextAsideName(const QString &path, const QString &tag);
    // The longest file name, in bytes of UTF-8, that file systems commonly allow.
    static constexpr int maxFileNameBytes = 255;

    // Why the last failing operation of the calling thread failed.
    QString errorString() const;

    // Called after a write kept another program's version of a file: the file, and where that
    // version now is. It runs on the thread that made the store: a write on another thread leaves
    // it to reportOutsideChanges().
    using OutsideChangeHandler = std::function<void(const QString &path, const QString &keptAs)>;
    void setOutsideChangeHandler(OutsideChangeHandler handler)
    {
        m_outsideChange = std::move(handler);
    }
    // Runs the handler for the versions kept by writes on other threads (call it on the thread
    // that made the store).
    void reportOutsideChanges();
    static QString conflictTag() { return QStringLiteral("conflict"); }

    // Told before every replacement of a file, to keep its earlier version (none: nothing kept).
    // Set before any other thread writes through the store.
    // The store keeps no more versions once the keeper is gone (a window closed before its
    // store). Set before the first write.
    void setVersionKeeper(std::weak_ptr<VersionKeeper> keeper)
    {
        m_versionKeeper = std::move(keeper);
    }
    std::shared_ptr<VersionKeeper> versionKeeper() const { return m_versionKeeper.lock(); }

    // Whether the file at path now holds another content than the version this store last read
    // or wrote of it (a file it found missing that is there now counts; one that went, or that it
    // never saw, does not). Busy while this store is replacing the file: ask again later. stamp
    // gets the file's size, time and inode, which tell one change from the next. A file only
    // touched is no change: its time is remembered, so it is not read again. Safe from any thread.
    enum class Outside { Same, Changed, Busy };
    Outside outsideState(const QString &path, QString *stamp = nullptr) const;

protected:
    void setErrorString(const QString &error);

    // One file of an atomic write on its way: the new content waits in a hidden temporary file
    // beside the file it is to replace.
    struct PendingWrite
    {
        QString path; // as the caller named it
        QString target; // the folder entry replaced: a symbolic link's final target
        std::unique_ptr<QTemporaryFile> temporary;
        QByteArray contents; // the new content until its hash is taken
        QByteArray hash; // of the new content
        QString error; // why it failed; empty while it has not
        int replaced = -1; // holds the replaced file until the batch is done (or -1)
    };
    friend class AtomicWriteBatch;
    // The steps of an atomic write, which AtomicWriteBatch runs for several files together. Each
    // returns false and sets errorString() when it fails; the file is then untouched.
    // Writes contents to a new temporary file beside write.target and starts it on its way to the
    // disk without waiting.
    virtual bool stageWrite(PendingWrite &write, const QByteArray &contents);
    // Waits until the temporary file's content is on the disk. Runs on a thread of its own, beside
    // the syncs of the other files of a batch: it reports the failure in write.error, not in
    // errorString().
    virtual bool syncStaged(PendingWrite &write) const;
    // Keeps another program's version of the file aside, then renames the temporary over it.
    virtual bool replaceWithStaged(PendingWrite &write);
    static QByteArray contentHash(const QByteArray &contents);
    // A replace of target is under way from before its rename until the store remembers the new
    // version: outsideState() meanwhile says Busy.
    void replacing(const QString &target, bool underWay);
    static quint64 inodeOf(const QString &target);
    static bool syncFolder(const QString &folder);

private:
    struct Version
    {
        qint64 size = -1;
        QDateTime modified;
        quint64 inode = 0;
        QByteArray hash;
        bool absent = false; // looked for and not found
        bool operator==(const Version &) const = default;
    };
    struct KeptVersion
    {
        QString path;
        QString keptAs;
    };
    void remember(const QString &target, const QByteArray &hash) const;
    void rememberAbsent(const QString &path) const;
    // Moves a version of target that this store did not read or write out of the way; false when
    // that was needed and failed.
    bool keepOutsideVersion(const QString &path, const QString &target);

    void outsideVersionKept(const QString &path, const QString &keptAs);

    mutable std::mutex m_lock; // guards everything below it
    std::unordered_map<std::thread::id, QString> m_errors;
    mutable QHash<QString, Version> m_known;
    QHash<QString, int> m_replacing; // targets being replaced, and by how many writes
    std::vector<KeptVersion> m_keptElsewhere; // kept by writes on other threads, not yet told
    OutsideChangeHandler m_outsideChange;
    std::weak_ptr<VersionKeeper> m_versionKeeper;
    const std::thread::id m_ownThread;
};
