// "View File" with "Stored File": opens one document the user keeps beside the project list, chosen
// in an open-file dialog and remembered in the settings.
#pragma once

#include "projects/StoredFileLinkView.h"

#include <QObject>
#include <QString>
#include <functional>

class Prompter;
class SettingsStore;

class StoredFileLink : public QObject
{
    Q_OBJECT
public:
    // gotoUrl opens a path or address with the program the desktop associates with it.
    StoredFileLink(const StoredFileLinkView &view, SettingsStore &settings, Prompter &prompter,
        std::function<void(const QString &)> gotoUrl, QObject *parent = nullptr);

    void cmdLeads_Click();

    // The open-file dialog's title and its two filters, spreadsheets first.
    static QString dialogTitle();
    static QString dialogFilter();

private:
    QString storedPath() const;

    StoredFileLinkView m_view;
    SettingsStore &m_settings;
    Prompter &m_prompter;
    std::function<void(const QString &)> m_gotoUrl;
};
