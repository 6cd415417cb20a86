#include "history/NoteHistory.h"

#include "history/HistoryPruning.h"
#include "platform/Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTimeZone>

#include <algorithm>
#include <cerrno>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
const QString timeFormat = QStringLiteral("yyyyMMdd-HHmmss");
const QString removedPrefix = QStringLiteral("removed-");
const QString notesFolderName = QStringLiteral("todolist");

bool sameContent(const QString &a, const QString &b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.size() != second.size())
        return false;
    QFile one(a);
    QFile other(b);
    if (!one.open(QIODevice::ReadOnly) || !other.open(QIODevice::ReadOnly))
        return false;
    return one.readAll() == other.readAll();
}

QString systemError()
{
    return QString::fromStdString(std::generic_category().message(errno));
}
} // namespace

NoteHistory::NoteHistory(const QString &applicationFolder, const Clock &clock)
    : m_folder(QDir::cleanPath(applicationFolder))
    , m_clock(clock)
    , m_ownThread(std::this_thread::get_id())
{ }

QString NoteHistory::folderFor(const QString &path) const
{
    const QFileInfo info(QDir::cleanPath(path));
    const QString parent = info.absolutePath();
    const QString history = m_folder + QLatin1Char('/') + folderName();
    if (parent == m_folder + QLatin1Char('/') + notesFolderName)
        return history + QLatin1Char('/') + notesFolderName + QLatin1Char('/') + info.fileName();
    if (parent == m_folder)
        return history + QLatin1Char('/') + info.fileName();
    return {};
}

QString NoteHistory::versionName(const QDateTime &utc, int n)
{
    const QString stamp = utc.toUTC().toString(timeFormat);
    return n <= 1 ? stamp + QStringLiteral(".rtf") : QStringLiteral("%1-%2.rtf").arg(stamp).arg(n);
}

std::optional<NoteHistory::Named> NoteHistory::parseName(const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(removed-)?(\\d{8}-\\d{6})(?:-(\\d+))?\\.rtf$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    QDateTime time = QDateTime::fromString(match.captured(2), timeFormat);
    if (!time.isValid())
        return std::nullopt;
    time.setTimeZone(QTimeZone::utc());
    const int n = match.captured(3).isEmpty() ? 1 : match.captured(3).toInt();
    return Named { name, time, n, !match.captured(1).isEmpty() };
}

QList<NoteHistory::Named> NoteHistory::versionsIn(const QString &folder)
{
    QList<Named> found;
    const QStringList names = QDir(folder).entryList(QDir::Files);
    for (const QString &name : names)
        if (const std::optional<Named> named = parseName(name); named && !named->removed)
            found.append(*named);
    std::sort(found.begin(), found.end(), [](const Named &a, const Named &b) {
        return a.time != b.time ? a.time > b.time : a.n > b.n;
    });
    return found;
}

bool NoteHistory::makeFolder(const QString &folder, QString *error) const
{
    if (QDir().mkpath(folder))
        return true;
    *error
        = QStringLiteral("the folder %1 could not be made").arg(QDir::toNativeSeparators(folder));
    return false;
}

bool NoteHistory::placeVersion(const QString &folder, const QString &source,
    const QByteArray *contents, const QString &prefix, QString *placed, QString *error)
{
    const QDateTime now = m_clock.nowUtc();
    QString copied; // a whole copy under a hidden name, when the source cannot be linked
    for (int n = 1; n < 10000; ++n) {
        const QString candidate = folder + QLatin1Char('/') + prefix + versionName(now, n);
        if (QFileInfo::exists(candidate))
            continue;
        const QString from = copied.isEmpty() ? source : copied;
#ifdef Q_OS_UNIX
        if (!contents || !copied.isEmpty()) {
            // link() never replaces a name that is taken, even in a race.
            if (::link(
                    QFile::encodeName(from).constData(), QFile::encodeName(candidate).constData())
                == 0) {
                if (!copied.isEmpty())
                    QFile::remove(copied);
                *placed = candidate;
                return true;
            }
            if (errno == EEXIST)
                continue;
            if (!copied.isEmpty()) {
                *error = systemError();
                QFile::remove(copied);
                return false;
            }
        }
#endif
        if (!copied.isEmpty()) {
            // No hard links at all: the whole copy takes the free name.
            if (QFile::rename(copied, candidate)) {
                *placed = candidate;
                return true;
            }
            *error = QStringLiteral("%1 could not be renamed").arg(copied);
            QFile::remove(copied);
            return false;
        }
        // A copy, written whole under a hidden name first: a version is never found half written.
        QTemporaryFile temporary(folder + QStringLiteral("/.version-XXXXXX.tmp"));
        temporary.setAutoRemove(false);
        QByteArray bytes;
        if (contents) {
            bytes = *contents;
        } else {
            QFile file(source);
            if (!file.open(QIODevice::ReadOnly)) {
                *error = file.errorString();
                return false;
            }
            bytes = file.readAll();
        }
        if (!temporary.open() || temporary.write(bytes) != bytes.size() || !temporary.flush()) {
            *error = temporary.errorString();
            temporary.remove();
            return false;
        }
        temporary.close();
        copied = temporary.fileName();
        --n; // the same name, now for the copy
    }
    if (!copied.isEmpty())
        QFile::remove(copied);
    *error = QStringLiteral("no free name in %1").arg(QDir::toNativeSeparators(folder));
    return false;
}

