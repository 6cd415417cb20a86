// The services the main window runs on, made in one place: the real ones of the program (the
// user's settings, the file store, Qt's dialogs, the desktop, the system clock), any of which a
// caller may replace with its own, as the tests and benchmarks do.
#pragma once

#include "mainwindow/MainWindowServices.h"

#include <QString>
#include <functional>
#include <memory>

class Clock;
class Trash;
class DesktopShell;
class FileStore;
class Prompter;
class QWidget;
class QtSettingsStore;

class AppServices
{
public:
    // The services of the program whose application folder is applicationFolder (without a
    // trailing separator).
    explicit AppServices(const QString &applicationFolder);
    ~AppServices();
    AppServices(const AppServices &) = delete;
    AppServices &operator=(const AppServices &) = delete;

    // Settings in this INI file instead of the user's own store. Each call makes a new store that
    // reads the file afresh, the way the next start of the program would.
    void setSettingsFile(const QString &iniPath);
    // A service of the caller's in place of the real one (nullptr: the real one again). The
    // caller keeps it alive as long as a window made from services() uses it.
    void setFiles(FileStore *files);
    void setPrompter(Prompter *prompter);
    void setShell(DesktopShell *shell);
    void setClock(Clock *clock);
    void setTrash(Trash *trash);
    // What ends the program; by default QCoreApplication::exit.
    void setQuit(std::function<void()> quit);
    void setResetDaysInterval(int milliseconds);
    // The help file, when it is not help.rtf of the application folder.
    void setHelpFile(const QString &path) { m_helpFile = path; }
    // Whether note and day files are written on a thread of their own (the program's way).
    void setBackgroundWrites(bool background) { m_backgroundWrites = background; }
    // Whether the window follows what other programs do to the note folders (the program's way).
    void setWatchFolders(bool watch) { m_watchFolders = watch; }
    // The window the real dialogs belong to (when it gives none: the active window). Asked each
    // time a dialog opens, so it may name a window made after the services.
    void setDialogParent(std::function<QWidget *()> parentWindow);

    QString applicationFolder() const { return m_applicationFolder; }
    QtSettingsStore &settings();
    FileStore &files();

    // The services as they are now; the real ones are made on first need.
    MainWindowServices services();

private:
    QString m_applicationFolder;
    QString m_settingsFile;
    QString m_helpFile;
    std::unique_ptr<QtSettingsStore> m_settings;
    std::unique_ptr<FileStore> m_ownFiles;
    std::unique_ptr<Prompter> m_ownPrompter;
    std::unique_ptr<DesktopShell> m_ownShell;
    std::unique_ptr<Clock> m_ownClock;
    std::unique_ptr<Trash> m_ownTrash;
    FileStore *m_files = nullptr;
    Prompter *m_prompter = nullptr;
    DesktopShell *m_shell = nullptr;
    Clock *m_clock = nullptr;
    Trash *m_trash = nullptr;
    std::function<void()> m_quit;
    int m_resetDaysIntervalMs = MainWindowServices().resetDaysIntervalMs;
    bool m_backgroundWrites = true;
    bool m_watchFolders = true;
    std::function<QWidget *()> m_dialogParent;
};
