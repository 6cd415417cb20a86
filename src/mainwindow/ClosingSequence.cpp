#include "ClosingSequence.h"

#include "DayNotes.h"
#include "MainWindowState.h"
#include "ProjectPanel.h"
#include "Prompter.h"
#include "SettingsStore.h"
#include "WindowPosition.h"
#include "ui_frmMain.h"

#include <QGuiApplication>
#include <QWidget>

namespace {
const QString saveCaption = QStringLiteral("Save");
}

ClosingSequence::ClosingSequence(QWidget &window, Ui::frmMain &ui, MainWindowState &state,
                                 ProjectPanel &projects, DayNotes &days, SettingsStore &settings,
                                 Prompter &prompter)
    : m_window(window)
    , ui(ui)
    , state(state)
    , m_projects(projects)
    , m_days(days)
    , m_settings(settings)
    , m_prompter(prompter)
{
}

bool ClosingSequence::run()
{
    if (state.blnUnsavedItem
        && m_prompter.question(QStringLiteral("There are ToDo list items that are not saved.\r\n"
                                              "Do you want to save before closing?"),
                               saveCaption)
            != Prompter::Answer::No)
        m_projects.cmdSaveNote_Click();

    storePosition();
    const std::array<bool, 7> written = m_days.write();
    state.blnClosing = true;
    m_projects.storeOrder();
    m_days.markSaved(written);
    m_days.armReset();

    if (state.saveDaysOnly) {
        state.saveDaysOnly = false;
        state.blnClosing = false;
        m_projects.deselectAll();
        return false;
    }
    return true;
}

void ClosingSequence::storePosition()
{
    const QPoint position = m_window.pos();
    m_settings.save(QStringLiteral("screen"), QStringLiteral("top"), WindowPosition::pixelsToTwipsText(position.y()));
    m_settings.save(QStringLiteral("screen"), QStringLiteral("left"), WindowPosition::pixelsToTwipsText(position.x()));
}

void ClosingSequence::cmdClose_Click()
{
    if (state.blnUnsavedItem
        && m_prompter.question(QStringLiteral("There are unsaved ToDo list items.  Do you wish to save them?"),
                               saveCaption)
            != Prompter::Answer::No)
        m_projects.cmdSaveNote_Click();
    m_window.close();
}

void ClosingSequence::mnuOptionsClearProjectList_Click()
{
    const QString text = QStringLiteral(
        "This will clear any bad entries from your Project List area.\r\n"
        "You will need to re-order your entries at next program start.  This does not remove the "
        "files, they will re-load in default order next program start.\r\n\r\n"
        "Do you wish to clear the list?");
    if (m_prompter.question(text, QStringLiteral("Clear Project List")) == Prompter::Answer::No)
        return;
    m_projects.clearList();
    m_settings.save(QStringLiteral("projects"), QStringLiteral("order"), QStringLiteral("na"));
    m_window.close();
}
