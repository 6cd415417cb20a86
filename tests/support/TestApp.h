// A main window for tests: a temporary application folder, settings in an INI file inside it, a
// scripted Prompter, a recording DesktopShell, a fixed clock, a trash of its own and a quit
// function that only counts, put in place of the real ones by the program's own AppServices.
#pragma once

#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowServices.h"
#include "storage/FileStore.h"
#include "storage/QtSettingsStore.h"
#include "support/FixedClock.h"
#include "support/RecordingShell.h"
#include "support/ScriptedPrompter.h"
#include "support/TestTrash.h"

#include <QTemporaryDir>
#include <memory>

class AppServices;
class QListWidget;
class RichTextBox;

class TestApp
{
public:
    explicit TestApp(QDate today = QDate(2026, 12, 9));
    ~TestApp();

    // Creates the main window (once) and runs its opening sequence.
    MainWindow &open();
    MainWindow &window() { return *m_window; }
    MainWindowServices services();
    // A new settings store over the same file, reading it afresh as the next start would.
    void reopenSettings();

    QString folder() const { return m_dir.path(); }
    QString notesFolder() const { return m_dir.path() + QStringLiteral("/todolist"); }
    QString notePath(const QString &fileName) const
    {
        return notesFolder() + QLatin1Char('/') + fileName;
    }
    QString dayPath(const QString &fileName) const
    {
        return m_dir.path() + QLatin1Char('/') + fileName;
    }
    // Writes a note file holding an RTF document with this plain text.
    void writeNote(const QString &fileName, const QString &text);
    void writeFile(const QString &path, const QByteArray &contents);
    QByteArray readFile(const QString &path) const;
    // The plain text of the RTF file at path ("<not RTF>" when it cannot be read as RTF).
    QString rtfFileText(const QString &path) const;
    static QByteArray rtfWithText(const QString &text);

    template <typename T> T *find(const QString &name)
    {
        return m_window ? m_window->findChild<T *>(name) : nullptr;
    }
    void click(const QString &buttonName);
    void trigger(const QString &actionName);
    QListWidget *list();
    RichTextBox *editor();
    QStringList listTitles();

    ScriptedPrompter prompter;
    RecordingShell shell;
    FixedClock clock;
    TestTrash trash;
    // The store the window is given; a test may put its own in place before open().
    FileStore *files = nullptr;
    QtSettingsStore *settings = nullptr;
    int quitCount = 0;
    int resetDaysIntervalMs = 2500;
    // The program writes notes on a thread of its own; tests write them at once unless they set
    // this before open().
    bool backgroundWrites = false;
    // The window follows what other programs do to its folders only when a test sets this.
    bool watchFolders = false;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AppServices> m_services;
    MainWindow *m_window = nullptr;
};
