// What happens when the main window closes, and when the days are saved without closing: the save
// question for a new item, the window position, the day files, the project order and the save
// marks.
#pragma once

#include "storage/SettingsStore.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

class DayNotes;
class ProjectPanel;
class Prompter;
class QWidget;
struct ProjectFlags;

class ClosingSequence
{
public:
    ClosingSequence(QWidget &window, ProjectFlags &flags, ProjectPanel &projects, DayNotes &days,
        SettingsStore &settings, Prompter &prompter);

    // The handler of a close request. True when the window is to close and the application to end;
    // false when the close is cancelled: a save-only run, or a close the user called off because
    // something could not be saved.
    bool run();
    bool Form_Unload() { return run(); }

    // The desktop session is ending: everything a close writes is written, without a question that
    // would hold up the log-out (a new item is saved). The window stays as it was; the session
    // decides whether the program ends.
    void saveForSessionEnd();

    // True from a save-only request ("Save Days", File > Save) until its closing sequence ends.
    bool saveDaysOnly() const { return m_saveDaysOnly; }
    void setSaveDaysOnly(bool saveOnly) { m_saveDaysOnly = saveOnly; }

    // "&Close" (and "Close" on the save-days panel): the save question, then the close request.
    void cmdClose_Click();
    // Options > "Clear Saved Project List": empties the list, forgets its order and closes.
    void mnuOptionsClearProjectList_Click();

    // Where the platform cannot tell where the window is (WindowPosition::platformReportsPosition),
    // no position is stored. Tests pretend to run on another platform.
    void setPlatformName(const QString &name) { m_platformName = name; }

    static QString closingQuestionText();
    static QString closeQuestionText();
    static QString clearListQuestionText();
    // The question of a real close that could not save everything; what names each thing not saved.
    static QString notSavedQuestionText(const QStringList &notSaved);

private:
    enum class Kind { CloseRequest, SessionEnd };
    bool runSequence(Kind kind);
    // The window's position as settings entries; none where the platform cannot tell it.
    QList<SettingsStore::Entry> positionSettings() const;
    QStringList notSaved(const std::array<bool, 7> &written, bool noteFlushed) const;
    void endWithoutClosing(int selectedRow);

    QWidget &m_window;
    ProjectFlags &state;
    ProjectPanel &m_projects;
    DayNotes &m_days;
    SettingsStore &m_settings;
    Prompter &m_prompter;
    QString m_platformName;
    bool m_saveDaysOnly = false;
    int m_depth = 0; // runs of the sequence in progress (one waits in a question for the other)
};
