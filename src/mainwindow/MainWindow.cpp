#include "mainwindow/MainWindow.h"

#include "daynotes/DayAutosave.h"
#include "daynotes/DayNotes.h"
#include "daynotes/DayTable.h"
#include "editor/NoteEditActions.h"
#include "editor/RichTextBox.h"
#include "editor/SpellChecker.h"
#include "forms/ui_frmMain.h"
#include "help/HelpMenu.h"
#include "help/Links.h"
#include "history/NoteHistory.h"
#include "mainwindow/ClosingSequence.h"
#include "mainwindow/CurrentNote.h"
#include "mainwindow/EarlierVersionsWindow.h"
#include "mainwindow/HeldNoticePrompter.h"
#include "mainwindow/NotePrintCommands.h"
#include "mainwindow/OutsideChanges.h"
#include "mainwindow/WindowPosition.h"
#include "mainwindow/WindowShortcuts.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "projects/ProjectNoteOwner.h"
#include "projects/ProjectPanel.h"
#include "projects/StoredFileLink.h"
#include "search/FindAllWindow.h"
#include "search/NoteText.h"
#include "search/NoteTextCache.h"
#include "storage/FileStore.h"
#include "storage/NoteWriter.h"
#include "storage/SettingsKeys.h"
#include "storage/SettingsStore.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {
// How often the window asks for the frame's size while the window manager has not framed it: often
// for the first two seconds, then now and then for as long as it takes.
constexpr int framePlacementIntervalMs = 20;
constexpr int framePlacementQuickChecks = 100;
constexpr int framePlacementLateIntervalMs = 500;
// Where the day boxes sit inside the week tabs, tab strip included, in pixels (90, 360, 10480, 3020
// twips).
const QRect dayBoxRect(6, 24, 699, 201);
constexpr double noteFontPoints = 10.0;
const QString outsideChangeCaption = QStringLiteral("Changed Outside Quillmark");
} // namespace

