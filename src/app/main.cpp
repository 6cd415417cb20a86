// Quillmark: a list of projects with a rich-text note each, and a note for every weekday.
#include "app/AppServices.h"
#include "app/Application.h"
#include "app/SingleInstance.h"
#include "platform/QtPrompter.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The window's position is part of the program, and a Wayland window can neither place itself
    // nor report where it is: prefer X11 (XWayland) when both are there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    // The closing sequence ends the program; hiding the main window for the help window must not.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString applicationFolder = QCoreApplication::applicationDirPath();
    // A second start on the same notes brings the running window to the front and ends; notes that
    // may be open elsewhere are asked about before any window opens (No ends the program).
    SingleInstance instance(applicationFolder);
    QtPrompter startPrompter;
    if (!instance.claim(startPrompter))
        return 0;

    AppServices services(applicationFolder);
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
