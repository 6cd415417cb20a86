#include "app/LocalInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {
const QByteArray activateRequest = "activate\n";
const QByteArray activateAnswer = "shown\n";

// The application folder's name in the runtime folder: a hash of its canonical path.
QString folderKey(const QString &applicationFolder)
{
    const QByteArray folder = QDir(applicationFolder).canonicalPath().toUtf8();
    return QStringLiteral("quillmark-")
        + QString::fromLatin1(
            QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16));
}
} // namespace

LocalInstance::LocalInstance(const QString &applicationFolder, QObject *parent)
    : QObject(parent)
    , m_applicationFolder(applicationFolder)
    , m_lock(lockFilePath(applicationFolder))
{
    // A lock left by a program that crashed is taken over once its process is gone.
    m_lock.setStaleLockTime(0);
}

LocalInstance::~LocalInstance() = default;

QString LocalInstance::runtimeFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

QString LocalInstance::lockFilePath(const QString &applicationFolder)
{
    return runtimeFolder() + QLatin1Char('/') + folderKey(applicationFolder)
        + QStringLiteral(".lock");
}

QString LocalInstance::serverName(const QString &applicationFolder)
{
    return runtimeFolder() + QLatin1Char('/') + folderKey(applicationFolder);
}

LocalInstance::Lock LocalInstance::tryLock()
{
    if (m_lock.tryLock(0))
        return Lock::Taken;
    return m_lock.error() == QLockFile::LockFailedError ? Lock::HeldByRunning : Lock::Unavailable;
}

void LocalInstance::listen()
{
    const QString name = serverName(m_applicationFolder);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a program that crashed; whoever holds the lock owns the name.
    QLocalServer::removeServer(name);
    m_server->listen(name);
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            const auto readRequest = [this, socket] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine() == activateRequest) {
                    socket->write(activateAnswer);
                    emit activationRequested();
                }
            };
            connect(socket, &QLocalSocket::readyRead, this, readRequest);
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            // The request may have arrived with the connection.
            readRequest();
        }
    });
}

bool LocalInstance::askRunningToComeForward(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(serverName(m_applicationFolder));
    if (!socket.waitForConnected(deadline.remainingTime()))
        return false;
    socket.write(activateRequest);
    if (!socket.waitForBytesWritten(deadline.remainingTime()))
        return false;
    // A program that accepted the connection answers from its event loop: a hung one does not.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(deadline.remainingTime()))
            return false;
    }
    return socket.readLine() == activateAnswer;
}
