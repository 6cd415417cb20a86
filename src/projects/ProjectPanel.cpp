#include "projects/ProjectPanel.h"

#include "editor/RichTextBox.h"
#include "history/NoteHistory.h"
#include "platform/Prompter.h"
#include "platform/Trash.h"
#include "projects/ProjectFlags.h"
#include "projects/ProjectTitleDelegate.h"
#include "storage/FileStore.h"
#include "storage/KeptCopyNotices.h"
#include "storage/SettingsKeys.h"
#include "storage/SettingsStore.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QListWidget>
#include <QLoggingCategory>
#include <QScopedValueRollback>
#include <QSet>

#include <utility>

Q_LOGGING_CATEGORY(lcProjects, "quillmark.projects", QtWarningMsg)

namespace {
const QString cancelCaption = QStringLiteral("Cancel ToDo Item");
} // namespace

ProjectPanel::ProjectPanel(const ProjectPanelView &view, ProjectFlags &flags,
    const QString &applicationFolder, SettingsStore &settings, FileStore &files, NoteWriter &writer,
    Prompter &prompter, NoteHistory &history, Trash &trash, QObject *parent)
    : QObject(parent)
    , view(view)
    , flags(flags)
    , m_applicationFolder(applicationFolder)
    , m_settings(settings)
    , m_files(files)
    , m_prompter(prompter)
    , m_history(history)
    , m_trash(trash)
    , m_store(applicationFolder)
    , m_notes(m_store, files, writer, prompter)
{
    // Every entry is one line of text: the list lays out thousands of them without measuring each.
    view.lstToDo->setUniformItemSizes(true);
    new ProjectTitleDelegate(view.lstToDo);

    // The current row, not a mouse signal: a selection made by the program loads the note at once.
    connect(view.lstToDo, &QListWidget::currentRowChanged, this, &ProjectPanel::lstToDo_Click);
    connect(view.rtfToDo, &RichTextBox::Change, this, &ProjectPanel::rtfToDo_Change);
    connect(view.rtfToDo, &RichTextBox::KeyUp, this, &ProjectPanel::rtfToDo_KeyUp);
    connect(view.rtfToDo, &RichTextBox::noteOpened, this, &ProjectPanel::noteOpened);
    connect(view.cmdSaveNote, &QAbstractButton::clicked, this, &ProjectPanel::cmdSaveNote_Click);
    connect(view.cmdNewToDo, &QAbstractButton::clicked, this, &ProjectPanel::cmdNewToDo_Click);
    connect(view.cmdRemToDo, &QAbstractButton::clicked, this, &ProjectPanel::cmdRemToDo_Click);
    connect(view.cmdUp, &QAbstractButton::clicked, this, &ProjectPanel::cmdUp_Click);
    connect(view.cmdDOWN, &QAbstractButton::clicked, this, &ProjectPanel::cmdDOWN_Click);

    // The editor never keeps an owner that has left the list, whoever took it out.
    QAbstractItemModel *model = view.lstToDo->model();
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
        [this](const QModelIndex &, int first, int last) { ownerRowsAboutToGo(first, last); });
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { setOwner(nullptr); });
}

// The folder scan gives the list as the folder lists its notes; a stored order comes first, and the
// notes it does not name follow it.
void ProjectPanel::loadList()
{
    const QStringList names = m_files.listFiles(m_store.notesFolder());
    m_filesAtLoad = names;
    QStringList scanned;
    for (const QString &name : names) {
        if (const std::optional<QString> title = ProjectStore::titleFromFileName(name))
            scanned.append(*title);
        QCoreApplication::processEvents();
    }

    const std::optional<QStringList> stored
        = ProjectStore::titlesFromOrder(m_settings.get(SettingsKeys::projectOrder.section,
            SettingsKeys::projectOrder.key, SettingsKeys::projectOrder.defaultValue));

    QScopedValueRollback quiet(m_quietSelection, true);
    view.lstToDo->clear();
    view.lstToDo->addItems(ProjectStore::listFromScanAndOrder(scanned, stored));
    // A list that gets the focus without a current entry makes its first entry current by itself,
    // which would load that note although nobody selected it; a current entry set (to none) by the
    // program keeps it from doing so.
    view.lstToDo->setCurrentIndex(QModelIndex());
}

