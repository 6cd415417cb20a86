// The hidden ".quillmark.lock" in the application folder: which computer, user and program use the
// notes there. A folder synced or copied between computers carries it along, so a program of
// another computer can tell that the notes may be open there. It is a sign, not a lock: programs of
// one computer keep apart through LocalInstance.
#pragma once

#include <QByteArray>
#include <QString>

class InstanceMarker
{
public:
    enum class Kind {
        None, // no marker: nobody uses the folder
        Unreadable, // a marker that names no computer
        Written, // host, user (when known) and pid are filled in
    };

    Kind kind = Kind::None;
    QString host;
    QString user;
    qint64 pid = 0;

    static QString path(const QString &applicationFolder);
    // The marker of this program: this computer's host name, this user, this process.
    static InstanceMarker thisProgram();

    // The marker's text; parse reads it back, and also reads the QLockFile an earlier version of
    // the program kept under the same name (pid, application name, host name, one a line).
    QByteArray text() const;
    static InstanceMarker parse(const QByteArray &text);

    static InstanceMarker read(const QString &applicationFolder);
    // Replaces the marker in the folder atomically; false when the folder cannot take it.
    bool write(const QString &applicationFolder) const;
    // Removes the folder's marker when it is still this one (another program may have taken over).
    bool removeIfOwn(const QString &applicationFolder) const;

    bool isOfThisComputer() const;
    bool sameProgram(const InstanceMarker &other) const;
    // Whether process pid of this computer runs the program it was started as (a pid used again by
    // another program after a crash or a restart does not count).
    static bool processRunning(qint64 pid);
};
