#include "storage/AtomicWriteBatch.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThreadPool>

#include <algorithm>
#include <thread>
#include <utility>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {
// How many waits for the disk run at the same time.
constexpr size_t parallelSyncs = 8;

// A handle that keeps the file at path from being freed when a rename replaces it (-1 when there
// is none). Freeing a replaced file's blocks can wait for the file system as long as a sync does;
// with the handle, that happens when it is released, after the save.
int holdFile(const QString &path)
{
#ifdef Q_OS_LINUX
    return ::open(QFile::encodeName(path).constData(), O_PATH | O_CLOEXEC);
#else
    Q_UNUSED(path);
    return -1;
#endif
}

void releaseFiles(std::vector<int> handles)
{
#ifdef Q_OS_LINUX
    if (handles.empty())
        return;
    // The global pool's threads are waited for when the application ends.
    QThreadPool::globalInstance()->start([handles = std::move(handles)] {
        for (const int handle : handles)
            ::close(handle);
    });
#else
    Q_UNUSED(handles);
#endif
}
} // namespace

AtomicWriteBatch::AtomicWriteBatch(FileStore &files)
    : m_files(files)
{ }

AtomicWriteBatch::~AtomicWriteBatch() = default;

int AtomicWriteBatch::add(const QString &path, const QByteArray &contents)
{
    Q_ASSERT(!m_committed);
    FileStore::PendingWrite &write = m_writes.emplace_back();
    m_written.push_back(false);
    write.path = path;
    // The hash is taken later, while the disk is busy.
    if (m_files.stageWrite(write, contents))
        write.contents = contents;
    else
        fail(write);
    return size() - 1;
}

void AtomicWriteBatch::fail(FileStore::PendingWrite &write)
{
    if (write.error.isEmpty())
        write.error = m_files.errorString();
    if (write.error.isEmpty())
        write.error = QStringLiteral("%1 could not be written.").arg(write.path);
    // The temporary file goes; the file itself was never touched.
    write.temporary.reset();
    write.contents = QByteArray();
}

void AtomicWriteBatch::commit()
{
    Q_ASSERT(!m_committed);
    m_committed = true;
    // All the contents reach the disk before any file is replaced: a power cut in between leaves
    // every file with its old content, and one after the renames finds the new content whole.
    syncAll();
    QSet<QString> folders;
    for (size_t i = 0; i < m_writes.size(); ++i) {
        FileStore::PendingWrite &write = m_writes[i];
        if (!write.temporary)
            continue;
        write.replaced = holdFile(write.target);
        m_files.replacing(write.target, true);
        if (!m_files.replaceWithStaged(write)) {
            m_files.replacing(write.target, false);
            fail(write);
            continue;
        }
        write.temporary.reset();
        m_files.remember(write.target, write.hash);
        m_files.replacing(write.target, false);
        folders.insert(QFileInfo(write.target).absolutePath());
        m_written[i] = true;
    }
    // The renames themselves are durable once their folders are synced: once per folder.
    for (const QString &folder : std::as_const(folders))
        FileStore::syncFolder(folder);
    std::vector<int> replaced;
    for (FileStore::PendingWrite &write : m_writes)
        if (write.replaced >= 0)
            replaced.push_back(std::exchange(write.replaced, -1));
    releaseFiles(std::move(replaced));
}

void AtomicWriteBatch::syncAll()
{
    std::vector<FileStore::PendingWrite *> staged;
    for (FileStore::PendingWrite &write : m_writes)
        if (write.temporary)
            staged.push_back(&write);
    // The waits overlap, each on a thread of its own: the file system then lets them share its
    // journal commits and the flushes of the disk's cache instead of paying for them file by file.
    // Each thread takes its content's hash first, while the disk is still writing.
    std::vector<char> synced(staged.size(), 0);
    const auto hashAndSync = [this](FileStore::PendingWrite &write) {
        write.hash = FileStore::contentHash(write.contents);
        write.contents = QByteArray();
        return m_files.syncStaged(write);
    };
    for (size_t first = 0; first < staged.size(); first += parallelSyncs) {
        const size_t end = std::min(staged.size(), first + parallelSyncs);
        std::vector<std::thread> others;
        for (size_t i = first + 1; i < end; ++i)
            others.emplace_back([&, i] { synced[i] = hashAndSync(*staged[i]); });
        synced[first] = hashAndSync(*staged[first]);
        for (std::thread &other : others)
            other.join();
    }
    for (size_t i = 0; i < staged.size(); ++i)
        if (!synced[i])
            fail(*staged[i]);
}

bool AtomicWriteBatch::written(int index) const
{
    return index >= 0 && index < size() && m_written[size_t(index)];
}

QString AtomicWriteBatch::errorString(int index) const
{
    return index >= 0 && index < size() ? m_writes[size_t(index)].error : QString();
}
