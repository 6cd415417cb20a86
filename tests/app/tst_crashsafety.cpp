// Crash safety: a child process runs the program's real saving code (note autosaves and "Save
// Days") on large notes in a loop and is killed with SIGKILL at random moments. After every kill
// each note and day file must be a complete RTF document holding one whole generation of its
// content, the folder scan must list no temporary file, and the program must open normally on the
// folder.
//
// The child is this same program started with "--child FOLDER GENERATION".
//
// The moments of the kills come from a random seed, printed at the start: QUILLMARK_CRASH_SEED=N
// replays the run of seed N (as far as the machine's timing lets it).
#include "app/AppServices.h"
#include "daynotes/DayNotes.h"
#include "editor/RichTextBox.h"
#include "mainwindow/MainWindow.h"
#include "rtf/RtfReader.h"
#include "support/FixedClock.h"
#include "support/RecordingShell.h"
#include "support/ScriptedPrompter.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QProcess>
#include <QRandomGenerator>
#include <QTextDocument>
#include <QtTest>

#include <csignal>
#include <iostream>

namespace {

const QStringList noteTitles { QStringLiteral("Alpha"), QStringLiteral("Beta") };
const QStringList dayFiles { "monday.rtf", "tuesday.rtf", "wednesday.rtf", "thursday.rtf",
    "friday.rtf", "saturday.rtf", "sunday.rtf" };
const QStringList dayBoxes { "rtfMonday", "rtfTuesday", "rtfWednesday", "rtfThursday", "rtfFriday",
    "rtfSaturday", "rtfSunday" };

constexpr int linesPerNote = 1500; // about 75 KB of text per note

// A large note whose every line names its owner and generation, so a torn or mixed file shows.
QString content(const QString &owner, int generation)
{
    QString text = QStringLiteral("%1 generation %2\n").arg(owner).arg(generation);
    const QString line = QStringLiteral("%1 %2 line of a long note with some words in it\n")
                             .arg(owner)
                             .arg(generation);
    text.reserve(text.size() + line.size() * linesPerNote);
    for (int i = 0; i < linesPerNote; ++i)
        text += line;
    return text;
}

// The generation a file holds, or -1 when it is not a complete document of one generation.
int generationOf(const QString &path, const QString &owner)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    QTextDocument document;
    if (!RtfReader().read(file.readAll(), &document))
        return -1;
    const QString text = document.toPlainText();
    const QString first = text.section(QLatin1Char('\n'), 0, 0);
    bool ok = false;
    const int generation = first.section(QLatin1Char(' '), -1).toInt(&ok);
    if (!ok || !first.startsWith(owner + QStringLiteral(" generation ")))
        return -1;
    return text == content(owner, generation) ? generation : -1;
}

// The child: opens the main window on the folder and saves new generations until it is killed.
int runChild(const QString &folder, int generation)
{
    // The program's own services with the real file store, but no dialog, desktop or quitting.
    AppServices services(folder);
    services.setSettingsFile(folder + QStringLiteral("/.settings/Quillmark.ini"));
    ScriptedPrompter prompter;
    RecordingShell shell;
    FixedClock clock;
    services.setPrompter(&prompter);
    services.setShell(&shell);
    services.setClock(&clock);
    services.setQuit([] {});
    MainWindow window(services.services());
    window.showWindow();
    auto *list = window.findChild<QListWidget *>(QStringLiteral("lstToDo"));
    auto *editor = window.findChild<RichTextBox *>(QStringLiteral("rtfToDo"));
    auto *saveDays = window.findChild<QAbstractButton *>(QStringLiteral("cmdSaveAllNow"));
    std::cout << "ready" << std::endl;
    for (;; ++generation) {
        for (int row = 0; row < list->count(); ++row) {
            list->setCurrentRow(row);
            editor->setPlainText(content(list->item(row)->text(), generation));
            // Two key releases: the second one autosaves the note.
            emit editor->KeyUp(Qt::Key_A, Qt::NoModifier);
            emit editor->KeyUp(Qt::Key_A, Qt::NoModifier);
        }
        for (int day = 0; day < 7; ++day)
            window.findChild<RichTextBox *>(dayBoxes.at(day))
                ->setPlainText(content(dayFiles.at(day), generation));
        saveDays->click();
    }
}

} // namespace

class CrashSafetyTest : public QObject
{
    Q_OBJECT
private slots:
    void killedWhileSavingLosesNothing();
};

