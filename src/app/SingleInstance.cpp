#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
const QByteArray activateMessage = "activate\n";
}

SingleInstance::SingleInstance(const QString &applicationFolder, QObject *parent)
    : QObject(parent)
    , m_applicationFolder(applicationFolder)
    , m_lock(lockFilePath(applicationFolder))
{
    // A lock left by a program that crashed is taken over once its process is gone.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockFilePath(const QString &applicationFolder)
{
    return applicationFolder + QStringLiteral("/.quillmark.lock");
}

QString SingleInstance::serverName(const QString &applicationFolder)
{
    const QByteArray folder = QDir(applicationFolder).canonicalPath().toUtf8();
    return QStringLiteral("quillmark-")
        + QString::fromLatin1(
            QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16));
}

bool SingleInstance::claim()
{
    const QString name = serverName(m_applicationFolder);
    if (!m_lock.tryLock(0)) {
        // A read-only application folder cannot hold the lock; nothing else can run there either.
        if (m_lock.error() == QLockFile::LockFailedError) {
            QLocalSocket socket;
            socket.connectToServer(name);
            if (socket.waitForConnected(1000)) {
                socket.write(activateMessage);
                socket.waitForBytesWritten(1000);
                socket.disconnectFromServer();
            }
            return false;
        }
    }
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(name);
    m_server->listen(name);
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            const auto readRequest = [this, socket] {
                if (socket->readAll().contains(activateMessage.trimmed()))
                    emit activationRequested();
            };
            connect(socket, &QLocalSocket::readyRead, this, readRequest);
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            // The request may have arrived with the connection.
            readRequest();
        }
    });
    return true;
}
