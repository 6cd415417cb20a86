// Everything the main window needs from outside: the application folder and the platform services.
// The program passes the real ones; tests pass a temporary folder and scripted services.
#pragma once

#include <QString>
#include <functional>

class Clock;
class DesktopShell;
class FileStore;
class Prompter;
class SettingsStore;
class Trash;

struct MainWindowServices
{
    QString applicationFolder; // without a trailing separator
    // The help file; empty: help.rtf in the application folder.
    QString helpFile;
    SettingsStore *settings = nullptr;
    FileStore *files = nullptr;
    Prompter *prompter = nullptr;
    DesktopShell *shell = nullptr;
    Clock *clock = nullptr;
    Trash *trash = nullptr;
    // Ends the application at once (the program: QCoreApplication::exit).
    std::function<void()> quit;
    // The save marks return to rest this long after a save.
    int resetDaysIntervalMs = 2500;
    // Note and day files are written on a thread of their own while the user types (the program);
    // false writes them at once (most tests).
    bool backgroundWrites = false;
    // The window follows what other programs do to the note folders while it is open (the
    // program); false leaves them to the next start (most tests).
    bool watchFolders = false;
};
