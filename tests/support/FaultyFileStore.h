// A FileStore for tests that fails on purpose: writes to chosen file names and every move aside,
// the way a full disk or a read-only folder would, while everything else works for real.
#pragma once

#include "FileStore.h"

#include <QFileInfo>
#include <QSet>

class FaultyFileStore : public FileStore
{
public:
    bool writeFileAtomic(const QString &path, const QByteArray &contents) override
    {
        if (failWrites.contains(QFileInfo(path).fileName())) {
            setErrorString(QStringLiteral("No space left on device"));
            return false;
        }
        return FileStore::writeFileAtomic(path, contents);
    }

    QString moveAside(const QString &path, const QString &tag) override
    {
        if (failMoveAside) {
            setErrorString(QStringLiteral("Permission denied"));
            return {};
        }
        return FileStore::moveAside(path, tag);
    }

    // File names (without folder) whose writes fail.
    QSet<QString> failWrites;
    bool failMoveAside = false;
};
