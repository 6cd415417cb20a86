// One running Quillmark per application folder: two programs saving into the same notes would
// overwrite each other's files. A later start on this computer asks the running program to come to
// the front and ends; a start that finds the notes possibly open elsewhere (on another computer
// sharing the folder, or in a program of this one that does not answer) asks the user first.
#pragma once

#include "app/InstanceMarker.h"
#include "app/LocalInstance.h"

#include <QObject>

class Prompter;

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &applicationFolder, QObject *parent = nullptr);
    // Removes the marker this program wrote, when it is still its own.
    ~SingleInstance() override;

    // True when the program goes on: it then holds the folder, listens for later starts and has
    // written its marker. False when the running program was asked to come to the front, or the
    // user answered No to "Notes In Use" (asked through prompter, before any window).
    bool claim(Prompter &prompter);

    // How long a running program of this computer has to answer before the user is asked.
    static constexpr int answerTimeoutMs = 2000;

signals:
    // A later start asked this program to show its window.
    void activationRequested();

private:
    QString m_applicationFolder;
    LocalInstance m_local;
    InstanceMarker m_written;
};
