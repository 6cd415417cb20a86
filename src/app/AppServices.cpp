#include "app/AppServices.h"

#include "platform/QtDesktopShell.h"
#include "platform/QtPrompter.h"
#include "platform/QtTrash.h"
#include "platform/SystemClock.h"
#include "storage/FileStore.h"
#include "storage/QtSettingsStore.h"

#include <QCoreApplication>

AppServices::AppServices(const QString &applicationFolder)
    : m_applicationFolder(applicationFolder)
    , m_quit([] { QCoreApplication::exit(0); })
{ }

AppServices::~AppServices() = default;

void AppServices::setSettingsFile(const QString &iniPath)
{
    m_settingsFile = iniPath;
    m_settings = std::make_unique<QtSettingsStore>(iniPath);
}

void AppServices::setFiles(FileStore *files)
{
    m_files = files;
}

void AppServices::setPrompter(Prompter *prompter)
{
    m_prompter = prompter;
}

void AppServices::setShell(DesktopShell *shell)
{
    m_shell = shell;
}

void AppServices::setClock(Clock *clock)
{
    m_clock = clock;
}

void AppServices::setTrash(Trash *trash)
{
    m_trash = trash;
}

void AppServices::setQuit(std::function<void()> quit)
{
    m_quit = std::move(quit);
}

void AppServices::setResetDaysInterval(int milliseconds)
{
    m_resetDaysIntervalMs = milliseconds;
}

void AppServices::setDialogParent(std::function<QWidget *()> parentWindow)
{
    m_dialogParent = std::move(parentWindow);
}

QtSettingsStore &AppServices::settings()
{
    // Made only when asked for, so that a caller with a settings file of its own never opens the
    // user's store.
    if (!m_settings)
        m_settings = m_settingsFile.isEmpty() ? std::make_unique<QtSettingsStore>()
                                              : std::make_unique<QtSettingsStore>(m_settingsFile);
    return *m_settings;
}

FileStore &AppServices::files()
{
    if (m_files)
        return *m_files;
    if (!m_ownFiles)
        m_ownFiles = std::make_unique<FileStore>();
    return *m_ownFiles;
}

MainWindowServices AppServices::services()
{
    if (!m_prompter && !m_ownPrompter)
        m_ownPrompter = std::make_unique<QtPrompter>(
            [this]() -> QWidget * { return m_dialogParent ? m_dialogParent() : nullptr; });
    if (!m_shell && !m_ownShell)
        m_ownShell = std::make_unique<QtDesktopShell>();
    if (!m_clock && !m_ownClock)
        m_ownClock = std::make_unique<SystemClock>();
    if (!m_trash && !m_ownTrash)
        m_ownTrash = std::make_unique<QtTrash>();

    MainWindowServices services;
    services.applicationFolder = m_applicationFolder;
    services.helpFile = m_helpFile;
    services.settings = &settings();
    services.files = &files();
    services.prompter = m_prompter ? m_prompter : m_ownPrompter.get();
    services.shell = m_shell ? m_shell : m_ownShell.get();
    services.clock = m_clock ? m_clock : m_ownClock.get();
    services.trash = m_trash ? m_trash : m_ownTrash.get();
    services.quit = m_quit;
    services.resetDaysIntervalMs = m_resetDaysIntervalMs;
    services.backgroundWrites = m_backgroundWrites;
    services.watchFolders = m_watchFolders;
    return services;
}
