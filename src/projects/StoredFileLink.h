// "View File" with "Stored File": opens one document the user keeps beside the project list, chosen
// in an open-file dialog and remembered in the settings.
#pragma once

#include <QObject>
#include <functional>

namespace Ui {
class frmMain;
}
class Prompter;
class SettingsStore;

class StoredFileLink : public QObject
{
    Q_OBJECT
public:
    StoredFileLink(Ui::frmMain &ui, SettingsStore &settings, Prompter &prompter,
                   std::function<void(const QString &)> gotoUrl, QObject *parent = nullptr);

private:
    Ui::frmMain &ui;
    SettingsStore &m_settings;
    Prompter &m_prompter;
    std::function<void(const QString &)> m_gotoUrl;
};
