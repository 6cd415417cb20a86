#include "mainwindow/ClosingSequence.h"

#include "daynotes/DayNotes.h"
#include "daynotes/DayTable.h"
#include "mainwindow/WindowPosition.h"
#include "platform/Prompter.h"
#include "projects/ProjectFlags.h"
#include "projects/ProjectPanel.h"
#include "projects/ProjectStore.h"
#include "storage/SettingsKeys.h"
#include "storage/SettingsStore.h"

#include <QDir>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QWidget>

Q_LOGGING_CATEGORY(lcClosing, "quillmark.mainwindow", QtWarningMsg)

namespace {
const QString saveCaption = QStringLiteral("Save");
const QString notSavedCaption = QStringLiteral("Not Saved");
} // namespace

ClosingSequence::ClosingSequence(QWidget &window, ProjectFlags &flags, ProjectPanel &projects,
    DayNotes &days, SettingsStore &settings, Prompter &prompter)
    : m_window(window)
    , state(flags)
    , m_projects(projects)
    , m_days(days)
    , m_settings(settings)
    , m_prompter(prompter)
    , m_platformName(QGuiApplication::platformName())
{ }

QString ClosingSequence::closingQuestionText()
{
    return QStringLiteral("There are ToDo list items that are not saved.\r\n"
                          "Do you want to save before closing?");
}

QString ClosingSequence::closeQuestionText()
{
    return QStringLiteral("There are unsaved ToDo list items.  Do you wish to save them?");
}

QString ClosingSequence::clearListQuestionText()
{
    return QStringLiteral(
        "This will clear any bad entries from your Project List area.\r\n"
        "You will need to re-order your entries at next program start.  This does not remove the "
        "files, they will re-load in default order next program start.\r\n\r\n"
        "Do you wish to clear the list?");
}

QString ClosingSequence::notSavedQuestionText(const QStringList &notSaved)
{
    return QStringLiteral("These notes could not be saved:\r\n\r\n")
        + notSaved.join(QStringLiteral("\r\n"))
        + QStringLiteral("\r\n\r\nClose anyway?  What was not saved will be lost.");
}

bool ClosingSequence::run()
{
    return runSequence(Kind::CloseRequest);
}

void ClosingSequence::saveForSessionEnd()
{
    runSequence(Kind::SessionEnd);
}

bool ClosingSequence::runSequence(Kind kind)
{
    // A close request that arrives while a question of this sequence is open waits for it; the end
    // of the session does not wait, or the log-out would take the unsaved text with it.
    if (kind == Kind::CloseRequest && m_depth > 0)
        return false;
    ++m_depth;
    const bool askQuestions = kind == Kind::CloseRequest;

    // When the window stays open, the entry whose note the editor shows stays selected: the user
    // sees which project the next keys go to (and a new item that was never saved keeps the list
    // locked for its own save).
    const int selectedRow = m_projects.selectedRow();

    // The last key strokes in the note editor go to their note first; a new item that was never
    // saved is left to the save question, but the edits kept from failed writes are tried again
    // all the same.
    const bool noteFlushed
        = state.blnUnsavedItem ? m_projects.writeKeptEdits() : m_projects.flushPendingNote();

    if (state.blnUnsavedItem
        && (!askQuestions
            || m_prompter.question(closingQuestionText(), saveCaption, Prompter::Answer::Yes)
                != Prompter::Answer::No))
        m_projects.cmdSaveNote_Click();

    const DayNotes::DayResults written = m_days.write();
    state.blnClosing = true;
    // The window position and the list order in one write of the settings.
    QList<SettingsStore::Entry> settings = positionSettings();
    settings.append(m_projects.orderSetting());
    if (!m_settings.saveAll(settings))
        qCInfo(lcClosing) << "The window position and the list order could not be stored.";
    m_days.markSaved(written);
    m_days.armReset();

    bool closes = false;
    if (kind == Kind::SessionEnd) {
        endWithoutClosing(selectedRow);
    } else if (m_saveDaysOnly) {
        endWithoutClosing(selectedRow);
    } else {
        // A real close never ends silently while something it should have saved is not on disk.
        const QStringList failed = notSaved(written, noteFlushed);
        closes = failed.isEmpty()
            || m_prompter.question(
                   notSavedQuestionText(failed), notSavedCaption, Prompter::Answer::No)
                != Prompter::Answer::No;
        if (!closes)
            endWithoutClosing(selectedRow);
    }
    --m_depth;
    return closes;
}

void ClosingSequence::endWithoutClosing(int selectedRow)
{
    m_saveDaysOnly = false;
    // Storing the order may have moved the current row; it goes back while selecting still loads
    // nothing.
    m_projects.reselectRow(selectedRow);
    state.blnClosing = false;
}

QStringList ClosingSequence::notSaved(const std::array<bool, 7> &written, bool noteFlushed) const
{
    QStringList failed;
    for (const DayTable::Day &day : DayTable::days())
        if (!written[day.index])
            failed.append(QStringLiteral("%1  (%2)")
                              .arg(DayTable::caption(day.index),
                                  QDir::toNativeSeparators(m_days.filePath(day.index))));
    const QStringList notes = m_projects.unsavedNotes();
    for (const QString &title : notes)
        failed.append(QStringLiteral("ToDo item: %1").arg(title));
    if (!noteFlushed && notes.isEmpty())
        failed.append(QStringLiteral("The ToDo note being edited"));
    return failed;
}

QList<SettingsStore::Entry> ClosingSequence::positionSettings() const
{
    // A Wayland window cannot tell where it is: a made-up position would replace the stored one.
    if (!WindowPosition::platformReportsPosition(m_platformName))
        return {};
    const QPoint position = m_window.pos();
    const SettingsKeys::Setting &top = SettingsKeys::windowTop;
    const SettingsKeys::Setting &left = SettingsKeys::windowLeft;
    return { { top.section, top.key, WindowPosition::pixelsToTwipsText(position.y()) },
        { left.section, left.key, WindowPosition::pixelsToTwipsText(position.x()) } };
}

void ClosingSequence::cmdClose_Click()
{
    if (state.blnUnsavedItem
        && m_prompter.question(closeQuestionText(), saveCaption, Prompter::Answer::Yes)
            != Prompter::Answer::No)
        m_projects.cmdSaveNote_Click();
    m_window.close();
}

void ClosingSequence::mnuOptionsClearProjectList_Click()
{
    if (m_prompter.question(
            clearListQuestionText(), QStringLiteral("Clear Project List"), Prompter::Answer::No)
        == Prompter::Answer::No)
        return;
    // What was typed last goes to its note before the list forgets the entry, and a new item is
    // saved. A note that cannot be written keeps the list, the stored order and the window as they
    // are: the user has been told, and the text stays in the list until the disk takes it.
    if (!m_projects.saveEveryNote())
        return;
    m_projects.clearList();
    m_settings.save(SettingsKeys::projectOrder.section, SettingsKeys::projectOrder.key,
        ProjectStore::noOrderMarker);
    m_window.close();
}
