// Writes the RTF benchmark corpora as files, for timing command-line tools on them:
// generate_rtf OUTDIR gives text-1mb.rtf, text-20mb.rtf, formatted-5mb.rtf and pictures-5mb.rtf.
#include "BenchCorpus.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        fprintf(stderr, "usage: generate_rtf OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const struct
    {
        const char *file;
        BenchCorpus::Kind kind;
        qsizetype bytes;
    } files[] = { { "text-1mb.rtf", BenchCorpus::TextHeavy, 1 << 20 },
        { "text-20mb.rtf", BenchCorpus::TextHeavy, 20 << 20 },
        { "formatted-5mb.rtf", BenchCorpus::Formatted, 5 << 20 },
        { "pictures-5mb.rtf", BenchCorpus::Pictures, 5 << 20 } };
    for (const auto &file : files) {
        QFile output(out.filePath(QString::fromLatin1(file.file)));
        const QByteArray rtf = BenchCorpus::make(file.kind, file.bytes).rtf();
        if (!output.open(QIODevice::WriteOnly) || output.write(rtf) != rtf.size()) {
            fprintf(stderr, "generate_rtf: cannot write %s\n", qPrintable(output.fileName()));
            return 1;
        }
        printf(
            "%s %lld bytes\n", qPrintable(output.fileName()), static_cast<long long>(rtf.size()));
    }
    return 0;
}
