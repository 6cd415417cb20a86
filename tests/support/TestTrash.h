// A Trash for tests: the desktop's own is never touched. While available it moves a file into a
// folder of the test's and lists it; otherwise it refuses, as a system without a trash does.
#pragma once

#include "platform/Trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

class TestTrash : public Trash
{
public:
    bool moveToTrash(const QString &path) override
    {
        if (!available || !QDir().mkpath(folder))
            return false;
        const QString trashed = folder + QLatin1Char('/') + QFileInfo(path).fileName();
        if (!QFile::rename(path, trashed))
            return false;
        this->trashed.append(trashed);
        return true;
    }
    bool available = true;
    QString folder;
    QStringList trashed;
};
