// What keeps the earlier versions of the note and day files: told by FileStore before a write
// replaces a file, on whichever thread writes it (mostly the note writer's).
#pragma once

#include <QByteArray>
#include <QString>

class VersionKeeper
{
public:
    virtual ~VersionKeeper() = default;
    // target (the file path names, a symbolic link followed) is about to be replaced. Never stops
    // the write: a version that cannot be kept is the keeper's to tell.
    virtual void beforeReplace(const QString &path, const QString &target) = 0;
    // Keeps contents as a version of the file at path now (a box's note before the box shows what
    // another program wrote there). False, with the reason in error, when it could not be kept.
    virtual bool keepContent(const QString &path, const QByteArray &contents, QString *error) = 0;
    // A write has ended on the calling thread: the time to tidy up, off the typing path.
    virtual void writeEnded() = 0;
    // Runs on the thread that made the store: tells what went wrong on other threads.
    virtual void reportOnOwnThread() = 0;
};
