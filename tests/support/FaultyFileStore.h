// A FileStore for tests that fails on purpose: writes to chosen file names (at any step of the
// atomic write) and every move aside, the way a full disk, a failing disk or a read-only folder
// would, while everything else works for real.
#pragma once

#include "storage/FileStore.h"

#include <QFileInfo>
#include <QSet>

class FaultyFileStore : public FileStore
{
public:
    QString moveAside(const QString &path, const QString &tag) override
    {
        if (failMoveAside) {
            setErrorString(QStringLiteral("Permission denied"));
            return {};
        }
        return FileStore::moveAside(path, tag);
    }

    // File names (without folder) whose writes fail: writing the temporary file, waiting for it to
    // reach the disk, renaming it over the file.
    QSet<QString> failWrites;
    QSet<QString> failSyncs;
    QSet<QString> failReplaces;
    bool failMoveAside = false;

protected:
    bool stageWrite(PendingWrite &write, const QByteArray &contents) override
    {
        if (failWrites.contains(QFileInfo(write.path).fileName())) {
            setErrorString(QStringLiteral("No space left on device"));
            return false;
        }
        return FileStore::stageWrite(write, contents);
    }
    bool syncStaged(PendingWrite &write) const override
    {
        if (failSyncs.contains(QFileInfo(write.path).fileName())) {
            write.error = QStringLiteral("Input/output error");
            return false;
        }
        return FileStore::syncStaged(write);
    }
    bool replaceWithStaged(PendingWrite &write) override
    {
        if (failReplaces.contains(QFileInfo(write.path).fileName())) {
            setErrorString(QStringLiteral("Permission denied"));
            return false;
        }
        return FileStore::replaceWithStaged(write);
    }
};