MainWindow::MainWindow(const MainWindowServices &services, QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::frmMain>())
    , m_services(services)
    , m_prompter(std::make_unique<HeldNoticePrompter>(*services.prompter))
{
    ui->setupUi(this);
    // Every note and day file the store replaces leaves an earlier version behind; a version that
    // cannot be kept is told once, and the save goes on.
    m_history = std::make_shared<NoteHistory>(services.applicationFolder, *services.clock);
    m_history->setFailureHandler([this](const QString &reason) {
        m_prompter->notice(versionsNotKeptText(reason), versionsCaption());
    });
    services.files->setVersionKeeper(m_history);
    // Made before the panels that queue writes on it, and gone before them: its destruction ends
    // the writes still under way.
    m_writer = std::make_unique<NoteWriter>(*services.files, services.backgroundWrites);
    // A held size, a minimise button and no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    const ProjectPanelView projectView { ui->lstToDo, ui->rtfToDo, ui->cmdNewToDo, ui->cmdRemToDo,
        ui->cmdUp, ui->cmdDOWN, ui->cmdSaveNote };
    m_projects
        = new ProjectPanel(projectView, m_flags, services.applicationFolder, *services.settings,
            *services.files, *m_writer, *m_prompter, *m_history, *services.trash, this);
    connect(m_projects, &ProjectPanel::commandButtonsLocked, this, &MainWindow::lockCommandButtons);
    m_days = new DayNotes(dayNotesView(), services.applicationFolder, *services.files, *m_writer,
        *m_prompter, services.resetDaysIntervalMs, this);
    auto *dayAutosave = new DayAutosave(*m_days, ui->tabDays, *m_prompter, m_days);
    if (services.watchFolders)
        m_outsideChanges = new OutsideChanges(
            *services.files, services.applicationFolder, *m_projects, *m_days, *dayAutosave, this);
    const QString helpFile = services.helpFile.isEmpty()
        ? services.applicationFolder + QStringLiteral("/help.rtf")
        : services.helpFile;
    m_helpMenu
        = new HelpMenu(helpMenuView(), *this, helpFile, *services.files, *services.shell, this);
    m_storedFile = new StoredFileLink(
        storedFileLinkView(), *services.settings, *m_prompter,
        [this](const QString &target) { Goto_URL(target); }, this);
    m_closing = std::make_unique<ClosingSequence>(
        *this, m_flags, *m_projects, *m_days, *services.settings, *m_prompter);
    const auto dayBoxes = dayNotesView().boxes;
    m_currentNote = new CurrentNote(ui->rtfToDo, { dayBoxes.begin(), dayBoxes.end() }, this);

    // A note or day file that another program changed is kept beside it before a save replaces it;
    // the user hears of it without being stopped from typing.
    services.files->setOutsideChangeHandler([this](const QString &path, const QString &keptAs) {
        m_prompter->notice(outsideChangeText(path, keptAs), outsideChangeCaption);
    });

    // Every note box: spelling in the user's language (none without a dictionary), and Ctrl+click
    // on a web or mail link opens it the way the Help menu's links open.
    SpellChecker *spelling = SpellChecker::forLocale(QLocale(), this);
    for (RichTextBox *box : findChildren<RichTextBox *>()) {
        box->setSpellChecker(spelling);
        connect(box, &RichTextBox::openLinkRequested, this, &MainWindow::Goto_URL);
    }

    new WindowShortcuts(*this, { ui->mnuSave, ui->mnuClose, ui->mnuHelpHelpFile });

    m_framePlacementTimer = new QTimer(this);
    m_framePlacementTimer->setInterval(framePlacementIntervalMs);
    connect(m_framePlacementTimer, &QTimer::timeout, this, &MainWindow::placeFrame);

    connect(ui->cmdClose, &QAbstractButton::clicked, this, &MainWindow::cmdClose_Click);
    connect(ui->cmdClose2, &QAbstractButton::clicked, this, &MainWindow::cmdClose2_Click);
    connect(ui->mnuClose, &QAction::triggered, this, &MainWindow::mnuClose_Click);
    connect(ui->cmdSaveAllNow, &QAbstractButton::clicked, this, &MainWindow::cmdSaveAllNow_Click);
    connect(ui->mnuSave, &QAction::triggered, this, &MainWindow::mnuSave_Click);
    connect(ui->mnuOptionsClearProjectList, &QAction::triggered, this,
        &MainWindow::mnuOptionsClearProjectList_Click);
    connect(ui->mnuOptionsEarlierVersions, &QAction::triggered, this,
        &MainWindow::mnuOptionsEarlierVersions_Click);
    addNoteCommand(ui->mnuOptionsEarlierVersions);

    m_textCache = std::make_shared<NoteTextCache>();
    connect(ui->mnuOptionsFindAll, &QAction::triggered, this, &MainWindow::mnuOptionsFindAll_Click);
    // A match waiting for its large note to open is dropped when another entry is selected.
    connect(ui->lstToDo, &QListWidget::currentRowChanged, this,
        [this] { disconnect(m_pendingSearchHit); });
    // The right-click menu has no access key left for it; its shortcut is the Options entry's,
    // shown there but held by the menu bar's entry alone.
    auto *findAll = new QAction(QStringLiteral("Find in All Notes..."), this);
    findAll->setObjectName(QStringLiteral("actFindAllNotes"));
    findAll->setShortcut(ui->mnuOptionsFindAll->shortcut());
    findAll->setShortcutContext(Qt::WidgetShortcut);
    connect(findAll, &QAction::triggered, this, &MainWindow::mnuOptionsFindAll_Click);
    addNoteCommand(findAll);

    new NotePrintCommands(
        ui->mnuPrint, ui->mnuExportPdf, *m_currentNote, ui->rtfToDo,
        [this] { return currentNoteTitle(); }, *m_prompter, *services.files, this);
#if QT_CONFIG(sessionmanager)
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &MainWindow::commitData);
#endif
}

