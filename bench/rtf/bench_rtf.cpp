// RTF reading and writing speed in MB/s on the benchmark corpora, each beside its floor: the same
// document built directly with QTextCursor for the reader, QTextDocument::toHtml for the writer.
// Both writer figures count the RTF's bytes, so their MB/s compare as times on one document.
#include "BenchCorpus.h"
#include "ScreenshotNote.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <benchmark/benchmark.h>
#include <map>

namespace {

struct Case
{
    const char *label;
    BenchCorpus::Kind kind;
    qsizetype bytes;
};

constexpr qsizetype megabyte = 1024 * 1024;
const Case cases[] = { { "text_1MB", BenchCorpus::TextHeavy, megabyte },
    { "text_20MB", BenchCorpus::TextHeavy, 20 * megabyte },
    { "formatted_1MB", BenchCorpus::Formatted, megabyte },
    { "formatted_5MB", BenchCorpus::Formatted, 5 * megabyte },
    { "pictures_5MB", BenchCorpus::Pictures, 5 * megabyte } };

const BenchCorpus &corpus(const Case &c)
{
    static std::map<const Case *, BenchCorpus> made;
    auto found = made.find(&c);
    if (found == made.end())
        found = made.emplace(&c, BenchCorpus::make(c.kind, c.bytes)).first;
    return found->second;
}

void benchRead(benchmark::State &state, const Case *c)
{
    const QByteArray &rtf = corpus(*c).rtf();
    QTextDocument document;
    for (auto _ : state) {
        RtfReader().read(rtf, &document);
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.counters["rtf_MB"] = double(rtf.size()) / megabyte;
}

void readFloor(benchmark::State &state, const Case *c)
{
    const BenchCorpus &source = corpus(*c);
    QTextDocument document;
    for (auto _ : state) {
        source.build(&document);
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * source.rtf().size());
}

// The document the writer benchmarks write: the corpus as the reader gives it.
QTextDocument *readDocument(const Case *c)
{
    auto *document = new QTextDocument;
    RtfReader().read(corpus(*c).rtf(), document);
    return document;
}

void benchWrite(benchmark::State &state, const Case *c)
{
    std::unique_ptr<QTextDocument> document(readDocument(c));
    qsizetype written = 0;
    for (auto _ : state) {
        const QByteArray rtf = RtfWriter(10).write(*document);
        written = rtf.size();
        benchmark::DoNotOptimize(rtf.constData());
    }
    state.SetBytesProcessed(state.iterations() * written);
    state.counters["rtf_MB"] = double(written) / megabyte;
}

void writeFloor(benchmark::State &state, const Case *c)
{
    std::unique_ptr<QTextDocument> document(readDocument(c));
    const qsizetype rtfSize = RtfWriter(10).write(*document).size();
    qsizetype html = 0;
    for (auto _ : state) {
        const QString text = document->toHtml();
        html = text.size();
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * rtfSize);
    state.counters["html_MB"] = double(html) / megabyte;
}

ScreenshotNote &screenshots()
{
    static ScreenshotNote made;
    return made;
}

// The first write after the pictures came in, and every write after it with the pictures
// unchanged (the autosave's case).
void benchWriteScreenshots(benchmark::State &state, bool first)
{
    ScreenshotNote &note = screenshots();
    note.renewBytes();
    qsizetype written = RtfWriter(10).write(note.document).size();
    for (auto _ : state) {
        if (first) {
            state.PauseTiming();
            note.renewBytes();
            state.ResumeTiming();
        }
        const QByteArray rtf = RtfWriter(10).write(note.document);
        written = rtf.size();
        benchmark::DoNotOptimize(rtf.constData());
    }
    state.SetBytesProcessed(state.iterations() * written);
    state.counters["rtf_MB"] = double(written) / megabyte;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    for (const Case &c : cases) {
        const std::string label = c.label;
        benchmark::RegisterBenchmark(("read/" + label).c_str(), benchRead, &c)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("read_floor_qtextcursor/" + label).c_str(), readFloor, &c)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("write/" + label).c_str(), benchWrite, &c)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("write_floor_tohtml/" + label).c_str(), writeFloor, &c)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("write/screenshots_40x1.2MB/first", benchWriteScreenshots, true)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("write/screenshots_40x1.2MB/second", benchWriteScreenshots, false)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
