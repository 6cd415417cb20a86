// The project area with many and large notes: "Add ToDo" among 10,000 entries with 20 KB notes (a
// new title, and a duplicate), filling the list from 10,000 note files and a stored order of 10,000
// titles, and the key release that autosaves a 1 MB and a 10 MB note (also on a slow disk) and a
// note of 40 pasted screenshots beside making the note's RTF, which is what stays on the UI thread;
// and the longest stall while a sentence is typed into the screenshots note.
// The application folders are temporary folders in the working directory, so the notes go to the
// same kind of disk as the user's; QUILLMARK_BENCH_DIR picks another place.
#include "app/AppServices.h"
#include "editor/RichTextBox.h"
#include "mainwindow/MainWindow.h"
#include "projects/ProjectPanel.h"
#include "rtf/RtfWriter.h"
#include "storage/FileStore.h"
#include "storage/QtSettingsStore.h"
#include "support/FaultyFileStore.h"
#include "support/RecordingShell.h"
#include "support/ScriptedPrompter.h"
#include "support/TestTrash.h"

#include "QtBenchmarkMain.h"
#include "ScreenshotNote.h"

#include <QAbstractButton>
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
#include <chrono>
#include <ctime>
#include <memory>
#include <thread>

namespace {

constexpr int entryCount = 10000;
constexpr qsizetype smallNoteBytes = 20 * 1024;
constexpr qsizetype largeNoteBytes = 1024 * 1024;

QString benchFolder(const QString &pattern)
{
    return QDir(qEnvironmentVariable("QUILLMARK_BENCH_DIR", QDir::currentPath())).filePath(pattern);
}

// An RTF note of about the given size: paragraphs of ordinary prose with a few bold and italic
// words.
QByteArray rtfNote(const QString &title, qsizetype bytes)
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Liberation Sans;}}\\fs20 ";
    rtf += title.toUtf8() + "\\par ";
    int paragraph = 0;
    while (rtf.size() < bytes) {
        rtf += "Meeting notes for step " + QByteArray::number(++paragraph)
            + ": call the supplier about the \\b delivery dates\\b0 , check the \\i budget\\i0  "
              "figures with the team, and write down what was agreed so nobody has to ask "
              "twice.\\par ";
    }
    rtf += "}";
    return rtf;
}

// An application folder with 10,000 note files of 20 KB each and their titles as the stored order.
class ManyNotes
{
public:
    static ManyNotes &instance()
    {
        static ManyNotes notes;
        return notes;
    }

    QStringList titles;
    QTemporaryDir folder { benchFolder("projects-many-XXXXXX") };

private:
    ManyNotes()
    {
        QDir(folder.path()).mkdir("todolist");
        for (int i = 0; i < entryCount; ++i) {
            titles.append(QStringLiteral("Project %1").arg(i, 5, 10, QLatin1Char('0')));
            QFile file(folder.path() + "/todolist/" + titles.last() + ".rtf");
            if (file.open(QIODevice::WriteOnly))
                file.write(rtfNote(titles.last(), smallNoteBytes));
        }
    }
};

// A main window on an application folder; the settings live in a folder of their own, so that every
// window starts from the stored order given. The file store counts the notes read; the answers to
// the dialogs come from a script.
class Window
{
public:
    Window(const QString &applicationFolder, const QString &order, bool show, bool watch = true)
        : services(applicationFolder)
    {
        services.setWatchFolders(watch);
        services.setSettingsFile(settingsFolder.path() + "/Quillmark.ini");
        services.settings().save("projects", "order", order);
        services.setFiles(&files);
        services.setPrompter(&prompter);
        services.setShell(&shell);
        services.setQuit([] {});
        // A removed note goes to a trash of the benchmark's own, never the desktop's.
        trash.folder = settingsFolder.path() + "/trash";
        services.setTrash(&trash);
        window = std::make_unique<MainWindow>(services.services());
        if (show)
            window->showWindow();
    }

