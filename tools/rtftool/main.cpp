// rtftool: a command-line door to Quillmark's RTF reader and writer.
#include "RtfTool.h"

#include <QFile>
#include <QGuiApplication>

namespace {

// Standard error carries rtftool's own one-line messages only; Qt's notes about the environment
// (a missing runtime folder, fonts) would break that promise.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        fprintf(stderr, "rtftool: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietMessages);
    // Documents need a GUI application for fonts and images, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    QFile input;
    QFile output;
    QFile errors;
    input.open(stdin, QIODevice::ReadOnly);
    output.open(stdout, QIODevice::WriteOnly);
    errors.open(stderr, QIODevice::WriteOnly);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const int code = RtfTool(&input, &output, &errors).run(arguments);
    output.flush();
    errors.flush();
    return code;
}
