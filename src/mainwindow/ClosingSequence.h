// What happens when the main window closes, and when the days are saved without closing: the save
// question for a new item, the window position, the day files, the project order and the save marks.
#pragma once

#include <QString>

namespace Ui {
class frmMain;
}
class DayNotes;
class ProjectPanel;
class Prompter;
class QWidget;
class SettingsStore;
struct MainWindowState;

class ClosingSequence
{
public:
    ClosingSequence(QWidget &window, Ui::frmMain &ui, MainWindowState &state, ProjectPanel &projects,
                    DayNotes &days, SettingsStore &settings, Prompter &prompter);

    // Runs the sequence for a close request. True when the window is to close and the application to
    // end; false when the close is cancelled (a save-only run).
    bool run();

    // "&Close" (and "Close" on the save-days panel): the save question, then the close request.
    void cmdClose_Click();
    // Options > "Clear Saved Project List": empties the list, forgets its order and closes.
    void mnuOptionsClearProjectList_Click();

private:
    void storePosition();

    QWidget &m_window;
    Ui::frmMain &ui;
    MainWindowState &state;
    ProjectPanel &m_projects;
    DayNotes &m_days;
    SettingsStore &m_settings;
    Prompter &m_prompter;
};