void ProjectPanel::storeOrder()
{
    if (!m_settings.saveAll({ orderSetting() }))
        qCInfo(lcProjects) << "The list order could not be stored.";
}

SettingsStore::Entry ProjectPanel::orderSetting() const
{
    // The titles are read straight from the list: walking the selection through every entry would
    // leave an entry selected that the editor does not show.
    QStringList titles;
    titles.reserve(view.lstToDo->count());
    for (int row = 0; row < view.lstToDo->count(); ++row)
        titles.append(view.lstToDo->item(row)->text());
    return { SettingsKeys::projectOrder.section, SettingsKeys::projectOrder.key,
        ProjectStore::orderFromTitles(titles) };
}

bool ProjectPanel::flushPendingNote()
{
    const bool editorWritten = flushEditor();
    const bool keptWritten = m_notes.writeKeptEdits();
    return editorWritten && keptWritten;
}

bool ProjectPanel::writeKeptEdits()
{
    return m_notes.writeKeptEdits();
}

bool ProjectPanel::saveEveryNote()
{
    bool ownerWritten = true;
    if (flags.blnUnsavedItem) {
        // A new item is saved the way its "Save ToDo" saves it, so that it is an ordinary entry
        // afterwards whatever happens next.
        cmdSaveNote_Click();
        ownerWritten = !flags.blnUnsavedItem;
    } else if (m_owner && m_notes.isEdited()) {
        ownerWritten = writeOwnerNote(Report::Always) != WriteResult::Failed;
    }
    const bool keptWritten = m_notes.writeKeptEdits(Report::Always);
    return ownerWritten && keptWritten;
}

void ProjectPanel::clearList()
{
    flushPendingNote();
    {
        QScopedValueRollback quiet(m_quietSelection, true);
        view.lstToDo->clear();
    }
    emptyEditor();
    view.rtfToDo->setEnabled(false);
}

QStringList ProjectPanel::unsavedNotes() const
{
    return m_notes.unsavedNotes();
}

int ProjectPanel::selectedRow() const
{
    return view.lstToDo->currentRow();
}

void ProjectPanel::reselectRow(int row)
{
    if (row >= 0 && row < view.lstToDo->count() && view.lstToDo->currentRow() != row)
        view.lstToDo->setCurrentRow(row);
}

QString ProjectPanel::editorOwner() const
{
    return m_notes.owner();
}

QString ProjectPanel::ownerNotePath() const
{
    return m_notes.hasOwner() ? m_store.notePath(m_notes.owner()) : QString();
}

bool ProjectPanel::restoreNote(const QByteArray &rtf)
{
    if (!m_notes.hasOwner())
        return false;
    // Loading the text marks the note edited, like any change of the user's.
    view.rtfToDo->loadRtf(rtf);
    m_notes.markEdited();
    return writeOwnerNote(Report::Always) == WriteResult::Written;
}

QString ProjectPanel::notRemovedText(const QString &path, const QString &reason)
{
    return QStringLiteral("The note file %1 could be put neither in the trash nor in its earlier "
                          "versions: %2.  The item is removed from the list; its file stays where "
                          "it is.")
        .arg(QDir::toNativeSeparators(path), reason);
}

void ProjectPanel::putAwayNoteFile(const QString &path)
{
    // The trash first, where the file manager can bring the note back.
    if (m_trash.moveToTrash(path))
        return;
    QString error;
    if (!m_history.moveRemoved(path, &error).isEmpty())
        return;
    qCInfo(lcProjects) << "Could not put away" << path << error;
    m_prompter.message(notRemovedText(path, error), QStringLiteral("Remove ToDo"));
}