    QAbstractButton *button(const char *name) { return window->findChild<QAbstractButton *>(name); }
    QListWidget *list() { return window->findChild<QListWidget *>("lstToDo"); }
    RichTextBox *editor() { return window->findChild<RichTextBox *>("rtfToDo"); }
    qint64 reads() const { return files.readNames.size(); }

    QTemporaryDir settingsFolder { benchFolder("projects-settings-XXXXXX") };
    FaultyFileStore files;
    ScriptedPrompter prompter;
    RecordingShell shell;
    TestTrash trash;
    AppServices services;
    std::unique_ptr<MainWindow> window;
};

void BM_AddToDo_NewTitle_10000(benchmark::State &state)
{
    ManyNotes &notes = ManyNotes::instance();
    Window app(notes.folder.path(), notes.titles.join(':'), true);
    qint64 adds = 0;
    for (auto _ : state) {
        app.prompter.answerInput(QStringLiteral("New project %1").arg(adds++));
        app.files.readNames.clear();
        app.button("cmdNewToDo")->click();
        state.PauseTiming();
        if (app.list()->count() != entryCount + 1 || app.reads() != 0)
            state.SkipWithError("the new entry was not added, or a note was read");
        // Back to 10,000 entries: save the new item's empty note, then remove it with its file.
        app.button("cmdSaveNote")->click();
        app.button("cmdRemToDo")->click();
        app.prompter.clear();
        state.ResumeTiming();
    }
    state.counters["entries"] = entryCount;
    state.counters["notes_read"] = double(app.reads());
}

void BM_AddToDo_Duplicate_10000(benchmark::State &state)
{
    ManyNotes &notes = ManyNotes::instance();
    Window app(notes.folder.path(), notes.titles.join(':'), true);
    qint64 reads = 0;
    for (auto _ : state) {
        state.PauseTiming();
        app.list()->setCurrentRow(0);
        // The last entry: every title is compared before the duplicate is found.
        app.prompter.answerInput(notes.titles.last());
        app.prompter.clear();
        app.files.readNames.clear();
        state.ResumeTiming();
        app.button("cmdNewToDo")->click();
        reads = app.reads();
    }
    if (app.list()->count() != entryCount || reads != 1)
        state.SkipWithError("the duplicate was added, or more than its note was read");
    state.counters["notes_read"] = double(reads);
}

void BM_LoadList_10000(benchmark::State &state)
{
    ManyNotes &notes = ManyNotes::instance();
    const QString order = notes.titles.join(':');
    for (auto _ : state) {
        state.PauseTiming();
        auto app = std::make_unique<Window>(notes.folder.path(), order, false);
        state.ResumeTiming();
        app->window->projects().loadList();
        state.PauseTiming();
        if (app->list()->count() != entryCount)
            state.SkipWithError("the list does not hold every entry");
        app.reset();
        state.ResumeTiming();
    }
    state.counters["entries"] = entryCount;
}

// The whole opening with that list, day notes and showing the window included.
void BM_OpenWindow_10000(benchmark::State &state)
{
    ManyNotes &notes = ManyNotes::instance();
    const QString order = notes.titles.join(':');
    for (auto _ : state) {
        state.PauseTiming();
        auto app = std::make_unique<Window>(notes.folder.path(), order, false);
        state.ResumeTiming();
        app->window->showWindow();
        state.PauseTiming();
        app.reset();
        state.ResumeTiming();
    }
}

// One entry whose large note is shown and edited; a disk that takes writeDelayMs for every write
// when asked (a laptop hard disk, a USB stick, a network folder).
class LargeNote
{
public:
    explicit LargeNote(qsizetype bytes = largeNoteBytes, int writeDelayMs = 0)
        : LargeNote(rtfNote("Big", bytes), writeDelayMs)
    { }
    LargeNote(const QByteArray &rtf, int writeDelayMs)
    {
        QDir(folder.path()).mkdir("todolist");
        QFile file(folder.path() + "/todolist/Big.rtf");
        if (file.open(QIODevice::WriteOnly))
            file.write(rtf);
        file.close();
        app = std::make_unique<Window>(folder.path(), "Big", true);
        app->list()->setCurrentRow(0);
        // A large note opens while the window answers: the figures are of the shown note.
        while (app->editor()->isOpening())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        // The user reads the note a moment before typing: its pictures are made by then.
        app->editor()->waitForPreparedPictures();
        app->files.writeDelayMs = writeDelayMs;
    }

