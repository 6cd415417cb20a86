// Opening a 200 MB note: the time RichTextBox::loadFile takes on a text-heavy RTF file of that
// size.
#include "editor/RichTextBox.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString makeNote(const QString &folder, qint64 bytes)
{
    const QString path = folder + QStringLiteral("/large.rtf");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20\n");
    const QByteArray line
        = "A line of a very long project note, with \\b bold\\b0  words in it.\\par\n";
    qint64 written = 0;
    while (written < bytes)
        written += file.write(line);
    file.write("}\n");
    return path;
}

void BM_LoadNote_200MB(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = makeNote(dir.path(), 200LL * 1024 * 1024);
    for (auto _ : state) {
        RichTextBox box;
        if (!box.loadFile(path))
            state.SkipWithError("the note did not load");
        benchmark::DoNotOptimize(box.document()->characterCount());
    }
    state.counters["rtf_MB"] = double(QFile(path).size()) / (1024 * 1024);
}

} // namespace

BENCHMARK(BM_LoadNote_200MB)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
