#include "RtfTool.h"

#include "PlainTextExporter.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QFile>
#include <QTextDocument>

namespace {

// The size of text that has none of its own, as in the program's note boxes.
constexpr double defaultPointSize = 10.0;

void prepare(QTextDocument *document)
{
    QFont font = document->defaultFont();
    font.setPointSizeF(defaultPointSize);
    document->setDefaultFont(font);
    document->setUndoRedoEnabled(false);
}

} // namespace

RtfTool::RtfTool(QIODevice *input, QIODevice *output, QIODevice *errors)
    : m_input(input)
    , m_output(output)
    , m_errors(errors)
{ }

QByteArray RtfTool::usage()
{
    return "usage: rtftool text|html|rtf|from-html FILE   (FILE - reads standard input)\n";
}

QByteArray RtfTool::help()
{
    return usage()
        + "  text       the plain text of an RTF file\n"
          "  html       Qt's HTML of an RTF file\n"
          "  rtf        an RTF file read and written again by Quillmark's RTF writer\n"
          "  from-html  HTML turned into Quillmark's RTF\n"
          "  -h, --help     this help\n"
          "  -v, --version  the version and the licence\n";
}

QByteArray RtfTool::version()
{
    return "rtftool " QUILLMARK_VERSION "\n" QUILLMARK_LICENCE_LINE "\n";
}

int RtfTool::run(const QStringList &arguments)
{
    static const QStringList commands = { QStringLiteral("text"), QStringLiteral("html"),
        QStringLiteral("rtf"), QStringLiteral("from-html") };
    const QString only = arguments.size() == 1 ? arguments.constFirst() : QString();
    if (only == QLatin1String("-h") || only == QLatin1String("--help")) {
        m_output->write(help());
        return Success;
    }
    if (only == QLatin1String("-v") || only == QLatin1String("--version")) {
        m_output->write(version());
        return Success;
    }
    if (arguments.size() != 2 || !commands.contains(arguments.at(0))) {
        m_errors->write(usage());
        return UsageError;
    }
    const QString &command = arguments.at(0);
    const QString &path = arguments.at(1);
    QTextDocument document;
    prepare(&document);

    if (command == QLatin1String("from-html")) {
        QByteArray html;
        if (!readInput(path, &html))
            return Unreadable;
        document.setHtml(QString::fromUtf8(html));
        m_output->write(RtfWriter(defaultPointSize).write(document));
        return Success;
    }
    if (!loadRtf(path, &document))
        return Unreadable;
    if (command == QLatin1String("text"))
        m_output->write(PlainTextExporter::text(document).toUtf8());
    else if (command == QLatin1String("html"))
        m_output->write(document.toHtml().toUtf8());
    else
        m_output->write(RtfWriter(defaultPointSize).write(document));
    return Success;
}

bool RtfTool::readInput(const QString &path, QByteArray *data)
{
    if (path == QLatin1String("-")) {
        *data = m_input->readAll();
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    *data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

bool RtfTool::loadRtf(const QString &path, QTextDocument *document)
{
    QByteArray data;
    if (!readInput(path, &data))
        return false;
    const QString name = path == QLatin1String("-") ? QStringLiteral("standard input") : path;
    if (!RtfReader::looksLikeRtf(data) || !RtfReader().read(data, document)) {
        fail(QStringLiteral("%1 is not an RTF document").arg(name));
        return false;
    }
    return true;
}

void RtfTool::fail(const QString &message)
{
    QString line = QStringLiteral("rtftool: ") + message;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_errors->write(line.toUtf8() + '\n');
}