    QTemporaryDir folder { benchFolder("projects-large-XXXXXX") };
    std::unique_ptr<Window> app;
};

// The key release that autosaves: the note's RTF is made here, its file work goes to the note
// writer's thread. Between two measured releases the write before has ended.
void autosaveKeyRelease(benchmark::State &state, const QByteArray &rtf, int writeDelayMs)
{
    LargeNote note(rtf, writeDelayMs);
    RichTextBox *editor = note.app->editor();
    ProjectFlags &flags = note.app->window->projectFlags();
    ProjectPanel &projects = note.app->window->projects();
    const qint64 before = note.app->reads();
    qint64 slowestNs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        projects.flushPendingNote();
        flags.intKeyCount = 1;
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        QCoreApplication::sendEvent(editor, &release);
        slowestNs = std::max(slowestNs, timer.nsecsElapsed());
    }
    projects.flushPendingNote();
    if (flags.intKeyCount != 0 || note.app->reads() != before)
        state.SkipWithError("the key release did not autosave, or it read a note");
    state.counters["rtf_bytes"] = double(editor->textRTF().size());
    // The slowest release the user met, wall clock.
    state.counters["max_ms"] = double(slowestNs) / 1e6;
}

// The note of 40 pasted screenshots (99 MB of RTF), made once.
const QByteArray &screenshotRtf()
{
    static const QByteArray rtf = RtfWriter(10).write(ScreenshotNote().document);
    return rtf;
}

void BM_AutosaveKeyRelease_1MB(benchmark::State &state)
{
    autosaveKeyRelease(state, rtfNote("Big", largeNoteBytes), 0);
}

void BM_AutosaveKeyRelease_1MB_SlowDisk(benchmark::State &state)
{
    autosaveKeyRelease(state, rtfNote("Big", largeNoteBytes), 200);
}

void BM_AutosaveKeyRelease_10MB(benchmark::State &state)
{
    autosaveKeyRelease(state, rtfNote("Big", 10 * largeNoteBytes), 0);
}

void BM_AutosaveKeyRelease_Screenshots(benchmark::State &state)
{
    autosaveKeyRelease(state, screenshotRtf(), 0);
}

// A sentence typed at a key every 150 ms into the screenshots note: the time is the longest gap
// between two ticks of a 10 ms timer on the UI thread, which is what the user feels as a stall.
void BM_TypingGap_Screenshots(benchmark::State &state)
{
    LargeNote note(screenshotRtf(), 0);
    RichTextBox *editor = note.app->editor();
    const QString sentence = QStringLiteral("Call the printer about the proofs.");
    for (auto _ : state) {
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longest = 0;
        QTimer tick;
        tick.setInterval(10);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        QEventLoop loop;
        QTimer keys;
        keys.setInterval(150);
        int typed = 0;
        QObject::connect(&keys, &QTimer::timeout, [&] {
            if (typed == sentence.size()) {
                loop.quit();
                return;
            }
            const QString text(sentence.at(typed++));
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, text);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, text);
            QCoreApplication::sendEvent(editor, &press);
            QCoreApplication::sendEvent(editor, &release);
        });
        clock.start();
        tick.start();
        keys.start();
        loop.exec();
        state.SetIterationTime(double(longest) / 1000.0);
        note.app->window->projects().flushPendingNote();
    }
}