QStringList ProjectPanel::titles() const
{
    QStringList result;
    result.reserve(view.lstToDo->count());
    for (int row = 0; row < view.lstToDo->count(); ++row)
        result.append(view.lstToDo->item(row)->text());
    return result;
}

std::optional<QByteArray> ProjectPanel::keptEdit(const QString &title) const
{
    return m_notes.keptEdit(title);
}

bool ProjectPanel::showEntry(int row)
{
    if (flags.blnUnsavedItem || row < 0 || row >= view.lstToDo->count())
        return false;
    QListWidgetItem *item = view.lstToDo->item(row);
    if (item == m_owner && view.lstToDo->currentRow() == row)
        return true;
    selectRow(row);
    return true;
}

QString ProjectPanel::titleTooLongText()
{
    return QStringLiteral("This title is too long to be used as a file name.");
}

void ProjectPanel::lstToDo_Click()
{
    if (m_quietSelection)
        return;
    QListWidgetItem *item = view.lstToDo->currentItem();
    // Nothing selected: the editor keeps its note, and typing there still belongs to that note.
    if (!item)
        return;
    // A new item's empty note is not replaced, and nothing loads while the closing sequence runs.
    if (flags.blnUnsavedItem || flags.blnClosing)
        return;
    const bool flushed = flushEditor();
    m_notes.writeKeptEdits();
    // Reloading the note being edited after its write failed would throw the edit away.
    if (!flushed && item == m_owner)
        return;
    showNoteOf(item);
}

void ProjectPanel::rtfToDo_Change()
{
    view.cmdSaveNote->setEnabled(true);
    if (!m_changingEditor && !m_opening)
        m_notes.markEdited();
}

void ProjectPanel::rtfToDo_KeyUp()
{
    ++flags.intKeyCount;
    if (flags.intKeyCount >= 2) {
        Save_Note();
        flags.intKeyCount = 0;
    }
}

void ProjectPanel::Save_Note()
{
    // Typing never waits for the disk: the file work runs on the note writer's thread.
    m_notes.writeOwnerSoon([this] { return view.rtfToDo->textRtfPieces(); },
        [this](WriteResult result) { ownerWritten(result); });
}

void ProjectPanel::cmdSaveNote_Click()
{
    if (writeOwnerNote(Report::Always) != WriteResult::Written)
        return;
    emit commandButtonsLocked(false);
    view.cmdSaveNote->setEnabled(false);
    view.lstToDo->setEnabled(true);
}

void ProjectPanel::cmdNewToDo_Click()
{
    const QString typed = m_prompter.input(QStringLiteral("ToDo Item Title:"),
        QStringLiteral("Enter a title for your item:"), QStringLiteral("Title"));
    QString title;
    switch (ProjectStore::checkTypedTitle(typed, &title)) {
    case ProjectStore::TitleProblem::TooShort:
        m_prompter.message(QStringLiteral("Cancel clicked or title too short."), cancelCaption);
        return;
    case ProjectStore::TitleProblem::TooLong:
        m_prompter.message(titleTooLongText(), cancelCaption);
        return;
    case ProjectStore::TitleProblem::None:
        break;
    }

    // Titles are compared without loading any note; only a duplicate is shown.
    for (int row = 0; row < view.lstToDo->count(); ++row) {
        if (view.lstToDo->item(row)->text() == title) {
            selectRow(row);
            m_prompter.message(QStringLiteral("This title already exists in your list."),
                QStringLiteral("Duplicate Entry"));
            return;
        }
    }

    flushPendingNote();
    auto *item = new QListWidgetItem(title);
    view.lstToDo->addItem(item);

    // A note file of this title is already in the folder (the stored order did not list it): the
    // entry comes back with that note, which nothing may overwrite with an empty one.
    if (m_files.fileExists(m_store.notePath(title))) {
        view.lstToDo->setEnabled(true);
        selectRow(view.lstToDo->count() - 1);
        storeOrder();
        return;
    }

    // The order is stored once the new note is first written (writeOwnerNote): until then there
    // is no note on disk for the stored title to stand for.
    flags.blnUnsavedItem = true;
    emptyEditor();
    setOwner(item);
    selectRow(view.lstToDo->count() - 1);
    view.rtfToDo->setEnabled(true);
    view.rtfToDo->setFocus();
    emit commandButtonsLocked(true);
    view.cmdSaveNote->setEnabled(true);
    view.lstToDo->setEnabled(false);
}

