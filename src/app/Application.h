// The program's windows: one slot each for the splash and the main window, empty until first use,
// and the hand-over from the splash to the main window.
#pragma once

#include "app/SplashWindow.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowServices.h"

#include <QObject>
#include <QPointer>

class Application : public QObject
{
    Q_OBJECT
public:
    explicit Application(
        const MainWindowServices &services, int splashIntervalMs = 2000, QObject *parent = nullptr);
    ~Application() override;

    // Creates and loads the splash window; its timer hands over to the main window.
    void start();

    SplashWindow *splashSlot() const { return m_splash; }
    MainWindow *mainSlot() const { return m_main; }
    // The main window, created in its slot on first use.
    MainWindow &mainWindow();
    // Shows the program's visible window in front (a second start asked for it).
    void bringToFront();
    // How many main windows this application has created (at most one).
    int mainWindowsCreated() const { return m_mainWindowsCreated; }

private:
    void tmrSplash_Timer();

    MainWindowServices m_services;
    int m_splashIntervalMs;
    QPointer<SplashWindow> m_splash;
    QPointer<MainWindow> m_main;
    int m_mainWindowsCreated = 0;
};
