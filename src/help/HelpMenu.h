// The Help menu of the main window: the help window with the help text or the about text, and the
// maker's web pages. The main window stays hidden while the help window is open.
#pragma once

#include "help/HelpMenuView.h"

#include <QObject>
#include <QPointer>
#include <QString>

class DesktopShell;
class FileStore;
class HelpWindow;
class QWidget;

class HelpMenu : public QObject
{
    Q_OBJECT
public:
    HelpMenu(const HelpMenuView &view, QWidget &mainWindow, const QString &helpFile,
        FileStore &files, DesktopShell &shell, QObject *parent = nullptr);
    ~HelpMenu() override;

    // The help window while it is open, else nullptr.
    HelpWindow *helpWindow() const;
    // The application ends: the help window goes without showing the main window again.
    void discardForEnd();

    void mnuHelpHelpFile_Click();
    void mnuHelpAbout_Click();
    void mnuHelpOnline_Click();
    void mnuHelpOtherProducts_Click();

private:
    // Opens the help window, or brings back the one already open, and hides the main window.
    void showHelpWindow();
    void helpWindow_Unload();

    QWidget &m_mainWindow;
    QString m_helpFile; // help.rtf
    FileStore &m_files;
    DesktopShell &m_shell;
    QPointer<HelpWindow> m_helpWindow;
};
