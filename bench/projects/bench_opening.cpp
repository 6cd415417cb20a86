// Opening a large note in the main window: the longest gap between two ticks of a 10 ms timer on
// the UI thread from the selection until the note is shown (what the user feels as a freeze),
// with spelling on, for a 1 MB formatted note, a 10 MB text note, the note of 40 pasted
// screenshots (99 MB) and a 200 MB text note; the longest gap when the small note is selected
// after the large one (the large one's document let go); and the time from selecting the 10 MB
// note to its first screen, and a key typed into it once it is shown.
#include "app/AppServices.h"
#include "editor/LayoutPacer.h"
#include "editor/RichTextBox.h"
#include "editor/SpellChecker.h"
#include "mainwindow/MainWindow.h"
#include "rtf/RtfWriter.h"
#include "storage/QtSettingsStore.h"
#include "support/FaultyFileStore.h"
#include "support/RecordingShell.h"
#include "support/ScriptedPrompter.h"

#include "BenchCorpus.h"
#include "QtBenchmarkMain.h"
#include "ScreenshotNote.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr qsizetype megabyte = 1024 * 1024;

QString benchFolder(const QString &pattern)
{
    return QDir(qEnvironmentVariable("QUILLMARK_BENCH_DIR", QDir::currentPath())).filePath(pattern);
}

QByteArray textNote(qsizetype bytes)
{
    QByteArray rtf
        = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20\n";
    const QByteArray line
        = "A line of a very long project note, with \\b bold\\b0  words in it.\\par\n";
    rtf.reserve(bytes + line.size() + 2);
    while (rtf.size() < bytes)
        rtf += line;
    rtf += "}\n";
    return rtf;
}

// A shown main window with two entries: a small note, selected first, and the large one.
class Opening
{
public:
    explicit Opening(const QByteArray &rtf)
        : services(folder.path())
    {
        QDir(folder.path()).mkdir("todolist");
        write("Small", "{\\rtf1 a small note\\par}");
        write("Large", rtf);
        services.setSettingsFile(settingsFolder.path() + "/Quillmark.ini");
        services.settings().save("projects", "order", "Small:Large");
        services.setFiles(&files);
        services.setPrompter(&prompter);
        services.setShell(&shell);
        services.setQuit([] {});
        window = std::make_unique<MainWindow>(services.services());
        window->showWindow();
        editor()->setSpellChecker(&checker);
        list()->setCurrentRow(0);
    }

    void write(const QString &title, const QByteArray &rtf)
    {
        QFile file(folder.path() + "/todolist/" + title + ".rtf");
        if (file.open(QIODevice::WriteOnly))
            file.write(rtf);
    }
    QListWidget *list() { return window->findChild<QListWidget *>("lstToDo"); }
    RichTextBox *editor() { return window->findChild<RichTextBox *>("rtfToDo"); }

    QTemporaryDir folder { benchFolder("projects-opening-XXXXXX") };
    QTemporaryDir settingsFolder { benchFolder("projects-settings-XXXXXX") };
    FaultyFileStore files;
    ScriptedPrompter prompter;
    RecordingShell shell;
    SpellChecker checker { QStringLiteral("/usr/share/hunspell/en_US.dic") };
    AppServices services;
    std::unique_ptr<MainWindow> window;
};

// Selects the large note and runs the event loop until it is shown and its spelling checked.
// Gives the longest gap between ticks of a 10 ms timer, when the first screen was painted and when
// the whole note was in.
struct Gaps
{
    qint64 longest = 0;
    qint64 firstScreen = -1;
    qint64 whole = -1;
    qint64 total = 0;
};

