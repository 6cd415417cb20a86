#include "Application.h"

#include "MainWindow.h"
#include "SplashWindow.h"

Application::Application(const MainWindowServices &services, int splashIntervalMs, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_splashIntervalMs(splashIntervalMs)
{
}

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
        m_splash->close();
}
