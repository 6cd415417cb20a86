// "Find in All Notes" over 10,000 project notes of 10 KB each (100 MB of RTF): the first search,
// which reads and parses every file on the search's thread, beside its floor (the same files read
// whole and parsed text-only, one after the other on one thread, in this program); and searches
// after it, served from the cache, for a rare word, a word of every note and whole words.
// The notes go to a temporary folder in the working directory; QUILLMARK_BENCH_DIR picks another
// place.
#include "search/NoteSearch.h"
#include "search/NoteText.h"
#include "search/NoteTextCache.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <memory>
#include <sys/resource.h>

namespace {

constexpr int noteCount = 10000;
constexpr qsizetype noteBytes = 10 * 1024;

// A note of about noteBytes: prose with some bold and italic words; one note in a hundred names a
// zebra.
QByteArray rtfNote(int number)
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Liberation Sans;}}\\fs20 Note "
        + QByteArray::number(number) + "\\par ";
    int paragraph = 0;
    while (rtf.size() < noteBytes) {
        rtf += "Step " + QByteArray::number(++paragraph)
            + ": call the supplier about the \\b delivery dates\\b0 , check the \\i budget\\i0  "
              "figures with the team, and write down what was agreed so nobody asks twice.\\par ";
        if (number % 100 == 0 && paragraph == 20)
            rtf += "Remember the zebra crossing by the office.\\par ";
    }
    return rtf + "}";
}

struct Corpus
{
    QTemporaryDir dir { QDir(qEnvironmentVariable("QUILLMARK_BENCH_DIR", QDir::currentPath()))
                            .filePath(QStringLiteral("bench_search-XXXXXX")) };
    QList<SearchSource> sources;

    Corpus()
    {
        for (int i = 0; i < noteCount; ++i) {
            const QString path = dir.filePath(QStringLiteral("Note %1.rtf").arg(i));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                qFatal("cannot write %s", qPrintable(path));
            file.write(rtfNote(i));
            sources.append({ QStringLiteral("Note %1").arg(i), i, -1, path, std::nullopt });
        }
    }
};

Corpus &corpus()
{
    static Corpus instance;
    return instance;
}

// The CPU time of the whole program so far, every thread together, in milliseconds: on a busy
// machine the clock also counts the time other programs had the cores.
double processCpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Runs one search to its end; the matches it counted.
int runSearch(NoteSearch &search, const QString &needle, SearchOptions options = {})
{
    QEventLoop loop;
    int found = 0;
    const auto done
        = QObject::connect(&search, &NoteSearch::finished, &loop, [&](int matches, int) {
              found = matches;
              loop.quit();
          });
    search.start(corpus().sources, needle, options);
    loop.exec();
    QObject::disconnect(done);
    return found;
}

void BM_ReadAndParseFloor_10000(benchmark::State &state)
{
    qint64 characters = 0;
    const double cpuBefore = processCpuMs();
    for (auto _ : state) {
        for (const SearchSource &source : corpus().sources) {
            QFile file(source.path);
            if (!file.open(QIODevice::ReadOnly))
                state.SkipWithError("cannot read a note");
            characters += NoteText::fromRtf(file.readAll()).size();
        }
    }
    benchmark::DoNotOptimize(characters);
    state.counters["all_threads_cpu_ms"] = (processCpuMs() - cpuBefore) / state.iterations();
    state.counters["rtf_MB"] = double(noteCount) * noteBytes / 1e6;
}

void BM_FirstSearch_10000(benchmark::State &state)
{
    // Every run starts from an empty cache; the last one's is let go outside the timing.
    std::unique_ptr<NoteSearch> search;
    double cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        search.reset();
        search = std::make_unique<NoteSearch>(std::make_shared<NoteTextCache>());
        state.ResumeTiming();
        const double cpuBefore = processCpuMs();
        benchmark::DoNotOptimize(runSearch(*search, QStringLiteral("zebra")));
        cpu += processCpuMs() - cpuBefore;
    }
    state.counters["all_threads_cpu_ms"] = cpu / state.iterations();
    state.counters["rtf_MB"] = double(noteCount) * noteBytes / 1e6;
}

void laterSearch(benchmark::State &state, const QString &needle, SearchOptions options)
{
    auto cache = std::make_shared<NoteTextCache>();
    NoteSearch search(cache);
    runSearch(search, QStringLiteral("warm"));
    int matches = 0;
    const double cpuBefore = processCpuMs();
    for (auto _ : state)
        matches = runSearch(search, needle, options);
    state.counters["all_threads_cpu_ms"] = (processCpuMs() - cpuBefore) / state.iterations();
    state.counters["matches"] = matches;
    state.counters["cache_MB"] = double(cache->bytes()) / 1e6;
}

void BM_LaterSearch_RareWord_10000(benchmark::State &state)
{
    laterSearch(state, QStringLiteral("zebra"), {});
}

void BM_LaterSearch_EveryNote_10000(benchmark::State &state)
{
    laterSearch(state, QStringLiteral("budget"), {});
}

void BM_LaterSearch_WholeWordMatchCase_10000(benchmark::State &state)
{
    laterSearch(state, QStringLiteral("Remember"), { true, true });
}

} // namespace

BENCHMARK(BM_ReadAndParseFloor_10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FirstSearch_10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LaterSearch_RareWord_10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LaterSearch_EveryNote_10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LaterSearch_WholeWordMatchCase_10000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // The files are written, and read once, before anything is timed: the page cache is warm.
    for (const SearchSource &source : corpus().sources) {
        QFile file(source.path);
        if (file.open(QIODevice::ReadOnly))
            file.readAll();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
