#include "app/InstanceMarker.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace {
const QByteArray heading
    = "# Quillmark has the notes of this folder open; it removes this file when it ends.";
const QByteArray hostKey = "host=";
const QByteArray userKey = "user=";
const QByteArray pidKey = "pid=";

QString thisUser()
{
#ifdef Q_OS_UNIX
    if (const passwd *entry = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
#endif
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("LOGNAME") : user;
}

// The program file's name, without the mark Linux adds once the file was replaced (an update
// installed while the program runs).
QString programName(const QString &path)
{
    QString name = QFileInfo(path).fileName();
    name.remove(QStringLiteral(" (deleted)"));
    return name;
}
} // namespace

QString InstanceMarker::path(const QString &applicationFolder)
{
    return applicationFolder + QStringLiteral("/.quillmark.lock");
}

InstanceMarker InstanceMarker::thisProgram()
{
    InstanceMarker marker;
    marker.kind = Kind::Written;
    marker.host = QSysInfo::machineHostName();
    marker.user = thisUser();
    marker.pid = QCoreApplication::applicationPid();
    return marker;
}

QByteArray InstanceMarker::text() const
{
    return heading + '\n' + hostKey + host.toUtf8() + '\n' + userKey + user.toUtf8() + '\n' + pidKey
        + QByteArray::number(pid) + '\n';
}

InstanceMarker InstanceMarker::parse(const QByteArray &text)
{
    InstanceMarker marker;
    marker.kind = Kind::Unreadable;
    const QList<QByteArray> lines = text.split('\n');
    bool pidRead = false;
    if (text.startsWith('#')) {
        for (const QByteArray &line : lines) {
            if (line.startsWith(hostKey))
                marker.host = QString::fromUtf8(line.mid(hostKey.size())).trimmed();
            else if (line.startsWith(userKey))
                marker.user = QString::fromUtf8(line.mid(userKey.size())).trimmed();
            else if (line.startsWith(pidKey))
                marker.pid = line.mid(pidKey.size()).trimmed().toLongLong(&pidRead);
        }
    } else if (lines.size() >= 3) {
        // QLockFile: pid, application name, host name.
        marker.pid = lines.at(0).trimmed().toLongLong(&pidRead);
        marker.host = QString::fromUtf8(lines.at(2)).trimmed();
    }
    if (pidRead && !marker.host.isEmpty())
        marker.kind = Kind::Written;
    return marker;
}

InstanceMarker InstanceMarker::read(const QString &applicationFolder)
{
    QFile file(path(applicationFolder));
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return parse({});
    // A marker is a few short lines; anything longer is not one.
    return parse(file.read(4096));
}

bool InstanceMarker::write(const QString &applicationFolder) const
{
    QSaveFile file(path(applicationFolder));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text());
    return file.commit();
}

bool InstanceMarker::removeIfOwn(const QString &applicationFolder) const
{
    if (!sameProgram(read(applicationFolder)))
        return false;
    return QFile::remove(path(applicationFolder));
}

bool InstanceMarker::isOfThisComputer() const
{
    return kind == Kind::Written
        && host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
}

bool InstanceMarker::sameProgram(const InstanceMarker &other) const
{
    return kind == Kind::Written && other.kind == Kind::Written
        && host.compare(other.host, Qt::CaseInsensitive) == 0 && pid == other.pid;
}

bool InstanceMarker::processRunning(qint64 pid)
{
    if (pid <= 0)
        return false;
#ifdef Q_OS_UNIX
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)
        return false;
#endif
    // Where the system names the process's program (not for another user's), it must be this one.
    const QString running = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    return running.isEmpty()
        || programName(running) == programName(QCoreApplication::applicationFilePath());
}
