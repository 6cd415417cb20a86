// The main window: the project area above, the seven day notes below. It opens where it was left,
// holds its size, and saves everything through its closing sequence.
#pragma once

#include "mainwindow/FramePlacement.h"
#include "mainwindow/HeldNoticePrompter.h"
#include "mainwindow/MainWindowServices.h"
#include "projects/ProjectFlags.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <optional>

namespace Ui {
class frmMain;
}
namespace SettingsKeys {
struct Setting;
}
class ClosingSequence;
class CurrentNote;
class DayNotes;
class FindAllWindow;
class NoteTextCache;
struct SearchHit;
struct SearchOptions;
struct SearchSource;
struct DayNotesView;
class HelpMenu;
class NoteHistory;
class NoteWriter;
class OutsideChanges;
struct HelpMenuView;
class ProjectPanel;
class QAction;
class QTimer;
class RichTextBox;
class StoredFileLink;
struct StoredFileLinkView;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(const MainWindowServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Shows the window. The first time, this runs the opening sequence, which shows it.
    void showWindow();
    bool isLoaded() const { return m_loaded; }

    // The desktop session ends (log-out, shutdown): save as a close would, asking nothing. Before
    // the opening sequence has finished the boxes and the list are not yet read, and nothing is
    // written.
    void commitData();

    // Opens a web address or a document with the program the desktop associates with it.
    void Goto_URL(const QString &target);

    ProjectFlags &projectFlags() { return m_flags; }
    ProjectPanel &projects() { return *m_projects; }
    DayNotes &days() { return *m_days; }
    HelpMenu &helpMenu() { return *m_helpMenu; }
    ClosingSequence &closingSequence() { return *m_closing; }
    CurrentNote &currentNote() { return *m_currentNote; }
    // The current note's name for a caption: the project title or the weekday.
    QString currentNoteTitle() const;
    // The file of the current note; empty when the project note box shows no entry's note.
    QString currentNotePath() const;
    NoteHistory &history() { return *m_history; }
    // Null unless the window follows its folders (MainWindowServices::watchFolders).
    OutsideChanges *outsideChanges() const { return m_outsideChanges; }
    // "Earlier Versions...": the window of the current note's versions, opened window-modal
    // without waiting for it to close.
    void mnuOptionsEarlierVersions_Click();
    // The current note shows rtf and it is written, its current text kept as a version first.
    bool restoreCurrentNote(const QByteArray &rtf);
    // The notice that a version could not be kept, and its caption.
    static QString versionsNotKeptText(const QString &reason);
    static QString versionsCaption() { return QStringLiteral("Earlier Versions"); }
    // The notice that a file changed outside the program was kept under another name.
    static QString outsideChangeText(const QString &path, const QString &keptAs);
    // The size the window holds: the whole "Projects:" frame across, the whole week tabs down.
    QSize heldSize() const;
    // The "Find in All Notes" window while it is open.
    FindAllWindow *findAllWindow() const;
    // The notes a search goes through: every entry of the list, then the seven days; a note in
    // its box as the box holds it.
    QList<SearchSource> searchSources() const;
    // Shows a match found by "Find in All Notes" in its note box, selected, with the keyboard
    // focus. A project note is shown through the list's selection; while a new item waits for its
    // first save the list is locked and nothing happens.
    void showSearchHit(const SearchHit &hit, const QString &needle, const SearchOptions &options);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // What each panel sees of the form: its own widgets and nothing else.
    DayNotesView dayNotesView() const;
    HelpMenuView helpMenuView() const;
    StoredFileLinkView storedFileLinkView() const;
    // At a real close, one message names the copies kept while closing.
    void showKeptCopies(const QList<HeldNoticePrompter::Notice> &held);

    void Form_Load();
    void Form_Resize();

    void restorePosition();
    std::optional<int> storedCoordinate(const SettingsKeys::Setting &setting) const;
    void moveToStoredPosition();
    void placeFrame();
    void selectTodaysTab();
    void prepareNoteBoxes();
    void placeDayBoxes();
    // A command of the window on the current note, offered in every note box's right-click menu
    // too.
    void addNoteCommand(QAction *command);
    // Selects the occurrence-th match of needle in box and gives the box the keyboard focus.
    void selectSearchHit(
        RichTextBox *box, int occurrence, const QString &needle, const SearchOptions &options);
    static bool isDayBox(const QWidget *box);

    void cmdClose_Click();
    void cmdClose2_Click();
    void mnuClose_Click();
    void cmdSaveAllNow_Click();
    void mnuSave_Click();
    void mnuOptionsClearProjectList_Click();
    void mnuOptionsFindAll_Click();
    // The project panel locks the command buttons while a new item waits for its first save.
    void lockCommandButtons(bool locked);

    std::unique_ptr<Ui::frmMain> ui;
    MainWindowServices m_services;
    // Told of every replaced note and day file by the file store; outlives the note writer.
    std::shared_ptr<NoteHistory> m_history;
    std::unique_ptr<NoteWriter> m_writer;
    // Every handler's questions and notices; the closing holds the notices.
    std::unique_ptr<HeldNoticePrompter> m_prompter;
    ProjectFlags m_flags;
    ProjectPanel *m_projects = nullptr;
    DayNotes *m_days = nullptr;
    HelpMenu *m_helpMenu = nullptr;
    StoredFileLink *m_storedFile = nullptr;
    std::unique_ptr<ClosingSequence> m_closing;
    CurrentNote *m_currentNote = nullptr;
    OutsideChanges *m_outsideChanges = nullptr;
    QList<QAction *> m_noteCommands;
    // A match of "Find in All Notes" waiting for its note to open.
    QMetaObject::Connection m_pendingSearchHit;
    std::shared_ptr<NoteTextCache> m_textCache;
    QPointer<FindAllWindow> m_findAll;
    bool m_loaded = false; // the opening sequence has started
    bool m_opened = false; // and has finished
    // The frame goes where the stored position says once the window manager has framed the window.
    FramePlacement m_framePlacement;
    QTimer *m_framePlacementTimer = nullptr;
    int m_framePlacementChecks = 0;
    // The stored position in pixels; a coordinate that cannot be read is left to the platform.
    std::optional<int> m_storedLeft;
    std::optional<int> m_storedTop;
};
