// Quillmark: a list of projects with a rich-text note each, and a note for every weekday.
#include "app/AppFolders.h"
#include "app/AppServices.h"
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "platform/QtPrompter.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstring>

namespace {
// Asking for the help or the version needs no display.
bool onlyPrints(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : { "-h", "--help", "--help-all", "-v", "--version" }) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && onlyPrints(argc, argv))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window's position is part of the program, and a Wayland window can neither place itself
    // nor report where it is: prefer X11 (XWayland) when both are there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    // The closing sequence ends the program; hiding the main window for the help window must not.
    QApplication::setQuitOnLastWindowClosed(false);

    CommandLine commandLine;
    switch (commandLine.read(QCoreApplication::arguments())) {
    case CommandLine::Action::Start:
        break;
    case CommandLine::Action::PrintHelp:
        commandLine.printHelpAndExit();
    case CommandLine::Action::PrintVersion:
        std::fputs(qPrintable(CommandLine::versionText()), stdout);
        return 0;
    case CommandLine::Action::Fail:
        std::fprintf(stderr, "%s\n", qPrintable(commandLine.errorText()));
        return CommandLine::usageErrorStatus;
    }

    const QString programFolder = QCoreApplication::applicationDirPath();
    QString applicationFolder = commandLine.folder();
    if (applicationFolder.isEmpty()) {
        applicationFolder = AppFolders::applicationFolderOf(programFolder);
        // The per-user folder of an installed program is made on its first start; should that
        // fail, every save tells the user it could not be written.
        QDir().mkpath(applicationFolder);
    }
    // A second start on the same notes brings the running window to the front and ends; notes that
    // may be open elsewhere are asked about before any window opens (No ends the program).
    SingleInstance instance(applicationFolder);
    QtPrompter startPrompter;
    if (!instance.claim(startPrompter))
        return 0;

    AppServices services(applicationFolder);
    services.setHelpFile(AppFolders::helpFileOf(programFolder));
    if (!commandLine.settingsFile().isEmpty())
        services.setSettingsFile(commandLine.settingsFile());
    Application *program = nullptr;
    services.setDialogParent(
        [&program]() -> QWidget * { return program ? program->mainSlot() : nullptr; });

    Application quillmark(services.services());
    program = &quillmark;
    QObject::connect(
        &instance, &SingleInstance::activationRequested, &quillmark, &Application::bringToFront);
    quillmark.start();
    return application.exec();
}