void ProjectPanel::cmdRemToDo_Click()
{
    // The current entry counts only while it is selected: a Ctrl+click on it deselects it and
    // leaves it current.
    QListWidgetItem *item = selectedItem();
    if (!item)
        return;
    if (m_prompter.question(QStringLiteral("Remove the selected ToDo item?"),
            QStringLiteral("Confirm"), Prompter::Answer::No)
        == Prompter::Answer::No)
        return;

    const QString title = item->text();
    // A write of the note still under way would bring the file back after its removal.
    m_notes.waitForWrites();
    // An entry without a title never had a note file; there is nothing to look for.
    if (!title.isEmpty()) {
        const QString path = m_store.notePath(title);
        if (!path.isEmpty() && m_files.fileExists(path)) {
            putAwayNoteFile(path);
        } else {
            m_prompter.message(QStringLiteral("ToDo list item: ") + title
                    + QStringLiteral(" was not found.  Item will be removed from active list."),
                QStringLiteral("File Not Found"));
        }
    }

    // An edit of another note is written before the editor is emptied; the removed note's own edit
    // goes with its file.
    if (item == m_owner)
        setOwner(nullptr);
    else
        flushPendingNote();
    m_notes.forgetFailure(title);
    {
        // Qt makes a neighbouring row current when a row goes; nothing may load that entry's note.
        QScopedValueRollback quiet(m_quietSelection, true);
        delete view.lstToDo->takeItem(view.lstToDo->row(item));
        view.lstToDo->setCurrentRow(-1);
        view.lstToDo->clearSelection();
    }
    emptyEditor();
    view.rtfToDo->setEnabled(false);
    storeOrder();
}

void ProjectPanel::cmdUp_Click()
{
    moveSelected(-1);
}

void ProjectPanel::cmdDOWN_Click()
{
    moveSelected(+1);
}

QListWidgetItem *ProjectPanel::selectedItem() const
{
    QListWidgetItem *item = view.lstToDo->currentItem();
    return item && item->isSelected() ? item : nullptr;
}

void ProjectPanel::moveSelected(int step)
{
    QListWidgetItem *item = selectedItem();
    const int count = view.lstToDo->count();
    // An entry without a title has no note to carry along.
    if (!item || item->text().isEmpty() || count == 1)
        return;
    const int row = view.lstToDo->currentRow();
    const int target = row + step;
    if (target < 0 || target >= count)
        return;
    {
        QScopedValueRollback quiet(m_quietSelection, true);
        QScopedValueRollback moving(m_movingEntry, true);
        QListWidgetItem *taken = view.lstToDo->takeItem(row);
        view.lstToDo->insertItem(target, taken);
        view.lstToDo->setCurrentRow(-1);
    }
    // Selecting it again writes what was typed and shows the note from its file.
    view.lstToDo->setCurrentRow(target);
    storeOrder();
}

ProjectPanel::WriteResult ProjectPanel::writeOwnerNote(Report report)
{
    const WriteResult result
        = m_notes.writeOwner([this] { return view.rtfToDo->textRTF(); }, report);
    ownerWritten(result);
    return result;
}

