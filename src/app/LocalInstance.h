// The lock that keeps two programs of this computer and user off one application folder, and the
// local socket through which a later start asks the running program to come to the front. Both
// live in the user's runtime folder, named after the application folder, so only programs of this
// computer and user meet there (a synced folder carries nothing of them to another computer).
#pragma once

#include <QLockFile>
#include <QObject>
#include <memory>

class QLocalServer;

class LocalInstance : public QObject
{
    Q_OBJECT
public:
    enum class Lock {
        Taken, // this program holds the folder
        HeldByRunning, // a running program of this computer and user holds it
        Unavailable, // the runtime folder cannot hold a lock
    };

    explicit LocalInstance(const QString &applicationFolder, QObject *parent = nullptr);
    ~LocalInstance() override;

    Lock tryLock();
    // Listens for later starts (after tryLock gave Taken).
    void listen();
    // Asks the running program to come to the front; true when it answered within timeoutMs.
    bool askRunningToComeForward(int timeoutMs);

    // The runtime folder (XDG_RUNTIME_DIR, else the temporary folder) and the names in it.
    static QString runtimeFolder();
    static QString lockFilePath(const QString &applicationFolder);
    static QString serverName(const QString &applicationFolder);

signals:
    // A later start asked this program to show its window.
    void activationRequested();

private:
    QString m_applicationFolder;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
