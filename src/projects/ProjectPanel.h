// The project area of the main window: the list of projects, the note editor beside it and the
// buttons that add, remove, move and save items.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace Ui {
class frmMain;
}
class FileStore;
class Prompter;
class SettingsStore;
struct MainWindowState;

class ProjectPanel : public QObject
{
    Q_OBJECT
public:
    ProjectPanel(Ui::frmMain &ui, MainWindowState &state, const QString &applicationFolder,
                 SettingsStore &settings, FileStore &files, Prompter &prompter,
                 QObject *parent = nullptr);

    // The list as the window opens: the folder scan, then the stored order.
    void loadList();
    // The list order into the settings, when the closing sequence runs.
    void storeOrder();
    // Writes an edit of the note editor that is not on disk yet to the note it belongs to. False
    // when that write failed.
    bool flushPendingNote();
    // The "Save ToDo" button; the closing sequence presses it for a new item.
    void cmdSaveNote_Click();
    // The end of a save-only run: no entry is left selected (a pending new item stays selected).
    void deselectAll();
    // Empties the list (the notes stay on disk).
    void clearList();
    // The titles of notes whose last write failed, for the closing sequence to name.
    QStringList unsavedNotes() const;

private:
    Ui::frmMain &ui;
    MainWindowState &state;
    QString m_applicationFolder;
    SettingsStore &m_settings;
    FileStore &m_files;
    Prompter &m_prompter;
};