void ProjectPanel::ownerWritten(WriteResult result)
{
    if (result == WriteResult::NothingToWrite) {
        view.cmdSaveNote->setEnabled(false);
    } else if (result == WriteResult::Written && flags.blnUnsavedItem) {
        flags.blnUnsavedItem = false;
        // The new item's note is on disk now: a crash before the next close must not lose its
        // entry.
        storeOrder();
    }
}

bool ProjectPanel::flushEditor()
{
    // What the writer's thread still holds is on disk, and its outcome known, first.
    m_notes.waitForWrites();
    if (!m_notes.isEdited() || !m_owner)
        return true;
    return writeOwnerNote(Report::OncePerNote) != WriteResult::Failed;
}

void ProjectPanel::noteFileChangedOutside(const QString &path)
{
    if (!m_owner || m_opening || flags.blnUnsavedItem || flags.blnClosing
        || path != ownerNotePath())
        return;
    // A write under way ends first: what it kept aside is told, and the file is then its own.
    m_notes.waitForWrites();
    if (m_files.outsideState(path) != FileStore::Outside::Changed)
        return;
    if (m_notes.isEdited()) {
        Save_Note();
        return;
    }
    reloadOwner(path);
}

void ProjectPanel::reloadOwner(const QString &path)
{
    QString error;
    if (!m_history.keepContent(path, view.rtfToDo->textRTF(), &error)) {
        // What the editor shows is not replaced without a copy: it goes to the file instead, and
        // the other program's version is kept beside it.
        qCInfo(lcProjects) << "No version kept before reloading" << path << error;
        m_notes.markEdited();
        Save_Note();
        return;
    }
    const Reload reload { view.rtfToDo->place(), view.rtfToDo->hasFocus() };
    QListWidgetItem *item = m_owner;
    if (m_files.fileSize(path) >= RichTextBox::openInBackgroundBytes) {
        startOpening(item, path);
        m_reload = reload;
        return;
    }
    m_reload = reload;
    QByteArray rtf;
    bool leftOut = false;
    bool loaded = false;
    {
        QScopedValueRollback changing(m_changingEditor, true);
        loaded = m_files.readFile(path, &rtf) && view.rtfToDo->loadRtf(rtf, &leftOut);
    }
    takeOwnership(item, path, true, loaded, leftOut);
}

void ProjectPanel::noteFilesAppeared(const QStringList &names)
{
    const QStringList listed = titles();
    QSet<QString> known(listed.begin(), listed.end());
    QStringList added;
    for (const QString &name : names) {
        const std::optional<QString> title = ProjectStore::titleFromFileName(name);
        if (title && !known.contains(*title)) {
            known.insert(*title);
            added.append(*title);
        }
    }
    if (added.isEmpty())
        return;
    QScopedValueRollback quiet(m_quietSelection, true);
    // A new item waiting for its first save stays last; the order is stored with its note.
    if (flags.blnUnsavedItem) {
        view.lstToDo->insertItems(view.lstToDo->count() - 1, added);
        return;
    }
    view.lstToDo->addItems(added);
    view.lstToDo->setEnabled(true);
    storeOrder();
}

void ProjectPanel::stopOpening()
{
    m_reload.reset();
    // Whatever takes the editor over, a note still opening in it is not wanted any more.
    if (m_opening) {
        m_opening = nullptr;
        view.rtfToDo->cancelOpening();
    }
}