// The CPU time of the UI thread alone, which is what typing waits for.
double uiThreadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Twenty keys at a key every 150 ms into a note of a folder of 10,000 notes, then the pause in
// which the watched folder is looked at: the UI thread's CPU time per key, with the folders watched
// (1) and not (0). Every second key writes the note, which the watch of the folder sees.
void BM_TypingCpu_10000Notes(benchmark::State &state)
{
    ManyNotes &notes = ManyNotes::instance();
    Window app(notes.folder.path(), notes.titles.join(':'), true, state.range(0) != 0);
    app.list()->setCurrentRow(0);
    RichTextBox *editor = app.editor();
    constexpr int keyCount = 20;
    for (auto _ : state) {
        QEventLoop loop;
        QTimer keys;
        keys.setInterval(150);
        int typed = 0;
        QObject::connect(&keys, &QTimer::timeout, [&] {
            if (typed++ == keyCount) {
                keys.stop();
                // Long enough for the folder to be quiet and looked at.
                QTimer::singleShot(800, &loop, &QEventLoop::quit);
                return;
            }
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
            QCoreApplication::sendEvent(editor, &press);
            QCoreApplication::sendEvent(editor, &release);
        });
        const double before = uiThreadCpuMs();
        keys.start();
        loop.exec();
        state.SetIterationTime((uiThreadCpuMs() - before) / 1e3 / keyCount);
        app.window->projects().flushPendingNote();
    }
}

void BM_AtomicWrite_1MB(benchmark::State &state)
{
    LargeNote note;
    const QByteArray rtf = note.app->editor()->textRTF();
    const QString path = note.folder.path() + "/todolist/Big.rtf";
    FileStore files;
    for (auto _ : state) {
        if (!files.writeFileAtomic(path, rtf))
            state.SkipWithError("the write failed");
    }
    state.counters["rtf_bytes"] = double(rtf.size());
}

// The part of an autosave that stays on the UI thread: the document as RTF.
void noteAsRtf(benchmark::State &state, const QByteArray &rtf)
{
    LargeNote note(rtf, 0);
    RichTextBox *editor = note.app->editor();
    for (auto _ : state)
        benchmark::DoNotOptimize(editor->textRTF());
}

void BM_NoteAsRtf_1MB(benchmark::State &state)
{
    noteAsRtf(state, rtfNote("Big", largeNoteBytes));
}

// The same, each time after the note's file was written, as the autosave's RTF comes after the
// write of the one before: the disk work leaves the processor's caches cold.
// The note's RTF made in the situation of a measured key release: right after a write of the note
// (its caches cold), and with a slow disk after the machine has idled through the write's sync.
void noteAsRtfAfterWrite(benchmark::State &state, int idleMs)
{
    LargeNote note(rtfNote("Big", largeNoteBytes), 0);
    RichTextBox *editor = note.app->editor();
    const QByteArray rtf = editor->textRTF();
    const QString path = note.folder.path() + "/todolist/Big.rtf";
    FileStore files;
    for (auto _ : state) {
        state.PauseTiming();
        files.writeFileAtomic(path, rtf);
        std::this_thread::sleep_for(std::chrono::milliseconds(idleMs));
        state.ResumeTiming();
        benchmark::DoNotOptimize(editor->textRTF());
    }
}

void BM_NoteAsRtfAfterWrite_1MB(benchmark::State &state)
{
    noteAsRtfAfterWrite(state, 0);
}

void BM_NoteAsRtfAfterWrite_1MB_SlowDisk(benchmark::State &state)
{
    noteAsRtfAfterWrite(state, 200);
}

void BM_NoteAsRtf_10MB(benchmark::State &state)
{
    noteAsRtf(state, rtfNote("Big", 10 * largeNoteBytes));
}

void BM_NoteAsRtf_Screenshots(benchmark::State &state)
{
    noteAsRtf(state, screenshotRtf());
}

} // namespace

BENCHMARK(BM_AddToDo_NewTitle_10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddToDo_Duplicate_10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadList_10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenWindow_10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutosaveKeyRelease_1MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutosaveKeyRelease_1MB_SlowDisk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutosaveKeyRelease_10MB)->Unit(benchmark::kMillisecond);
// Twenty releases, as a user would type: each one waits for the 99 MB write before it.
BENCHMARK(BM_AutosaveKeyRelease_Screenshots)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypingGap_Screenshots)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypingCpu_10000Notes)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AtomicWrite_1MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoteAsRtf_1MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoteAsRtfAfterWrite_1MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoteAsRtfAfterWrite_1MB_SlowDisk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoteAsRtf_10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoteAsRtf_Screenshots)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
