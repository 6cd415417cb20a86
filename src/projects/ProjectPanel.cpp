#include "ProjectPanel.h"

#include "FileStore.h"
#include "MainWindowState.h"
#include "Prompter.h"
#include "SettingsStore.h"
#include "ui_frmMain.h"

ProjectPanel::ProjectPanel(Ui::frmMain &ui, MainWindowState &state, const QString &applicationFolder,
                           SettingsStore &settings, FileStore &files, Prompter &prompter,
                           QObject *parent)
    : QObject(parent)
    , ui(ui)
    , state(state)
    , m_applicationFolder(applicationFolder)
    , m_settings(settings)
    , m_files(files)
    , m_prompter(prompter)
{
}

void ProjectPanel::loadList() { }

void ProjectPanel::storeOrder() { }

bool ProjectPanel::flushPendingNote()
{
    return true;
}

void ProjectPanel::cmdSaveNote_Click() { }

void ProjectPanel::deselectAll() { }

void ProjectPanel::clearList() { }

QStringList ProjectPanel::unsavedNotes() const
{
    return {};
}
