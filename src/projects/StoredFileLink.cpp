#include "StoredFileLink.h"

#include "Prompter.h"
#include "SettingsStore.h"
#include "ui_frmMain.h"

StoredFileLink::StoredFileLink(Ui::frmMain &ui, SettingsStore &settings, Prompter &prompter,
                               std::function<void(const QString &)> gotoUrl, QObject *parent)
    : QObject(parent)
    , ui(ui)
    , m_settings(settings)
    , m_prompter(prompter)
    , m_gotoUrl(std::move(gotoUrl))
{
}
