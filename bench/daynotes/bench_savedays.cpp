// "Save Days" with seven 1 MB day notes: the whole save a click runs (the seven day files written
// atomically, the window position, the project order, the marks), and its two big parts apart: the
// notes turned into RTF, and the day files written.
// The application folder is a temporary folder in the working directory, so the files go to the
// same kind of disk as the user's notes; QUILLMARK_BENCH_DIR picks another place.
#include "app/AppServices.h"
#include "daynotes/DayNotes.h"
#include "daynotes/DayTable.h"
#include "editor/RichTextBox.h"
#include "mainwindow/MainWindow.h"
#include "rtf/RtfWriter.h"
#include "storage/FileStore.h"
#include "support/RecordingShell.h"
#include "support/ScriptedPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <array>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

constexpr qsizetype noteBytes = 1024 * 1024;

// How much formatting the notes carry: light, a bold first word in each paragraph of plain prose;
// dense, a bold, italic or coloured word every few words, so the RTF changes character format
// about every tenth of a line.
enum class Formatting { Light, Dense };

// Seven day files of about 1 MB of RTF each in a fresh application folder, and a main window opened
// on it, so the notes arrive in the boxes the way the user's do: read from their files. The
// program's own services, but no dialog, desktop or quitting.
class Fixture
{
public:
    explicit Fixture(Formatting formatting)
        : folder(QDir(qEnvironmentVariable("QUILLMARK_BENCH_DIR", QDir::currentPath()))
                     .filePath("savedays-XXXXXX"))
        , services(folder.path())
    {
        services.setSettingsFile(folder.path() + "/.settings/Quillmark.ini");
        services.setPrompter(&prompter);
        services.setShell(&shell);
        services.setQuit([] {});
        for (int i = 0; i < DayTable::dayCount; ++i)
            services.files().writeFileAtomic(
                DayTable::filePath(folder.path(), i), dayNote(i, formatting));
        window = std::make_unique<MainWindow>(services.services());
        window->showWindow();
        saveDays = window->findChild<QAbstractButton *>("cmdSaveAllNow");
    }

    qsizetype rtfBytes() const
    {
        qsizetype total = 0;
        for (int i = 0; i < DayTable::dayCount; ++i)
            total += window->days().box(i)->textRTF().size();
        return total;
    }

    QTemporaryDir folder;
    ScriptedPrompter prompter;
    RecordingShell shell;
    AppServices services;
    std::unique_ptr<MainWindow> window;
    QAbstractButton *saveDays = nullptr;

private:
    static QByteArray dayNote(int day, Formatting formatting)
    {
        static const char *const words[] = { "call", "printer", "about", "the", "invoice",
            "meeting", "Müller", "agenda", "review", "draft", "café", "budget" };
        QTextDocument document;
        QTextCursor cursor(&document);
        QTextCharFormat plain;
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        QTextCharFormat italic;
        italic.setFontItalic(true);
        QTextCharFormat red;
        red.setForeground(QColor(200, 0, 0));
        auto paragraph = [&](int n) {
            for (int w = 0; w < 40; ++w) {
                const int pick = (n * 7 + w * 3 + day) % 12;
                const QTextCharFormat &format = formatting == Formatting::Light
                    ? (w == 0 ? bold : plain)
                    : w % 11 == 3 ? bold
                    : w % 13 == 5 ? italic
                    : w % 17 == 8 ? red
                                  : plain;
                cursor.insertText(QString::fromUtf8(words[pick]) + QLatin1Char(' '), format);
            }
            cursor.insertBlock();
        };
        // Paragraphs in batches until the RTF reaches 1 MB.
        int n = 0;
        QByteArray rtf;
        while (rtf.size() < noteBytes) {
            const qsizetype missing = noteBytes - rtf.size();
            const int batch
                = rtf.isEmpty() ? 100 : qMax(1, int(missing * n / qMax<qsizetype>(1, rtf.size())));
            for (int i = 0; i < batch; ++i)
                paragraph(n++);
            rtf = RtfWriter(10).write(document);
        }
        return rtf;
    }
};

// One fixture per kind of formatting; the benchmark's argument picks it.
std::array<Fixture *, 2> fixtures {};
const char *const formattingNames[] = { "light", "dense" };

Fixture &fixtureFor(const benchmark::State &state)
{
    return *fixtures[static_cast<size_t>(state.range(0))];
}

// What a click on "Save Days" costs, from the click to the end of the closing sequence.
void BM_SaveDays(benchmark::State &state)
{
    Fixture &fixture = fixtureFor(state);
    state.SetLabel(formattingNames[state.range(0)]);
    for (auto _ : state)
        fixture.saveDays->click();
    state.counters["rtf_MB"] = double(fixture.rtfBytes()) / (1024 * 1024);
}

// The seven notes turned into RTF, nothing written.
void BM_SevenNotesToRtf(benchmark::State &state)
{
    Fixture &fixture = fixtureFor(state);
    state.SetLabel(formattingNames[state.range(0)]);
    for (auto _ : state)
        for (int i = 0; i < DayTable::dayCount; ++i)
            benchmark::DoNotOptimize(fixture.window->days().box(i)->textRTF());
}

// The seven day files written, RTF included: the day-file part of a save.
void BM_WriteSevenDayFiles(benchmark::State &state)
{
    Fixture &fixture = fixtureFor(state);
    state.SetLabel(formattingNames[state.range(0)]);
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture.window->days().write());
}

} // namespace

BENCHMARK(BM_SaveDays)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_SevenNotesToRtf)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();
BENCHMARK(BM_WriteSevenDayFiles)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Fixture light(Formatting::Light);
    Fixture dense(Formatting::Dense);
    fixtures = { &light, &dense };
    for (size_t i = 0; i < fixtures.size(); ++i)
        benchmark::AddCustomContext(std::string("day_note_rtf_bytes_") + formattingNames[i],
            std::to_string(fixtures[i]->rtfBytes() / DayTable::dayCount));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixtures = {};
    return 0;
}
