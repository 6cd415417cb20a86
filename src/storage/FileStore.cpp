#include "storage/FileStore.h"

#include "storage/AtomicWriteBatch.h"
#include "storage/VersionKeeper.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The folder entry that a write really replaces: a symbolic link is followed to its final target,
// so the link itself stays in place.
QString resolvedTarget(const QString &path)
{
    QFileInfo info(path);
    int hops = 0;
    while (info.isSymLink() && hops++ < 40) {
        const QString target = info.symLinkTarget();
        if (target.isEmpty())
            break;
        info.setFile(target);
    }
    return info.absoluteFilePath();
}

#ifdef Q_OS_UNIX
// The process's file creation mask, read without changing it where the system can tell (Linux);
// elsewhere set and put back at once.
mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        while (!status.atEnd()) {
            const QByteArray line = status.readLine();
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return mode_t(mask);
                break;
            }
        }
    }
    const mode_t mask = ::umask(0077);
    ::umask(mask);
    return mask;
}
#endif

bool replaceFile(const QString &from, const QString &to, QString *error)
{
    // std::rename replaces an existing target atomically on POSIX systems; QFile::rename would not.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

} // namespace

FileStore::FileStore()
    : m_ownThread(std::this_thread::get_id())
{ }

QString FileStore::errorString() const
{
    std::lock_guard lock(m_lock);
    const auto error = m_errors.find(std::this_thread::get_id());
    return error == m_errors.end() ? QString() : error->second;
}

void FileStore::setErrorString(const QString &error)
{
    std::lock_guard lock(m_lock);
    m_errors[std::this_thread::get_id()] = error;
}

void FileStore::outsideVersionKept(const QString &path, const QString &keptAs)
{
    if (std::this_thread::get_id() == m_ownThread) {
        if (m_outsideChange)
            m_outsideChange(path, keptAs);
        return;
    }
    std::lock_guard lock(m_lock);
    m_keptElsewhere.push_back({ path, keptAs });
}

void FileStore::reportOutsideChanges()
{
    std::vector<KeptVersion> kept;
    {
        std::lock_guard lock(m_lock);
        kept.swap(m_keptElsewhere);
    }
    for (const KeptVersion &version : kept)
        if (m_outsideChange)
            m_outsideChange(version.path, version.keptAs);
    if (const auto keeper = versionKeeper())
        keeper->reportOnOwnThread();
}

bool FileStore::syncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#else
    Q_UNUSED(folder);
    return true;
#endif
}

QStringList FileStore::listFiles(const QString &folder) const
{
    QStringList names;
    QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isHidden() || !info.isFile())
            continue;
        names.append(info.fileName());
    }
    return names;
}

bool FileStore::folderExists(const QString &path) const
{
    return QFileInfo(path).isDir();
}

bool FileStore::createFolder(const QString &path)
{
    const QFileInfo info(path);
    if (QDir().mkdir(path))
        return true;
    setErrorString(QFileInfo(info.absolutePath()).isDir()
            ? QStringLiteral("The folder %1 could not be created.")
                  .arg(QDir::toNativeSeparators(path))
            : QStringLiteral("The folder %1 does not exist.")
                  .arg(QDir::toNativeSeparators(info.absolutePath())));
    return false;
}

bool FileStore::fileExists(const QString &path) const
{
    const QFileInfo info(path);
    if (info.isFile())
        return true;
    if (!info.exists())
        rememberAbsent(path);
    return false;
}

bool FileStore::forceDelete(const QString &path)
{
    QFile file(path);
    if (file.remove())
        return true;
    // A read-only file: make it writable and try once more.
    file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    if (file.remove())
        return true;
    setErrorString(file.errorString());
    return false;
}

qint64 FileStore::fileSize(const QString &path) const
{
    const QFileInfo info(path);
    return info.isFile() ? info.size() : -1;
}

bool FileStore::readFile(const QString &path, QByteArray *contents) const
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        if (!info.exists())
            rememberAbsent(path);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *contents = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    remember(resolvedTarget(path), contentHash(*contents));
    return true;
}

QByteArray FileStore::contentHash(const QByteArray &contents)
{
    // A fast hash, not a cryptographic one: it only tells a touched file from a changed one, and
    // it is made on every write of a note. Kept for this run of the program only.
    const size_t hash = qHash(QByteArrayView(contents), 0);
    return QByteArray(reinterpret_cast<const char *>(&hash), sizeof hash);
}