MainWindow::~MainWindow()
{
    // The panels queue writes on the note writer until they are gone (a day box that loses the
    // focus as the window goes writes its day): they go first, and the writer, gone next, finishes
    // what they queued.
    delete m_days;
    m_days = nullptr;
    delete m_projects;
    m_projects = nullptr;
    // The writer finishes its writes while the history still hears of them; once the history is
    // gone, the store keeps no more versions. The store itself may be gone already (a test's).
    m_writer.reset();
}

DayNotesView MainWindow::dayNotesView() const
{
    return { { ui->rtfMonday, ui->rtfTuesday, ui->rtfWednesday, ui->rtfThursday, ui->rtfFriday,
                 ui->rtfSaturday, ui->rtfSunday },
        { ui->chkSaveDay_0, ui->chkSaveDay_1, ui->chkSaveDay_2, ui->chkSaveDay_3, ui->chkSaveDay_4,
            ui->chkSaveDay_5, ui->chkSaveDay_6 } };
}

HelpMenuView MainWindow::helpMenuView() const
{
    return { ui->mnuHelpHelpFile, ui->mnuHelpAbout, ui->mnuHelpOnline, ui->mnuHelpOtherProducts };
}

StoredFileLinkView MainWindow::storedFileLinkView() const
{
    return { ui->cmdLeads, ui->chkMem };
}

void MainWindow::showWindow()
{
    if (!m_loaded)
        Form_Load();
    else
        show();
}

// The opening sequence: every step stands by itself; none shows a message.
void MainWindow::Form_Load()
{
    m_loaded = true;
    // 1. The week tabs line up with the project frame.
    ui->tabDays->move(ui->fraToDo->x(), ui->tabDays->y());
    ui->tabDays->resize(ui->fraToDo->width(), ui->tabDays->height());
    // 2. Where the window was left.
    restorePosition();
    // 3. Today's weekday in front.
    selectTodaysTab();
    // 4. Every note box empty at 10 points; the day boxes share one rectangle.
    prepareNoteBoxes();
    // 5. The note editor lines up with the list and waits for an entry.
    ui->rtfToDo->setGeometry(
        ui->rtfToDo->x(), ui->lstToDo->y(), ui->rtfToDo->width(), ui->lstToDo->height());
    ui->rtfToDo->setEnabled(false);
    // 6. The project list.
    m_projects->loadList();
    // 7. The file operations are the injected file store.
    // 8. The day notes.
    m_days->load();
    // 9. Show the window; its first resize fixes its size. The tab control lays out its pages only
    // once it is visible, so the day boxes take their final place now.
    show();
    placeDayBoxes();
    if (m_storedLeft.has_value() != m_storedTop.has_value())
        moveToStoredPosition();
    // The window manager frames the window after it is shown: the frame moves to the stored
    // position as soon as its size is known.
    if (m_framePlacement.isPending()) {
        placeFrame();
        if (m_framePlacement.isPending())
            m_framePlacementTimer->start();
    }
    // 10. The starting state.
    m_closing->setSaveDaysOnly(false);
    m_flags.blnUnsavedItem = false;
    m_flags.blnClosing = false;
    // 11. An empty list cannot be used.
    if (ui->lstToDo->count() < 1)
        ui->lstToDo->setEnabled(false);
    // 12. Nothing to save yet.
    ui->cmdSaveNote->setEnabled(false);
    // 13. The save marks' timer waits for a save.
    m_days->disarmReset();
    // From now on, what other programs do to the notes' folders shows at once.
    if (m_outsideChanges)
        m_outsideChanges->start();
    m_opened = true;
}

std::optional<int> MainWindow::storedCoordinate(const SettingsKeys::Setting &setting) const
{
    const auto twips = WindowPosition::parseTwips(
        m_services.settings->get(setting.section, setting.key, setting.defaultValue));
    if (!twips)
        return std::nullopt;
    return WindowPosition::twipsToPixels(*twips);
}

