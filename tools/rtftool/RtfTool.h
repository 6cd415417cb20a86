// The commands of rtftool: the plain text, Qt's HTML or our own RTF of an RTF file, and HTML
// turned into our RTF. Output goes to a device, error messages to another.
#pragma once

#include <QByteArray>
#include <QStringList>

class QIODevice;
class QTextDocument;

class RtfTool
{
public:
    enum ExitCode { Success = 0, Unreadable = 1, UsageError = 2 };

    RtfTool(QIODevice *input, QIODevice *output, QIODevice *errors);

    // arguments without the program name: COMMAND FILE, or --help or --version alone.
    int run(const QStringList &arguments);

    static QByteArray usage();
    // --help: the usage and what each command does; --version: the version and the licence.
    static QByteArray help();
    static QByteArray version();

private:
    bool readInput(const QString &path, QByteArray *data);
    bool loadRtf(const QString &path, QTextDocument *document);
    void fail(const QString &message);

    QIODevice *m_input;
    QIODevice *m_output;
    QIODevice *m_errors;
};
