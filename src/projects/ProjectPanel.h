// The project area of the main window: the list of projects, the note editor beside it and the
// buttons that add, remove, move and save items.
#pragma once

#include "editor/RichTextBox.h"
#include "projects/ProjectNoteOwner.h"
#include "projects/ProjectPanelView.h"
#include "projects/ProjectStore.h"
#include "storage/SettingsStore.h"

#include <QObject>
#include <QString>
#include <QStringList>

class FileStore;
class NoteHistory;
class NoteWriter;
class Prompter;
class QListWidgetItem;
class Trash;
struct ProjectFlags;

class ProjectPanel : public QObject
{
    Q_OBJECT
public:
    ProjectPanel(const ProjectPanelView &view, ProjectFlags &flags,
        const QString &applicationFolder, SettingsStore &settings, FileStore &files,
        NoteWriter &writer, Prompter &prompter, NoteHistory &history, Trash &trash,
        QObject *parent = nullptr);

    // The list as the window opens: the stored order, then the notes of the folder it does not
    // name.
    void loadList();
    // The list order into the settings. It is stored after every add (once the new item's note is
    // first written), removal and move, so that a crash loses no entry; the closing sequence
    // stores it too.
    void storeOrder();
    // The settings entry storeOrder writes, for a save together with other entries.
    SettingsStore::Entry orderSetting() const;
    // Writes an edit of the note editor that is not on disk yet to the note it belongs to. False
    // when that write failed.
    bool flushPendingNote();
    // Writes the edits kept for notes whose write failed, while the editor's own edit waits (a new
    // item's, for the save question). False when one still fails.
    bool writeKeptEdits();
    // Writes every edit that is not on disk yet, and a new item's note as its "Save ToDo" does,
    // telling the user of each write that fails as "Save ToDo" does. False when one failed.
    bool saveEveryNote();
    // The "Save ToDo" button; the closing sequence presses it for a new item.
    void cmdSaveNote_Click();
    // Empties the list (the notes stay on disk).
    void clearList();
    // The titles of notes whose last write failed, for the closing sequence to name.
    QStringList unsavedNotes() const;
    // The row of the selected entry, -1 when none is.
    int selectedRow() const;
    // Selects row again when the selection has moved away from it since selectedRow gave it. It
    // loads a note only when selecting would load one anyway.
    void reselectRow(int row);

    // The title of the entry whose note the editor shows; empty when it shows no entry's note.
    QString editorOwner() const;
    // The titles of the list, top to bottom.
    QStringList titles() const;
    // The note file of a title; empty when it has none.
    QString notePath(const QString &title) const { return m_store.notePath(title); }
    // The edit of a note whose write failed, kept until it is written.
    std::optional<QByteArray> keptEdit(const QString &title) const;
    // Shows the note of the entry at row through the normal selection, also when row is the
    // current one but the editor shows another note. False (nothing changes) while a new item
    // waits for its first save.
    bool showEntry(int row);

    // The text of the message this area shows for a title that is too long.
    static QString titleTooLongText();
    // The note file of the entry the editor shows; empty when it shows none.
    QString ownerNotePath() const;
    // The editor shows rtf (an earlier version of its note), which is written at once as an
    // explicit save would write it. False when there is no owner or the write failed.
    bool restoreNote(const QByteArray &rtf);
    // The note files the folder held when the list was loaded.
    QStringList noteFilesAtLoad() const { return m_filesAtLoad; }
    // Another program changed the file of the note the editor shows (a sync tool brought another
    // computer's version): an editor without edits shows the file now, what it showed kept as an
    // earlier version first; one holding an edit writes it at once, which keeps the other version
    // beside the file and tells the user.
    void noteFileChangedOutside(const QString &path);
    // Note files another program put in the folder: their entries are added at the end of the
    // list, and the order stored.
    void noteFilesAppeared(const QStringList &names);

    // The message when a removed note's file could be neither put in the trash nor kept in its
    // history.
    static QString notRemovedText(const QString &path, const QString &reason);

signals:
    // The command buttons of the window lock while a new item waits for its first save, and
    // unlock once it is saved.
    void commandButtonsLocked(bool locked);

private:
    using Report = ProjectNoteOwner::Report;
    using WriteResult = ProjectNoteOwner::WriteResult;

    void lstToDo_Click();
    void rtfToDo_Change();
    void rtfToDo_KeyUp();
    void Save_Note();
    void cmdNewToDo_Click();
    void cmdRemToDo_Click();
    void cmdUp_Click();
    void cmdDOWN_Click();
    // The note file of a removed entry goes to the trash, else into its history.
    void putAwayNoteFile(const QString &path);

    WriteResult writeOwnerNote(Report report);
    // What follows a write of the editor's note, at once or from the writer's thread.
    void ownerWritten(WriteResult result);
    bool flushEditor();
    void showNoteOf(QListWidgetItem *item);
    // A large note opens while the window goes on answering: nobody owns the editor meanwhile, so
    // no save writes it, and it takes no typing until it is shown.
    void startOpening(QListWidgetItem *item, const QString &path);
    void noteOpened(bool loaded, bool leftOut);
    void stopOpening();
    // The editor shows item's note (or nothing, when its file could not be loaded).
    void takeOwnership(
        QListWidgetItem *item, const QString &path, bool exists, bool loaded, bool leftOut);
    void emptyEditor();
    // The editor shows its note's file anew, the reader's place kept as near as it was.
    void reloadOwner(const QString &path);
    void setOwner(QListWidgetItem *item);
    void selectRow(int row);
    // The current entry when it is also selected, else nothing.
    QListWidgetItem *selectedItem() const;
    void moveSelected(int step);
    void ownerRowsAboutToGo(int first, int last);

    ProjectPanelView view;
    ProjectFlags &flags;
    QString m_applicationFolder;
    SettingsStore &m_settings;
    FileStore &m_files;
    Prompter &m_prompter;
    NoteHistory &m_history;
    Trash &m_trash;
    ProjectStore m_store;
    // The title that owns the editor, whether it was edited, and the edits not written yet.
    ProjectNoteOwner m_notes;

    // The entry whose note the editor shows; null when the editor shows no entry's note. Entries
    // are told apart by item, not by title: m_notes follows its title.
    QListWidgetItem *m_owner = nullptr;
    // The entry whose note is opening in the editor; null when none is.
    QListWidgetItem *m_opening = nullptr;
    // Set while the program changes the editor or the list itself, so that nothing counts as an
    // edit and no selection loads a note.
    bool m_changingEditor = false;
    bool m_quietSelection = false;
    bool m_movingEntry = false;
    QStringList m_filesAtLoad;
    // Set while the owner's note is loaded anew: where the reader was, and whether the editor had
    // the keyboard focus.
    struct Reload
    {
        RichTextBox::Place place;
        bool focused = false;
    };
    std::optional<Reload> m_reload;
};
