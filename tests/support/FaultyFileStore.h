// A FileStore for tests and benchmarks that fails on purpose, the way a full disk, a failing disk,
// a read-only folder or a file without read permission would, while everything else works for
// real. It also lists what it read and wrote, and can list a folder in an order of the test's.
#pragma once

#include "storage/FileStore.h"

#include <QSet>
#include <QStringList>
#include <atomic>
#include <mutex>
#include <optional>

class FaultyFileStore : public FileStore
{
public:
    QStringList listFiles(const QString &folder) const override;
    bool readFile(const QString &path, QByteArray *contents) const override;
    bool createFolder(const QString &path) override;
    bool writeFileAtomic(const QString &path, const QByteArray &contents) override;
    QString moveAside(const QString &path, const QString &tag) override;

    // A listing in this order instead of the folder's own.
    std::optional<QStringList> listing;
    // File names (without folder) that cannot be read.
    QSet<QString> failReads;
    // File names whose writes fail: writing the temporary file (a note's atomic write or a day
    // file's in a batch), waiting for it to reach the disk, renaming it over the file.
    QSet<QString> failWrites;
    QSet<QString> failSyncs;
    QSet<QString> failReplaces;
    bool failAllWrites = false;
    bool failCreateFolder = false;
    bool failMoveAside = false;
    // Every atomic write of a note takes this long (a slow disk): the note writer's thread waits.
    std::atomic<int> writeDelayMs { 0 };

    // The names of the files read, and of the files written through writeFileAtomic (the day files
    // go in one batch, which does not), in turn.
    // A large note is read on a thread of its own: readNames is added to under readLock.
    mutable QStringList readNames;
    mutable std::mutex readLock;
    QStringList writtenNames;

protected:
    bool stageWrite(PendingWrite &write, const QByteArray &contents) override;
    bool syncStaged(PendingWrite &write) const override;
    bool replaceWithStaged(PendingWrite &write) override;

private:
    bool writeFails(const QString &path) const;
};