Gaps openLarge(Opening &opening)
{
    Gaps gaps;
    QElapsedTimer clock;
    qint64 last = 0;
    QTimer tick;
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        gaps.longest = std::max(gaps.longest, now - last);
        last = now;
    });
    QEventLoop loop;
    QTimer done;
    done.setInterval(5);
    int quiet = 0;
    const QTextDocument *before = opening.editor()->document();
    QObject::connect(&done, &QTimer::timeout, [&] {
        RichTextBox *editor = opening.editor();
        // The box shows the note's first screen, whole or not yet.
        if (gaps.firstScreen < 0 && editor->document() != before) {
            // The shown note is painted by the next pass of the event loop.
            editor->viewport()->repaint();
            gaps.firstScreen = clock.elapsed();
        }
        if (editor->isOpening())
            return;
        if (gaps.whole < 0)
            gaps.whole = clock.elapsed();
        // The rest of the note is laid out in slices after it is shown.
        if (editor->findChild<LayoutPacer *>()->isPacing())
            return;
        // A few quiet ticks after it: the spelling check runs there.
        if (++quiet == 40)
            loop.quit();
    });
    clock.start();
    tick.start();
    done.start();
    opening.list()->setCurrentRow(1);
    const qint64 afterSelection = clock.elapsed();
    gaps.longest = std::max(gaps.longest, afterSelection);
    last = afterSelection;
    loop.exec();
    gaps.total = clock.elapsed();
    return gaps;
}

// Selects the small note after the large one and gives the longest gap between ticks of a 10 ms
// timer until the window has been quiet for a few ticks.
qint64 leaveLarge(Opening &opening)
{
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    tick.setInterval(10);
    QEventLoop loop;
    int ticks = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
        if (++ticks == 30)
            loop.quit();
    });
    clock.start();
    tick.start();
    opening.list()->setCurrentRow(0);
    last = clock.elapsed();
    longest = last;
    loop.exec();
    return longest;
}

void openingGap(benchmark::State &state, const QByteArray &rtf)
{
    Opening opening(rtf);
    Gaps gaps;
    qint64 leaving = 0;
    for (auto _ : state) {
        gaps = openLarge(opening);
        state.SetIterationTime(double(gaps.longest) / 1000.0);
        state.PauseTiming();
        leaving = std::max(leaving, leaveLarge(opening));
        state.ResumeTiming();
    }
    state.counters["leave_gap_ms"] = double(leaving);
    state.counters["first_screen_ms"] = double(gaps.firstScreen);
    state.counters["whole_ms"] = double(gaps.whole);
    state.counters["shown_ms"] = double(gaps.total);
    state.counters["rtf_MB"] = double(rtf.size()) / megabyte;
}

void BM_OpeningGap_Formatted_1MB(benchmark::State &state)
{
    openingGap(state, BenchCorpus::make(BenchCorpus::Formatted, megabyte).rtf());
}

void BM_OpeningGap_Text_10MB(benchmark::State &state)
{
    openingGap(state, textNote(10 * megabyte));
}

void BM_OpeningGap_Screenshots(benchmark::State &state)
{
    openingGap(state, RtfWriter(10).write(ScreenshotNote().document));
}

void BM_OpeningGap_Text_200MB(benchmark::State &state)
{
    openingGap(state, textNote(200 * megabyte));
}

// A key typed in the middle of the shown 10 MB note, once Qt's background layout is done: Qt lays
// out again what follows the caret in its paragraph and moves the rest.
void BM_KeyInto_Text_10MB(benchmark::State &state)
{
    Opening opening(textNote(10 * megabyte));
    openLarge(opening);
    RichTextBox *editor = opening.editor();
    // Qt's incremental layout of the rest of the note.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    editor->setCaretPosition(editor->document()->characterCount() / 2);
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QCoreApplication::sendEvent(editor, &press);
        QCoreApplication::processEvents();
    }
}

} // namespace

BENCHMARK(BM_OpeningGap_Formatted_1MB)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpeningGap_Text_10MB)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpeningGap_Screenshots)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpeningGap_Text_200MB)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyInto_Text_10MB)->Iterations(50)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
