// One running Quillmark per application folder: two programs saving into the same notes would
// overwrite each other's files when they close. A second start asks the running one to come to the
// front and ends.
#pragma once

#include <QLockFile>
#include <QObject>
#include <memory>

class QLocalServer;

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &applicationFolder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only program on the folder (it then listens for later starts). False
    // when another one runs there; it has been asked to come to the front.
    bool claim();

    // The hidden names used beside the notes and for the local socket.
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
