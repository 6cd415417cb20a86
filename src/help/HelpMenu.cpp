#include "HelpMenu.h"

#include "DesktopShell.h"
#include "FileStore.h"
#include "HelpWindow.h"
#include "ui_frmMain.h"

HelpMenu::HelpMenu(Ui::frmMain &ui, QWidget &mainWindow, const QString &applicationFolder,
                   FileStore &files, DesktopShell &shell, QObject *parent)
    : QObject(parent)
    , ui(ui)
    , m_mainWindow(mainWindow)
    , m_applicationFolder(applicationFolder)
    , m_files(files)
    , m_shell(shell)
{
}

HelpWindow *HelpMenu::helpWindow() const
{
    return m_helpWindow;
}

void HelpMenu::discardForEnd()
{
    if (m_helpWindow)
        delete m_helpWindow;
}
