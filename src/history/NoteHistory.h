// The earlier versions of the note and day files. Before a write replaces a file, its content is
// kept when the last version kept of it in this run is ten minutes old or more, and always at its
// first write of the run; a content its newest version already holds is not kept again. A version
// is a hard link of the file being replaced (a copy where a link is impossible), never the file
// itself, named by its time in UTC:
//   .history/todolist/<note file name>/YYYYMMDD-HHMMSS.rtf   a project note's
//   .history/<day file name>/YYYYMMDD-HHMMSS.rtf             a day file's
// ("-2", "-3" before ".rtf" when the name is taken). A version that cannot be kept never stops the
// write: the first failure of a run is told once, on the thread that made the history. Safe from
// several threads: the note writer's and the window's.
#pragma once

#include "storage/VersionKeeper.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

class Clock;

class NoteHistory : public VersionKeeper
{
public:
    struct Entry
    {
        enum class Kind { Version, Removed, KeptCopy };
        QString path;
        QDateTime time; // UTC
        qint64 size = 0;
        Kind kind = Kind::Version;
    };
    // reason: why a version could not be kept.
    using FailureHandler = std::function<void(const QString &reason)>;

    NoteHistory(const QString &applicationFolder, const Clock &clock);

    static constexpr qint64 spacingSeconds = 10 * 60;
    static QString folderName() { return QStringLiteral(".history"); }

    // The history folder of a note or day file; empty for any other file.
    QString folderFor(const QString &path) const;
    // The name of a version taken at utc: n counts the names already taken at that second.
    static QString versionName(const QDateTime &utc, int n = 1);

    void beforeReplace(const QString &path, const QString &target) override;
    void writeEnded() override;
    void reportOnOwnThread() override;

    // Keeps contents as a version of path now, whatever the spacing (unless the newest version
    // holds it already). False, with the reason in error, when it could not be kept.
    bool keepContent(const QString &path, const QByteArray &contents, QString *error) override;
    // Moves the file at path into its history folder as "removed-YYYYMMDD-HHMMSS.rtf": the new
    // path, or empty with the reason in error.
    QString moveRemoved(const QString &path, QString *error);
    // The versions and removed copies of path, newest first, then the copies kept beside it
    // (".<name>.conflict-N" and the like), newest first.
    QList<Entry> entries(const QString &path) const;
    // Removes the versions of path that the keeping rules no longer keep (HistoryPruning).
    void prune(const QString &path);

    void setFailureHandler(FailureHandler handler) { m_failureHandler = std::move(handler); }

private:
    struct Named
    {
        QString name;
        QDateTime time;
        int n = 1;
        bool removed = false;
    };
    static std::optional<Named> parseName(const QString &name);
    // The versions (not removed copies) in folder, newest first.
    static QList<Named> versionsIn(const QString &folder);
    bool keepFileLocked(const QString &path, const QString &target, QString *error);
    bool makeFolder(const QString &folder, QString *error) const;
    // Puts the content of source (a file) or of contents under a free version name in folder.
    bool placeVersion(const QString &folder, const QString &source, const QByteArray *contents,
        const QString &prefix, QString *placed, QString *error);
    void failed(const QString &reason);

    const QString m_folder; // the application folder, cleaned
    const Clock &m_clock;
    const std::thread::id m_ownThread;
    FailureHandler m_failureHandler;

    mutable std::mutex m_lock; // guards everything below it
    QHash<QString, QDateTime> m_lastKept; // by history folder: the last version kept this run
    QSet<QString> m_pruneDue; // files that got a version since the last tidying
    std::optional<QString> m_failure; // the first failure of the run, until told
    bool m_told = false;
};
