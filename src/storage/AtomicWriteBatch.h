// Several files replaced the way FileStore::writeFileAtomic replaces one, for about the price of
// one: each new content goes to a hidden temporary file beside its file as it is added and starts
// on its way to the disk at once; commit() waits for all of them together, renames each over its
// file and syncs each folder once. Every file still holds either its whole old or its whole new
// content, a file counts as written only once its new content is on the disk and in place, and a
// failure concerns only its own file.
#pragma once

#include "storage/FileStore.h"

#include <QByteArray>
#include <QString>
#include <vector>

class AtomicWriteBatch
{
public:
    explicit AtomicWriteBatch(FileStore &files);
    // The temporary files of writes that were never committed are removed.
    ~AtomicWriteBatch();
    AtomicWriteBatch(const AtomicWriteBatch &) = delete;
    AtomicWriteBatch &operator=(const AtomicWriteBatch &) = delete;

    // Writes contents to a temporary file for path; path itself stays untouched until commit().
    // Returns the number of this write (0 for the first) for written() and errorString().
    int add(const QString &path, const QByteArray &contents);
    // Makes every temporary file durable, then puts each in its file's place. Once only.
    void commit();

    int size() const { return int(m_writes.size()); }
    // True when commit() put the new content of this write in place.
    bool written(int index) const;
    // Why this write failed; empty when it did not.
    QString errorString(int index) const;

private:
    // Waits until every staged temporary file is on the disk.
    void syncAll();
    void fail(FileStore::PendingWrite &write);

    FileStore &m_files;
    std::vector<FileStore::PendingWrite> m_writes;
    std::vector<bool> m_written;
    bool m_committed = false;
};