void MainWindow::restorePosition()
{
    m_storedLeft = storedCoordinate(SettingsKeys::windowLeft);
    m_storedTop = storedCoordinate(SettingsKeys::windowTop);
    // With one coordinate unusable, the window is placed once the platform has placed it: the other
    // axis stays where the platform put it.
    if (m_storedLeft && m_storedTop)
        moveToStoredPosition();
}

void MainWindow::moveToStoredPosition()
{
    const QPoint asked(m_storedLeft.value_or(x()), m_storedTop.value_or(y()));
    // A window left on a monitor that is gone would open where nobody can see it, and one whose
    // title bar lies above the screen could not be dragged.
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const int fallback = WindowPosition::twipsToPixels(SettingsKeys::defaultWindowTwips);
    move(WindowPosition::keptOnScreen(asked, heldSize(), screens, QPoint(fallback, fallback)));
    // The position is the frame's, as the closing stores it; a window that has no frame yet puts
    // its client area there.
    if (WindowPosition::platformReportsPosition(QGuiApplication::platformName()))
        m_framePlacement.start(pos());
}

void MainWindow::placeFrame()
{
    const QWindow *handle = windowHandle();
    if (handle && m_framePlacement.isPending()) {
        if (const auto client
            = m_framePlacement.clientMove(geometry().topLeft(), handle->frameMargins()))
            setGeometry(QRect(*client, size()));
    }
    // The frame may come late, right after the desktop starts; a window manager that draws no frame
    // never reports one, and is asked less often.
    if (++m_framePlacementChecks == framePlacementQuickChecks)
        m_framePlacementTimer->setInterval(framePlacementLateIntervalMs);
    if (!m_framePlacement.isPending())
        m_framePlacementTimer->stop();
}

void MainWindow::selectTodaysTab()
{
    const QDate today = m_services.clock->today();
    if (today.isValid())
        ui->tabDays->setCurrentIndex(today.dayOfWeek() - 1);
}

void MainWindow::prepareNoteBoxes()
{
    const QList<RichTextBox *> boxes = findChildren<RichTextBox *>();
    for (RichTextBox *box : boxes) {
        box->setFontSize(noteFontPoints);
        box->setText(QString());
    }
    placeDayBoxes();
}

void MainWindow::addNoteCommand(QAction *command)
{
    m_noteCommands.append(command);
    for (RichTextBox *box : findChildren<RichTextBox *>())
        box->editActions()->setNoteCommands(m_noteCommands);
}

QString MainWindow::currentNoteTitle() const
{
    const int day = m_currentNote->dayIndex();
    return day < 0 ? m_projects->editorOwner() : DayTable::caption(day);
}

QString MainWindow::currentNotePath() const
{
    const int day = m_currentNote->dayIndex();
    return day < 0 ? m_projects->ownerNotePath() : m_days->filePath(day);
}

QString MainWindow::versionsNotKeptText(const QString &reason)
{
    return QStringLiteral(
        "Earlier versions of your notes cannot be kept: %1.  Your notes are still saved.")
        .arg(reason);
}