void CrashSafetyTest::killedWhileSavingLosesNothing()
{
    quint32 seed = QRandomGenerator::system()->generate();
    if (qEnvironmentVariableIsSet("QUILLMARK_CRASH_SEED")) {
        bool ok = false;
        seed = qEnvironmentVariable("QUILLMARK_CRASH_SEED").toUInt(&ok);
        QVERIFY2(ok, "QUILLMARK_CRASH_SEED is not a number from 0 to 4294967295");
    }
    std::cout << "crash test seed: " << seed << " (replay with QUILLMARK_CRASH_SEED=" << seed << ")"
              << std::endl;
    QRandomGenerator random(seed);

    TestApp app;
    const QString folder = app.folder();
    // Generation 0, written by the program's own rich-text box.
    {
        FileStore files;
        QVERIFY(QDir().mkpath(app.notesFolder()));
        for (const QString &title : noteTitles) {
            RichTextBox box;
            box.setPlainText(content(title, 0));
            QVERIFY(
                files.writeFileAtomic(app.notePath(title + QStringLiteral(".rtf")), box.textRTF()));
        }
        for (const QString &day : dayFiles) {
            RichTextBox box;
            box.setPlainText(content(day, 0));
            QVERIFY(files.writeFileAtomic(app.dayPath(day), box.textRTF()));
        }
    }

    const int kills = qEnvironmentVariableIntValue("QUILLMARK_CRASH_KILLS") > 0
        ? qEnvironmentVariableIntValue("QUILLMARK_CRASH_KILLS")
        : 1000;
    QHash<QString, int> lastSeen;
    QSet<QString> checkedVersions;
    int generation = 1;
    int killsDuringWrites = 0;
    int killsInsideWrites = 0;
    for (int kill = 0; kill < kills; ++kill) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("--child"), folder, QString::number(generation) });
        QVERIFY(child.waitForStarted());
        QVERIFY2(child.waitForReadyRead(30000), "the child did not start saving");
        // The child saves all nine files in a cycle of a few hundred milliseconds: kill anywhere in
        // it.
        QTest::qSleep(random.bounded(0, 250));
        ::kill(child.processId(), SIGKILL);
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        int newest = 0;
        const auto check = [&](const QString &path, const QString &owner) {
            const int seen = generationOf(path, owner);
            QVERIFY2(seen >= 0,
                qPrintable(
                    QStringLiteral("kill %1: %2 is not one whole generation").arg(kill).arg(path)));
            QVERIFY2(seen >= lastSeen.value(path),
                qPrintable(QStringLiteral("kill %1: %2 went back").arg(kill).arg(path)));
            if (seen > lastSeen.value(path))
                ++killsDuringWrites;
            lastSeen[path] = seen;
            newest = qMax(newest, seen);
        };
        for (const QString &title : noteTitles)
            check(app.notePath(title + QStringLiteral(".rtf")), title);
        for (const QString &day : dayFiles)
            check(app.dayPath(day), day);
        // Every earlier version kept is one whole generation too (each is looked at once: a
        // version never changes).
        const auto checkVersions = [&](const QString &historyFolder, const QString &owner) {
            const QStringList names = QDir(historyFolder).entryList({ "*.rtf" }, QDir::Files);
            for (const QString &name : names) {
                const QString version = historyFolder + QLatin1Char('/') + name;
                if (checkedVersions.contains(version))
                    continue;
                QVERIFY2(generationOf(version, owner) >= 0,
                    qPrintable(QStringLiteral("kill %1: the version %2 is not whole")
                                   .arg(kill)
                                   .arg(version)));
                checkedVersions.insert(version);
            }
        };
        for (const QString &title : noteTitles)
            checkVersions(
                folder + QStringLiteral("/.history/todolist/") + title + QStringLiteral(".rtf"),
                title);
        for (const QString &day : dayFiles)
            checkVersions(folder + QStringLiteral("/.history/") + day, day);
        if (QTest::currentTestFailed())
            return;
        QStringList listed = app.files->listFiles(app.notesFolder());
        listed.sort();
        QCOMPARE(listed, (QStringList { QStringLiteral("Alpha.rtf"), QStringLiteral("Beta.rtf") }));
        // A hidden temporary file left behind shows that the kill came in the middle of a write.
        for (const QString &dir : { folder, app.notesFolder() }) {
            const QStringList leftovers = QDir(dir).entryList(
                { QStringLiteral(".quillmark-*.tmp") }, QDir::Files | QDir::Hidden);
            if (!leftovers.isEmpty())
                ++killsInsideWrites;
            for (const QString &leftover : leftovers)
                QFile::remove(dir + QLatin1Char('/') + leftover);
        }
        generation = newest + 1;
    }
    qInfo("%d kills, %d of them in the middle of writing a file; files advanced %d times; last "
          "generation %d",
        kills, killsInsideWrites, killsDuringWrites, generation - 1);

    // The program opens normally on the folder and shows the last whole generation.
    MainWindow &window = app.open();
    QStringList titles = app.listTitles();
    titles.sort();
    QCOMPARE(titles, noteTitles);
    for (int day = 0; day < 7; ++day) {
        const QString text = window.findChild<RichTextBox *>(dayBoxes.at(day))->toPlainText();
        QVERIFY(text.startsWith(QStringLiteral("%1 generation %2\n")
                                    .arg(dayFiles.at(day))
                                    .arg(lastSeen.value(app.dayPath(dayFiles.at(day))))));
    }
}

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--child") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication application(argc, argv);
        return runChild(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    }
    // A thousand starts of the child take minutes on a busy machine: more than Qt Test's default
    // limit.
    qputenv("QTEST_FUNCTION_TIMEOUT", "3000000");
    QApplication application(argc, argv);
    CrashSafetyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashsafety.moc"