quint64 FileStore::inodeOf(const QString &target)
{
#ifdef Q_OS_UNIX
    struct stat status;
    if (::stat(QFile::encodeName(target).constData(), &status) == 0)
        return quint64(status.st_ino);
#else
    Q_UNUSED(target);
#endif
    return 0;
}

void FileStore::remember(const QString &target, const QByteArray &hash) const
{
    const QFileInfo info(target);
    const Version version { info.size(), info.lastModified(), inodeOf(target), hash };
    std::lock_guard lock(m_lock);
    m_known.insert(target, version);
}

void FileStore::rememberAbsent(const QString &path) const
{
    Version absent;
    absent.absent = true;
    const QString target = resolvedTarget(path);
    std::lock_guard lock(m_lock);
    m_known.insert(target, absent);
}

void FileStore::replacing(const QString &target, bool underWay)
{
    std::lock_guard lock(m_lock);
    int &count = m_replacing[target];
    count += underWay ? 1 : -1;
    if (count <= 0)
        m_replacing.remove(target);
}

FileStore::Outside FileStore::outsideState(const QString &path, QString *stamp) const
{
    const QString target = resolvedTarget(path);
    Version known;
    {
        std::lock_guard lock(m_lock);
        if (m_replacing.contains(target))
            return Outside::Busy;
        const auto found = m_known.constFind(target);
        if (found == m_known.constEnd())
            return Outside::Same;
        known = *found;
    }
    const QFileInfo info(target);
    if (!info.isFile())
        return Outside::Same;
    Version now { info.size(), info.lastModified(), inodeOf(target), known.hash };
    if (stamp)
        *stamp = QStringLiteral("%1 %2 %3")
                     .arg(now.size)
                     .arg(now.modified.toMSecsSinceEpoch())
                     .arg(now.inode);
    if (!known.absent && now.size == known.size && now.modified == known.modified
        && now.inode == known.inode)
        return Outside::Same;
    bool touchedOnly = false;
    if (!known.absent) {
        QFile file(target);
        touchedOnly = file.open(QIODevice::ReadOnly) && contentHash(file.readAll()) == known.hash;
    }
    std::lock_guard lock(m_lock);
    // A write of this store that began or ended meanwhile: the file may be its own.
    const auto found = m_known.find(target);
    if (m_replacing.contains(target) || found == m_known.end() || !(*found == known))
        return Outside::Busy;
    if (!touchedOnly)
        return Outside::Changed;
    // The same content under a new time (a sync tool that only touched it): remembered as such.
    *found = now;
    return Outside::Same;
}

bool FileStore::keepOutsideVersion(const QString &path, const QString &target)
{
    const QFileInfo info(target);
    if (!info.isFile())
        return true;
    // Only a file this store has seen, or looked for and not found, can be known to have changed
    // since.
    Version known;
    {
        std::lock_guard lock(m_lock);
        const auto found = m_known.constFind(target);
        if (found == m_known.constEnd())
            return true;
        known = *found;
    }
    // A file that appeared since the store found none is another program's as much as a changed
    // one.
    if (!known.absent) {
        if (info.size() == known.size && info.lastModified() == known.modified
            && inodeOf(target) == known.inode)
            return true;
        // Touched but not changed (a sync tool that only sets the time, say): nothing to keep.
        QFile file(target);
        if (file.open(QIODevice::ReadOnly) && contentHash(file.readAll()) == known.hash)
            return true;
    }
    const QString keptAs = moveAside(target, conflictTag());
    if (keptAs.isEmpty())
        return false;
    outsideVersionKept(path, keptAs);
    return true;
}

bool FileStore::writeFileAtomic(const QString &path, const QByteArray &contents)
{
    AtomicWriteBatch batch(*this);
    const int index = batch.add(path, contents);
    batch.commit();
    if (batch.written(index))
        return true;
    setErrorString(batch.errorString(index));
    return false;
}

bool FileStore::stageWrite(PendingWrite &write, const QByteArray &contents)
{
    write.target = resolvedTarget(write.path);
    const QFileInfo targetInfo(write.target);
    if (targetInfo.isDir()) {
        setErrorString(QStringLiteral("%1 is a folder.").arg(QDir::toNativeSeparators(write.path)));
        return false;
    }
    // A hidden name without ".rtf" in it: no folder scan ever lists a leftover.
    write.temporary = std::make_unique<QTemporaryFile>(
        targetInfo.absolutePath() + QStringLiteral("/.quillmark-XXXXXX.tmp"));
    QTemporaryFile &temporary = *write.temporary;
    temporary.setAutoRemove(true);
    if (!temporary.open()) {
        setErrorString(temporary.errorString());
        return false;
    }
    // The permissions first, so that the sync of the content makes them durable too.
    // A new file gets what any new file of the user gets (the temporary is made private); a
    // replaced file keeps its own mode.
    if (targetInfo.exists())
        temporary.setPermissions(QFile::permissions(write.target));
    else
#ifdef Q_OS_UNIX
        ::fchmod(temporary.handle(), 0666 & ~currentUmask());
#else
        temporary.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
            | QFileDevice::ReadGroup | QFileDevice::ReadOther);