void MainWindow::mnuOptionsEarlierVersions_Click()
{
    const QString path = currentNotePath();
    if (path.isEmpty()) {
        m_prompter->message(
            QStringLiteral("Choose a ToDo item first: its earlier versions are shown then."),
            versionsCaption());
        return;
    }
    auto *window = new EarlierVersionsWindow(
        currentNoteTitle(), [this, path] { return m_history->entries(path); },
        [this](const QByteArray &rtf) { return restoreCurrentNote(rtf); }, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->open();
}

bool MainWindow::restoreCurrentNote(const QByteArray &rtf)
{
    const QString path = currentNotePath();
    RichTextBox *box = m_currentNote->box();
    if (path.isEmpty() || !box)
        return false;
    // Whatever the box holds now stays within reach as a version of its own.
    QString error;
    if (!m_history->keepContent(path, box->textRTF(), &error)) {
        m_prompter->message(QStringLiteral("The note's current text could not be kept as an "
                                           "earlier version: %1.  Nothing was restored.")
                                .arg(error),
            versionsCaption());
        return false;
    }
    const int day = m_currentNote->dayIndex();
    if (day < 0)
        return m_projects->restoreNote(rtf);
    box->loadRtf(rtf);
    bool written = false;
    QString reason;
    m_days->writeDay(day, [&](bool ok, const QString &why) {
        written = ok;
        reason = why;
    });
    m_writer->waitFor(path);
    if (!written)
        m_prompter->message(QStringLiteral("The restored text of %1 could not be saved: %2")
                                .arg(DayTable::caption(day), reason),
            versionsCaption());
    return written;
}

bool MainWindow::isDayBox(const QWidget *box)
{
    return box->objectName().toLower() != QLatin1String("rtftodo");
}

void MainWindow::placeDayBoxes()
{
    const QList<RichTextBox *> boxes = findChildren<RichTextBox *>();
    for (RichTextBox *box : boxes) {
        if (!isDayBox(box))
            continue;
        QWidget *page = box->parentWidget();
        const QPoint topLeft = page->mapFrom(ui->tabDays, dayBoxRect.topLeft());
        box->setGeometry(QRect(topLeft, dayBoxRect.size()));
    }
}

QSize MainWindow::heldSize() const
{
    const int menuHeight = menuBar() ? menuBar()->sizeHint().height() : 0;
    const QRect tabs = ui->tabDays->geometry();
    return QSize(ui->fraToDo->width(), menuHeight + tabs.y() + tabs.height());
}

void MainWindow::Form_Resize()
{
    if (isMinimized())
        return;
    // Qt's equivalent of a size held on every resize: a fixed size the user cannot drag at all.
    const QSize size = heldSize();
    if (minimumSize() != size || maximumSize() != size)
        setFixedSize(size);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_loaded)
        Form_Resize();
}

void MainWindow::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    if (m_loaded && m_framePlacement.isPending())
        placeFrame();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_loaded)
        Form_Resize();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A notice shown by a program that then ends is never seen: what the close kept aside is named
    // in one message before the end, and shown as notices when the window stays.
    m_prompter->hold();
    if (m_closing->run()) {
        showKeptCopies(m_prompter->takeHeld());
        event->accept();
        m_helpMenu->discardForEnd();
        if (m_services.quit)
            m_services.quit();
    } else {
        m_prompter->release();
        event->ignore();
    }
}

void MainWindow::showKeptCopies(const QList<HeldNoticePrompter::Notice> &held)
{
    // A save that failed was named by the closing's own question.
    QStringList kept;
    for (const HeldNoticePrompter::Notice &notice : held)
        if (notice.caption != ProjectNoteOwner::saveCaption())
            kept.append(notice.text);
    if (!kept.isEmpty())
        m_prompter->message(kept.join(QStringLiteral("\r\n\r\n")), outsideChangeCaption);
}

QString MainWindow::outsideChangeText(const QString &path, const QString &keptAs)
{
    return QStringLiteral(
        "%1 was changed by another program since Quillmark last read, saved or looked for it.  "
        "That version is kept as %2 in the same folder.")
        .arg(QDir::toNativeSeparators(path), QFileInfo(keptAs).fileName());
}

void MainWindow::Goto_URL(const QString &target)
{
    Links::open(*m_services.shell, target);
}

void MainWindow::cmdClose_Click()
{
    m_closing->cmdClose_Click();
}

void MainWindow::cmdClose2_Click()
{
    cmdClose_Click();
}

void MainWindow::mnuClose_Click()
{
    close();
}

void MainWindow::cmdSaveAllNow_Click()
{
    m_closing->setSaveDaysOnly(true);
    close();
}

void MainWindow::mnuSave_Click()
{
    cmdSaveAllNow_Click();
}

void MainWindow::mnuOptionsClearProjectList_Click()
{
    m_closing->mnuOptionsClearProjectList_Click();
}

void MainWindow::mnuOptionsFindAll_Click()
{
    if (!m_findAll) {
        m_findAll = new FindAllWindow([this] { return searchSources(); }, m_textCache, this);
        m_findAll->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_findAll, &FindAllWindow::showHit, this, &MainWindow::showSearchHit);
    }
    m_findAll->present();
}

