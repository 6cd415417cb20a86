#include "help/HelpMenu.h"

#include "help/HelpWindow.h"
#include "help/Links.h"
#include "platform/DesktopShell.h"
#include "storage/FileStore.h"

#include <QAction>

HelpMenu::HelpMenu(const HelpMenuView &view, QWidget &mainWindow, const QString &helpFile,
    FileStore &files, DesktopShell &shell, QObject *parent)
    : QObject(parent)
    , m_mainWindow(mainWindow)
    , m_helpFile(helpFile)
    , m_files(files)
    , m_shell(shell)
{
    connect(view.mnuHelpHelpFile, &QAction::triggered, this, &HelpMenu::mnuHelpHelpFile_Click);
    connect(view.mnuHelpAbout, &QAction::triggered, this, &HelpMenu::mnuHelpAbout_Click);
    connect(view.mnuHelpOnline, &QAction::triggered, this, &HelpMenu::mnuHelpOnline_Click);
    connect(view.mnuHelpOtherProducts, &QAction::triggered, this,
        &HelpMenu::mnuHelpOtherProducts_Click);
}

HelpMenu::~HelpMenu()
{
    // The help window has no parent (it must stay up while the main window is hidden), so it goes
    // with the menu that opened it.
    discardForEnd();
}

HelpWindow *HelpMenu::helpWindow() const
{
    return m_helpWindow;
}

void HelpMenu::discardForEnd()
{
    if (!m_helpWindow)
        return;
    // No unload handler may run now: it would show the main window of an ending program.
    disconnect(m_helpWindow, nullptr, this, nullptr);
    delete m_helpWindow;
}

void HelpMenu::showHelpWindow()
{
    if (!m_helpWindow) {
        // No parent: a window owned by the main window is tied to it by the desktop (kept above it,
        // and minimised or hidden with it by some window managers), and this one must stay up while
        // the main window is hidden.
        m_helpWindow = new HelpWindow(m_helpFile, m_files);
        m_helpWindow->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_helpWindow, &HelpWindow::Form_Unload, this, &HelpMenu::helpWindow_Unload);
        m_helpWindow->Form_Load(m_mainWindow.pos());
    } else {
        m_helpWindow->show();
        m_helpWindow->raise();
    }
    m_mainWindow.hide();
}

void HelpMenu::helpWindow_Unload()
{
    m_mainWindow.show();
    m_mainWindow.activateWindow();
    // The closing window deletes itself; the next opening makes a new one and reads the file again.
    if (m_helpWindow)
        disconnect(m_helpWindow, nullptr, this, nullptr);
    m_helpWindow = nullptr;
}

void HelpMenu::mnuHelpHelpFile_Click()
{
    showHelpWindow();
}

void HelpMenu::mnuHelpAbout_Click()
{
    showHelpWindow();
    // The help file was read while the window opened; the about text replaces it.
    if (m_helpWindow)
        m_helpWindow->cmdAbout_Click();
}

void HelpMenu::mnuHelpOnline_Click()
{
    Links::open(m_shell, Links::homePage());
}

void HelpMenu::mnuHelpOtherProducts_Click()
{
    Links::open(m_shell, Links::otherProducts());
}
