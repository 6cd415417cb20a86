#include "support/FaultyFileStore.h"

#include <QFileInfo>

#include <chrono>
#include <thread>

namespace {

QString nameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace

QStringList FaultyFileStore::listFiles(const QString &folder) const
{
    return listing ? *listing : FileStore::listFiles(folder);
}

bool FaultyFileStore::readFile(const QString &path, QByteArray *contents) const
{
    {
        std::lock_guard lock(readLock);
        readNames.append(nameOf(path));
    }
    if (failReads.contains(nameOf(path)))
        return false;
    return FileStore::readFile(path, contents);
}

bool FaultyFileStore::createFolder(const QString &path)
{
    if (failCreateFolder) {
        setErrorString(QStringLiteral("The folder could not be created."));
        return false;
    }
    return FileStore::createFolder(path);
}

bool FaultyFileStore::writeFileAtomic(const QString &path, const QByteArray &contents)
{
    if (const int delay = writeDelayMs.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    if (writeFails(path)) {
        setErrorString(QStringLiteral("No space left on device"));
        return false;
    }
    writtenNames.append(nameOf(path));
    return FileStore::writeFileAtomic(path, contents);
}

QString FaultyFileStore::moveAside(const QString &path, const QString &tag)
{
    if (failMoveAside) {
        setErrorString(QStringLiteral("Permission denied"));
        return {};
    }
    return FileStore::moveAside(path, tag);
}

bool FaultyFileStore::stageWrite(PendingWrite &write, const QByteArray &contents)
{
    if (writeFails(write.path)) {
        setErrorString(QStringLiteral("No space left on device"));
        return false;
    }
    return FileStore::stageWrite(write, contents);
}

bool FaultyFileStore::syncStaged(PendingWrite &write) const
{
    if (failSyncs.contains(nameOf(write.path))) {
        write.error = QStringLiteral("Input/output error");
        return false;
    }
    return FileStore::syncStaged(write);
}

bool FaultyFileStore::replaceWithStaged(PendingWrite &write)
{
    if (failReplaces.contains(nameOf(write.path))) {
        setErrorString(QStringLiteral("Permission denied"));
        return false;
    }
    return FileStore::replaceWithStaged(write);
}

bool FaultyFileStore::writeFails(const QString &path) const
{
    return failAllWrites || failWrites.contains(nameOf(path));
}
