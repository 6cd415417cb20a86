// The Help menu of the main window: the help window with the help text or the about text, and the
// maker's web pages. The help window hides the main window while it is open.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace Ui {
class frmMain;
}
class DesktopShell;
class FileStore;
class HelpWindow;
class QWidget;

class HelpMenu : public QObject
{
    Q_OBJECT
public:
    HelpMenu(Ui::frmMain &ui, QWidget &mainWindow, const QString &applicationFolder, FileStore &files,
             DesktopShell &shell, QObject *parent = nullptr);

    // The help window while it is open, else nullptr.
    HelpWindow *helpWindow() const;
    // The application ends: the help window goes without showing the main window again.
    void discardForEnd();

private:
    Ui::frmMain &ui;
    QWidget &m_mainWindow;
    QString m_applicationFolder;
    FileStore &m_files;
    DesktopShell &m_shell;
    QPointer<HelpWindow> m_helpWindow;
};
