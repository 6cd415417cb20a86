// The file and folder operations of the program. Every note and day file is written atomically:
// the new text goes to a hidden temporary file beside it, is flushed to disk, then renamed over the
// file, so the file always holds either its old or its new content. The store also remembers the
// version of every file it read or wrote: a file that another program changed since then is kept
// beside it under a hidden conflict name before a write replaces it.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

class FileStore
{
public:
    virtual ~FileStore() = default;

    // Names (without folder) of the ordinary files in folder, in the platform's listing order:
    // no folders, no hidden files. A missing or unreadable folder gives no names.
    virtual QStringList listFiles(const QString &folder) const;
    virtual bool folderExists(const QString &path) const;
    // Creates one folder level whose parent exists.
    virtual bool createFolder(const QString &path);
    virtual bool fileExists(const QString &path) const;
    // Deletes the file, also when it is read-only.
    virtual bool forceDelete(const QString &path);
    // Reads the whole file; false when it cannot be read.
    virtual bool readFile(const QString &path, QByteArray *contents) const;
    // Replaces the file's content atomically (a symbolic link stays a link: its target is
    // replaced). Returns true only when the new content is in place; on failure errorString() tells
    // why.
    virtual bool writeFileAtomic(const QString &path, const QByteArray &contents);
    // Renames path to a free hidden name ".<name>.<tag>-N" beside it (N counts up; nothing is
    // overwritten; hidden, so no folder scan lists it). Returns the new path, or an empty text when
    // the rename failed.
    virtual QString moveAside(const QString &path, const QString &tag);

    QString errorString() const { return m_errorString; }

    // Called after a write kept another program's version of a file: the file, and where that
    // version now is.
    using OutsideChangeHandler = std::function<void(const QString &path, const QString &keptAs)>;
    void setOutsideChangeHandler(OutsideChangeHandler handler)
    {
        m_outsideChange = std::move(handler);
    }
    static QString conflictTag() { return QStringLiteral("conflict"); }

protected:
    void setErrorString(const QString &error) { m_errorString = error; }

private:
    struct Version
    {
        qint64 size = -1;
        QDateTime modified;
        QByteArray hash;
    };
    void remember(const QString &target, const QByteArray &contents) const;
    // Moves a version of target that this store did not read or write out of the way; false when
    // that was needed and failed.
    bool keepOutsideVersion(const QString &path, const QString &target);

    QString m_errorString;
    mutable QHash<QString, Version> m_known;
    OutsideChangeHandler m_outsideChange;
};