void ProjectPanel::showNoteOf(QListWidgetItem *item)
{
    stopOpening();
    const QString path = m_store.notePath(item->text());
    if (path.isEmpty()) {
        // No note can be kept for this entry: the editor shows nothing and takes no typing.
        emptyEditor();
        view.rtfToDo->setEnabled(false);
        return;
    }
    if (const std::optional<QByteArray> kept = m_notes.keptEdit(item->text())) {
        // The edit that could not be written comes back, still waiting for its write.
        {
            QScopedValueRollback changing(m_changingEditor, true);
            if (!view.rtfToDo->loadRtf(*kept))
                view.rtfToDo->setText(QString());
        }
        m_owner = item;
        m_notes.resumeKeptEdit(item->text());
        view.rtfToDo->setEnabled(true);
        view.rtfToDo->setFocus();
        view.rtfToDo->setCaretPosition(0);
        return;
    }
    const bool exists = m_files.fileExists(path);
    if (exists && m_files.fileSize(path) >= RichTextBox::openInBackgroundBytes) {
        startOpening(item, path);
        return;
    }
    bool loaded = false;
    bool leftOut = false;
    if (exists) {
        QByteArray rtf;
        QScopedValueRollback changing(m_changingEditor, true);
        loaded = m_files.readFile(path, &rtf) && view.rtfToDo->loadRtf(rtf, &leftOut);
    }
    takeOwnership(item, path, exists, loaded, leftOut);
}

void ProjectPanel::startOpening(QListWidgetItem *item, const QString &path)
{
    // What the editor shows now is nobody's note: no save may write it anywhere.
    setOwner(nullptr);
    m_opening = item;
    view.rtfToDo->setEnabled(false);
    FileStore *files = &m_files;
    view.rtfToDo->openNote([files, path](QByteArray *rtf) { return files->readFile(path, rtf); });
}

void ProjectPanel::noteOpened(bool loaded, bool leftOut)
{
    QListWidgetItem *item = m_opening;
    if (!item)
        return;
    const QString path = m_store.notePath(item->text());
    m_opening = nullptr;
    takeOwnership(item, path, true, loaded, leftOut);
}

void ProjectPanel::takeOwnership(
    QListWidgetItem *item, const QString &path, bool exists, bool loaded, bool leftOut)
{
    const std::optional<Reload> reload = std::exchange(m_reload, std::nullopt);
    if (!loaded)
        emptyEditor();
    m_owner = item;
    using KeepAside = ProjectNoteOwner::KeepAside;
    const bool unreadable = exists && !loaded;
    m_notes.setOwner(item->text(),
        unreadable    ? KeepAside::Unreadable
            : leftOut ? KeepAside::AsBroughtIn
                      : KeepAside::Nothing);
    // An empty editor would look like a wiped note: the user hears why, and where the file goes.
    if (unreadable)
        m_prompter.notice(KeptCopyNotices::notReadableText(item->text(),
                              FileStore::nextAsideName(path, KeptCopyNotices::unreadableTag())),
            KeptCopyNotices::notReadableCaption());
    view.rtfToDo->setEnabled(true);
    if (reload) {
        // A note loaded anew leaves the reader where they were, and the keyboard where it was.
        view.rtfToDo->restorePlace(reload->place);
        if (reload->focused)
            view.rtfToDo->setFocus();
        return;
    }
    view.rtfToDo->setFocus();
    view.rtfToDo->setCaretPosition(0);
}

void ProjectPanel::emptyEditor()
{
    {
        QScopedValueRollback changing(m_changingEditor, true);
        view.rtfToDo->setText(QString());
    }
    setOwner(nullptr);
}

void ProjectPanel::setOwner(QListWidgetItem *item)
{
    stopOpening();
    m_owner = item;
    if (item)
        m_notes.setOwner(item->text());
    else
        m_notes.clearOwner();
}

void ProjectPanel::selectRow(int row)
{
    // Selecting the row that is already current still runs the handler, as every selection does.
    if (view.lstToDo->currentRow() == row)
        lstToDo_Click();
    else
        view.lstToDo->setCurrentRow(row);
}

void ProjectPanel::ownerRowsAboutToGo(int first, int last)
{
    if (m_opening && !m_movingEntry) {
        const int row = view.lstToDo->row(m_opening);
        if (row >= first && row <= last)
            stopOpening();
    }
    if (!m_owner || m_movingEntry)
        return;
    const int row = view.lstToDo->row(m_owner);
    if (row >= first && row <= last)
        setOwner(nullptr);
}