bool NoteHistory::keepFileLocked(const QString &path, const QString &target, QString *error)
{
    const QString folder = folderFor(path);
    if (folder.isEmpty() || !QFileInfo(target).isFile())
        return true;
    const QDateTime now = m_clock.nowUtc();
    const auto last = m_lastKept.constFind(folder);
    if (last != m_lastKept.constEnd() && last->secsTo(now) < spacingSeconds)
        return true;
    if (!makeFolder(folder, error))
        return false;
    const QList<Named> versions = versionsIn(folder);
    if (versions.isEmpty()
        || !sameContent(folder + QLatin1Char('/') + versions.first().name, target)) {
        QString placed;
        if (!placeVersion(folder, target, nullptr, QString(), &placed, error))
            return false;
        m_pruneDue.insert(path);
    }
    m_lastKept.insert(folder, now);
    return true;
}

void NoteHistory::beforeReplace(const QString &path, const QString &target)
{
    QString error;
    bool kept = false;
    {
        std::lock_guard lock(m_lock);
        kept = keepFileLocked(path, target, &error);
    }
    if (!kept)
        failed(error);
}

bool NoteHistory::keepContent(const QString &path, const QByteArray &contents, QString *error)
{
    std::lock_guard lock(m_lock);
    const QString folder = folderFor(path);
    if (folder.isEmpty()) {
        *error = QStringLiteral("%1 has no history").arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (!makeFolder(folder, error))
        return false;
    const QList<Named> versions = versionsIn(folder);
    if (!versions.isEmpty()) {
        QFile newest(folder + QLatin1Char('/') + versions.first().name);
        if (newest.open(QIODevice::ReadOnly) && newest.readAll() == contents)
            return true;
    }
    QString placed;
    if (!placeVersion(folder, QString(), &contents, QString(), &placed, error))
        return false;
    m_lastKept.insert(folder, m_clock.nowUtc());
    m_pruneDue.insert(path);
    return true;
}

QString NoteHistory::moveRemoved(const QString &path, QString *error)
{
    std::lock_guard lock(m_lock);
    const QString folder = folderFor(path);
    if (folder.isEmpty()) {
        *error = QStringLiteral("%1 has no history").arg(QDir::toNativeSeparators(path));
        return {};
    }
    if (!makeFolder(folder, error))
        return {};
    QString placed;
    if (!placeVersion(folder, path, nullptr, removedPrefix, &placed, error))
        return {};
    // The link is in place: the note file itself goes.
    if (!QFile::remove(path)) {
        *error = QStringLiteral("%1 could not be removed").arg(QDir::toNativeSeparators(path));
        QFile::remove(placed);
        return {};
    }
    return placed;
}

QList<NoteHistory::Entry> NoteHistory::entries(const QString &path) const
{
    QList<std::pair<Named, Entry>> named;
    const QString folder = folderFor(path);
    if (!folder.isEmpty()) {
        const QStringList names = QDir(folder).entryList(QDir::Files);
        for (const QString &name : names) {
            const std::optional<Named> parsed = parseName(name);
            if (!parsed)
                continue;
            const QString file = folder + QLatin1Char('/') + name;
            named.append({ *parsed,
                { file, parsed->time, QFileInfo(file).size(),
                    parsed->removed ? Entry::Kind::Removed : Entry::Kind::Version } });
        }
    }
    // Newest first; of one second, the name taken last first.
    std::sort(named.begin(), named.end(), [](const auto &a, const auto &b) {
        return a.first.time != b.first.time ? a.first.time > b.first.time : a.first.n > b.first.n;
    });
    QList<Entry> found;
    for (const auto &entry : std::as_const(named))
        found.append(entry.second);

    // The copies kept beside the file: ".<name>.<tag>-N".
    const QFileInfo info(path);
    const QRegularExpression kept(
        QStringLiteral("^\\.%1\\.[a-z]+-\\d+$").arg(QRegularExpression::escape(info.fileName())));
    QList<Entry> copies;
    const QFileInfoList beside
        = QDir(info.absolutePath()).entryInfoList(QDir::Files | QDir::Hidden, QDir::Time);
    for (const QFileInfo &copy : beside)
        if (kept.match(copy.fileName()).hasMatch())
            copies.append({ copy.absoluteFilePath(), copy.lastModified().toUTC(), copy.size(),
                Entry::Kind::KeptCopy });
    return found + copies;
}

void NoteHistory::prune(const QString &path)
{
    std::lock_guard lock(m_lock);
    const QString folder = folderFor(path);
    if (folder.isEmpty())
        return;
    const QList<Named> versions = versionsIn(folder);
    QList<HistoryPruning::Version> times;
    for (const Named &version : versions)
        times.append({ version.time, QFileInfo(folder + QLatin1Char('/') + version.name).size() });
    const QList<int> removed = HistoryPruning::toRemove(times, m_clock.nowUtc());
    for (const int index : removed)
        QFile::remove(folder + QLatin1Char('/') + versions[index].name);
}

void NoteHistory::writeEnded()
{
    QSet<QString> due;
    {
        std::lock_guard lock(m_lock);
        due.swap(m_pruneDue);
    }
    for (const QString &path : std::as_const(due))
        prune(path);
}

void NoteHistory::failed(const QString &reason)
{
    {
        std::lock_guard lock(m_lock);
        if (m_told || m_failure)
            return;
        m_failure = reason;
    }
    if (std::this_thread::get_id() == m_ownThread)
        reportOnOwnThread();
}

void NoteHistory::reportOnOwnThread()
{
    QString reason;
    {
        std::lock_guard lock(m_lock);
        if (m_told || !m_failure)
            return;
        m_told = true;
        reason = *m_failure;
    }
    if (m_failureHandler)
        m_failureHandler(reason);
}