FindAllWindow *MainWindow::findAllWindow() const
{
    return m_findAll;
}

QList<SearchSource> MainWindow::searchSources() const
{
    QList<SearchSource> sources;
    const QStringList titles = m_projects->titles();
    const QString owner = m_projects->editorOwner();
    sources.reserve(titles.size() + DayTable::dayCount);
    for (int row = 0; row < titles.size(); ++row) {
        const QString &title = titles.at(row);
        SearchSource source { title, row, -1, m_projects->notePath(title), std::nullopt };
        if (!owner.isEmpty() && title == owner)
            source.text = ui->rtfToDo->toPlainText();
        else if (const std::optional<QByteArray> kept = m_projects->keptEdit(title))
            source.text = NoteText::fromRtf(*kept);
        else if (source.path.isEmpty())
            continue;
        sources.append(source);
    }
    for (int day = 0; day < DayTable::dayCount; ++day)
        sources.append(
            { DayTable::caption(day), -1, day, QString(), m_days->box(day)->toPlainText() });
    return sources;
}

void MainWindow::showSearchHit(
    const SearchHit &hit, const QString &needle, const SearchOptions &options)
{
    if (hit.day >= 0 && hit.day < DayTable::dayCount) {
        ui->tabDays->setCurrentIndex(hit.day);
        selectSearchHit(m_days->box(hit.day), hit.occurrence, needle, options);
        return;
    }
    // The row may have moved since the search: the title tells.
    const QStringList titles = m_projects->titles();
    const int row = hit.row >= 0 && hit.row < titles.size() && titles.at(hit.row) == hit.label
        ? hit.row
        : int(titles.indexOf(hit.label));
    if (row < 0 || !m_projects->showEntry(row))
        return;
    RichTextBox *box = ui->rtfToDo;
    disconnect(m_pendingSearchHit);
    if (box->isOpening()) {
        // A large note opens in the background: the match is selected once it is shown, unless
        // another selection comes first.
        m_pendingSearchHit = connect(
            box, &RichTextBox::noteOpened, this, [this, box, hit, needle, options](bool loaded) {
                disconnect(m_pendingSearchHit);
                if (loaded && m_projects->editorOwner() == hit.label)
                    selectSearchHit(box, hit.occurrence, needle, options);
            });
        return;
    }
    if (m_projects->editorOwner() == hit.label)
        selectSearchHit(box, hit.occurrence, needle, options);
}

void MainWindow::selectSearchHit(
    RichTextBox *box, int occurrence, const QString &needle, const SearchOptions &options)
{
    const NoteMatcher matcher(needle, options);
    const QString text = box->toPlainText();
    qsizetype position = matcher.nth(text, occurrence);
    if (position < 0)
        position = matcher.nth(text, 0);
    if (position >= 0) {
        QTextCursor cursor(box->document());
        cursor.setPosition(int(position));
        cursor.setPosition(int(position + matcher.length()), QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
        box->ensureCursorVisible();
    }
    activateWindow();
    raise();
    box->setFocus(Qt::OtherFocusReason);
}

void MainWindow::lockCommandButtons(bool locked)
{
    // The nine command buttons of the window, in the order of the window definition: a locked
    // button that has the focus hands it on along the focus chain, so the order decides where the
    // focus lands.
    QAbstractButton *const commandButtons[]
        = { ui->cmdUp, ui->cmdDOWN, ui->cmdNewToDo, ui->cmdRemToDo, ui->cmdLeads, ui->cmdSaveNote,
              ui->cmdClose, ui->cmdSaveAllNow, ui->cmdClose2 };
    for (QAbstractButton *button : commandButtons)
        button->setEnabled(!locked);
}

void MainWindow::commitData()
{
    if (!m_opened)
        return;
    // Nothing may hold up the log-out: the copies kept are beside their files, unannounced.
    m_prompter->hold();
    m_closing->saveForSessionEnd();
    m_prompter->takeHeld();
}
