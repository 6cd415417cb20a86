#include "app/CommandLine.h"

#include "app/AppFolders.h"

#include <QDir>
#include <QFileInfo>

#include <cstdlib>

namespace {
const QString folderOption = QStringLiteral("folder");
const QString versionOption = QStringLiteral("version");
} // namespace

CommandLine::CommandLine()
{
    m_parser.setApplicationDescription(
        QStringLiteral("Quillmark: a list of projects with a rich-text note each, and a note for "
                       "every day of the week."));
    m_parser.addHelpOption();
    // Qt's own version option would print the settings' application name, "Quillmark".
    m_parser.addOption({ { QStringLiteral("v"), versionOption },
        QStringLiteral("Prints the version and the licence.") });
    m_parser.addOption({ folderOption,
        QStringLiteral("Keeps the notes in DIR (created when missing), with their own window "
                       "position, list order and stored file in DIR/.quillmark.conf."),
        QStringLiteral("DIR") });
}

CommandLine::Action CommandLine::read(const QStringList &arguments)
{
    m_arguments = arguments;
    const auto fail = [this](const QString &text) {
        m_error = QStringLiteral("quillmark: ") + text;
        return Action::Fail;
    };
    if (!m_parser.parse(arguments))
        return fail(m_parser.errorText());
    if (m_parser.isSet(QStringLiteral("help")) || m_parser.isSet(QStringLiteral("help-all")))
        return Action::PrintHelp;
    if (m_parser.isSet(versionOption))
        return Action::PrintVersion;
    if (!m_parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument: %1")
                        .arg(m_parser.positionalArguments().constFirst()));
    if (m_parser.isSet(folderOption)) {
        const QString given = m_parser.value(folderOption);
        const QString absolute = given.isEmpty() ? given : QDir::current().absoluteFilePath(given);
        const QString problem = AppFolders::prepare(absolute);
        if (!problem.isEmpty())
            return fail(QStringLiteral("cannot use %1: %2").arg(given, problem));
        // One name for one folder, however it was given: the single-instance lock is named after
        // it, so two starts on the same notes always meet.
        m_folder = QFileInfo(absolute).canonicalFilePath();
    }
    return Action::Start;
}

QString CommandLine::settingsFile() const
{
    return m_folder.isEmpty() ? QString() : m_folder + QStringLiteral("/.quillmark.conf");
}

QString CommandLine::versionText()
{
    return QStringLiteral("quillmark " QUILLMARK_VERSION "\n" QUILLMARK_LICENCE_LINE "\n");
}

void CommandLine::printHelpAndExit()
{
    // The parser prints the help (and Qt's options for --help-all) and ends the program.
    m_parser.process(m_arguments);
    std::exit(EXIT_SUCCESS);
}