#endif
    if (temporary.write(contents) != contents.size() || !temporary.flush()) {
        setErrorString(temporary.errorString());
        return false;
    }
#ifdef Q_OS_LINUX
    // The disk starts writing now, while the caller prepares the next file; syncStaged then mostly
    // finds the work done. Only a hint: a failure here shows in the sync.
    ::sync_file_range(temporary.handle(), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
    return true;
}

bool FileStore::syncStaged(PendingWrite &write) const
{
#ifdef Q_OS_UNIX
    if (::fsync(write.temporary->handle()) != 0) {
        // std::strerror may share its buffer between threads.
        write.error = QString::fromStdString(std::generic_category().message(errno));
        return false;
    }
#else
    Q_UNUSED(write);
#endif
    return true;
}

bool FileStore::replaceWithStaged(PendingWrite &write)
{
    // Another program's version of the file is never replaced unseen.
    if (!keepOutsideVersion(write.path, write.target))
        return false;
    // The content about to be replaced may be kept as an earlier version: a hard link, so the
    // file itself stays in place until the rename below.
    if (const auto keeper = versionKeeper())
        keeper->beforeReplace(write.path, write.target);
    QTemporaryFile &temporary = *write.temporary;
    temporary.close();
    QString error;
    if (!replaceFile(temporary.fileName(), write.target, &error)) {
        setErrorString(error);
        return false;
    }
    temporary.setAutoRemove(false);
    return true;
}

QString FileStore::asideName(const QString &fileName, const QString &tag, int n)
{
    const QString suffix = QStringLiteral(".%1-%2").arg(tag).arg(n);
    const QString whole = QLatin1Char('.') + fileName + suffix;
    if (whole.toUtf8().size() <= maxFileNameBytes)
        return whole;
    // Room for the name's start between the leading dot and the "~" that marks the cut.
    const qsizetype room = maxFileNameBytes - 2 - suffix.toUtf8().size();
    qsizetype bytes = 0;
    qsizetype end = 0;
    while (end < fileName.size()) {
        // A whole character at a time: a surrogate pair is two units of one character.
        const qsizetype units = fileName.at(end).isHighSurrogate() && end + 1 < fileName.size()
                && fileName.at(end + 1).isLowSurrogate()
            ? 2
            : 1;
        const qsizetype size = fileName.mid(end, units).toUtf8().size();
        if (bytes + size > room)
            break;
        bytes += size;
        end += units;
    }
    return QLatin1Char('.') + fileName.left(end) + QLatin1Char('~') + suffix;
}

QString FileStore::nextAsideName(const QString &path, const QString &tag)
{
    const QFileInfo info(path);
    for (int n = 1; n < 100000; ++n) {
        const QString name = asideName(info.fileName(), tag, n);
        const QString candidate = info.absolutePath() + QLatin1Char('/') + name;
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return name;
    }
    return {};
}

QString FileStore::moveAside(const QString &path, const QString &tag)
{
    const QFileInfo info(path);
    for (int n = 1; n < 100000; ++n) {
        const QString candidate
            = info.absolutePath() + QLatin1Char('/') + asideName(info.fileName(), tag, n);
        if (QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink())
            continue;
            // link() refuses an existing name, so an older backup is never overwritten, even in a
            // race.
#ifdef Q_OS_UNIX
        if (::link(QFile::encodeName(path).constData(), QFile::encodeName(candidate).constData())
            == 0) {
            if (::unlink(QFile::encodeName(path).constData()) == 0) {
                rememberAbsent(path);
                return candidate;
            }
            setErrorString(QString::fromLocal8Bit(std::strerror(errno)));
            ::unlink(QFile::encodeName(candidate).constData());
            return {};
        }
        if (errno == EEXIST)
            continue;
#endif
        if (QFile::rename(path, candidate)) {
            rememberAbsent(path);
            return candidate;
        }
        setErrorString(
            QStringLiteral("%1 could not be renamed.").arg(QDir::toNativeSeparators(path)));
        return {};
    }
    return {};
}
