#include "app/Application.h"

#include "app/SplashWindow.h"
#include "mainwindow/MainWindow.h"

#include <QApplication>

Application::Application(const MainWindowServices &services, int splashIntervalMs, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_splashIntervalMs(splashIntervalMs)
{ }

Application::~Application()
{
    delete m_splash;
    delete m_main;
}

void Application::start()
{
    m_splash = new SplashWindow(m_splashIntervalMs);
    connect(m_splash, &SplashWindow::Timer, this, &Application::tmrSplash_Timer);
    connect(m_splash, &SplashWindow::unloaded, this, [this] { m_splash = nullptr; });
    m_splash->Form_Load();
}

MainWindow &Application::mainWindow()
{
    if (!m_main) {
        m_main = new MainWindow(m_services);
        m_main->setAttribute(Qt::WA_DeleteOnClose, false);
        ++m_mainWindowsCreated;
    }
    return *m_main;
}

void Application::tmrSplash_Timer()
{
    // The splash stays on screen while the main window opens, and goes even if that failed.
    mainWindow().showWindow();
    if (m_splash)
        m_splash->Unload();
}

void Application::bringToFront()
{
    // The help window stands in for the main window while it is open.
    QWidget *window = QApplication::activeWindow();
    if (!window && m_main && m_main->isVisible())
        window = m_main;
    if (!window)
        for (QWidget *candidate : QApplication::topLevelWidgets())
            if (candidate->isVisible() && candidate->isWindow() && !window)
                window = candidate;
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}
