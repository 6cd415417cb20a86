// The program's command line: --help, --version and --folder DIR, besides Qt's own options (which
// QApplication has taken out before). Without options the program starts as it always did.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

class CommandLine
{
public:
    enum class Action {
        Start, // open the window
        PrintHelp, // printHelpAndExit()
        PrintVersion, // versionText() on standard output, status 0
        Fail, // errorText() on standard error, status usageErrorStatus
    };
    static constexpr int usageErrorStatus = 2;

    CommandLine();

    // Reads the arguments (the program's name first). A folder given with --folder is prepared
    // (created when missing) and checked here, before any window opens.
    Action read(const QStringList &arguments);

    // The folder given with --folder, absolute and canonical; empty without --folder.
    QString folder() const { return m_folder; }
    // Where the settings of that folder live: a hidden file inside it, so that two note sets keep
    // their own window position, list order and stored file. Empty: the user's own store.
    QString settingsFile() const;
    QString errorText() const { return m_error; }

    // "quillmark 1.0.0" and the licence line.
    static QString versionText();
    // Prints the help (with --help-all, Qt's options too) and ends the program with status 0.
    [[noreturn]] void printHelpAndExit();

private:
    QCommandLineParser m_parser;
    QStringList m_arguments;
    QString m_folder;
    QString m_error;
};
