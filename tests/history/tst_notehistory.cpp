// The earlier versions of the note and day files: when a version is kept (the first write of a
// run, then ten minutes apart, never the same content twice), where (a project note and a day file
// of the same name apart), what the tidying removes, and that a history that cannot be kept never
// stops a save. The writes go through the note writer's own thread, as in the program.
#include "history/HistoryPruning.h"
#include "history/NoteHistory.h"
#include "storage/FileStore.h"
#include "storage/NoteWriter.h"
#include "support/FixedClock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// An application folder whose files are written by a note writer with its own thread, through a
// store that keeps versions in the folder's history.
struct Fixture
{
    Fixture()
    {
        QDir(dir.path()).mkdir("todolist");
        files.setVersionKeeper(kept);
        history.setFailureHandler([this](const QString &reason) { failures.append(reason); });
    }
    QString path(const QString &name) const { return dir.path() + QLatin1Char('/') + name; }
    bool write(const QString &name, const QByteArray &contents)
    {
        return writer.writeNow(path(name), contents).written;
    }
    QList<QByteArray> versions(const QString &name) const
    {
        QList<QByteArray> found;
        for (const NoteHistory::Entry &entry : history.entries(path(name))) {
            QFile file(entry.path);
            if (entry.kind == NoteHistory::Entry::Kind::Version && file.open(QIODevice::ReadOnly))
                found.append(file.readAll());
        }
        return found;
    }

    QTemporaryDir dir;
    FixedClock clock;
    FileStore files;
    std::shared_ptr<NoteHistory> kept = std::make_shared<NoteHistory>(dir.path(), clock);
    NoteHistory &history = *kept;
    NoteWriter writer { files, true };
    QStringList failures;
};
} // namespace

class NoteHistoryTest : public QObject
{
    Q_OBJECT
private slots:
    void firstWriteOfARunThenTenMinutesApart();
    void sameContentIsNotKeptTwice();
    void projectNamedMondayAndMondayFileApart();
    void historyThatCannotBeKeptNeverStopsASave();
    void pruning_data();
    void pruning();
    void prunedOnTheWriterThread();
};

void NoteHistoryTest::firstWriteOfARunThenTenMinutesApart()
{
    Fixture run;
    QVERIFY(run.write("todolist/Plan.rtf", "one"));
    QCOMPARE(run.versions("todolist/Plan.rtf"), QList<QByteArray>());
    QVERIFY(run.write("todolist/Plan.rtf", "two"));
    QCOMPARE(run.versions("todolist/Plan.rtf"), QList<QByteArray> { "one" });
    run.clock.now = run.clock.now.addSecs(NoteHistory::spacingSeconds - 1);
    QVERIFY(run.write("todolist/Plan.rtf", "three"));
    QCOMPARE(run.versions("todolist/Plan.rtf"), QList<QByteArray> { "one" });
    run.clock.now = run.clock.now.addSecs(1);
    QVERIFY(run.write("todolist/Plan.rtf", "four"));
    QCOMPARE(run.versions("todolist/Plan.rtf"), (QList<QByteArray> { "three", "one" }));
    // The note itself is always in place, whole.
    QFile note(run.path("todolist/Plan.rtf"));
    QVERIFY(note.open(QIODevice::ReadOnly));
    QCOMPARE(note.readAll(), QByteArray("four"));
}

void NoteHistoryTest::sameContentIsNotKeptTwice()
{
    Fixture run;
    QVERIFY(run.write("todolist/Plan.rtf", "one"));
    QVERIFY(run.write("todolist/Plan.rtf", "two"));
    // "two" is kept as a version (as a restore keeps the current text); ten minutes on, the write
    // that replaces "two" finds it kept already.
    QString error;
    QVERIFY(run.history.keepContent(run.path("todolist/Plan.rtf"), "two", &error));
    run.clock.now = run.clock.now.addSecs(NoteHistory::spacingSeconds);
    QVERIFY(run.write("todolist/Plan.rtf", "three"));
    QCOMPARE(run.versions("todolist/Plan.rtf"), (QList<QByteArray> { "two", "one" }));
}

void NoteHistoryTest::projectNamedMondayAndMondayFileApart()
{
    Fixture run;
    for (const QString name : { "todolist/monday.rtf", "monday.rtf" }) {
        QVERIFY(run.write(name, name.toUtf8()));
        QVERIFY(run.write(name, "new"));
    }
    QCOMPARE(run.versions("todolist/monday.rtf"), QList<QByteArray> { "todolist/monday.rtf" });
    QCOMPARE(run.versions("monday.rtf"), QList<QByteArray> { "monday.rtf" });
    QVERIFY(run.history.folderFor(run.path("monday.rtf"))
        != run.history.folderFor(run.path("todolist/monday.rtf")));
}

void NoteHistoryTest::historyThatCannotBeKeptNeverStopsASave()
{
    Fixture run;
    // A file where the history folder should be: no version can be kept, as on a full disk.
    QFile blocker(run.path(NoteHistory::folderName()));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(run.write("todolist/Plan.rtf", "one"));
    QVERIFY(run.write("todolist/Plan.rtf", "two"));
    QVERIFY(run.write("tuesday.rtf", "one"));
    QVERIFY(run.write("tuesday.rtf", "two"));
    run.writer.waitForAll();
    run.files.reportOutsideChanges();
    QCOMPARE(run.failures.size(), 1);
    QFile note(run.path("todolist/Plan.rtf"));
    QVERIFY(note.open(QIODevice::ReadOnly));
    QCOMPARE(note.readAll(), QByteArray("two"));
}

void NoteHistoryTest::pruning_data()
{
    // Ages in hours, sizes in MB, newest first; the versions that go.
    QTest::addColumn<QList<int>>("ageHours");
    QTest::addColumn<QList<int>>("sizeMb");
    QTest::addColumn<QList<int>>("removed");
    QTest::newRow("the last day whole")
        << QList<int> { 0, 1, 23 } << QList<int> { 1, 1, 1 } << QList<int> {};
    QTest::newRow("one a day after a day")
        << QList<int> { 0, 49, 50, 73 } << QList<int> { 1, 1, 1, 1 } << QList<int> { 2 };
    QTest::newRow("one a week after a month") << QList<int> { 0, 40 * 24, 41 * 24, 50 * 24 }
                                              << QList<int> { 1, 1, 1, 1 } << QList<int> { 2 };
    QTest::newRow("the oldest go beyond the room")
        << QList<int> { 0, 1, 2, 3 } << QList<int> { 10, 30, 30, 30 } << QList<int> { 2, 3 };
    QTest::newRow("the newest stays whatever its age and size")
        << QList<int> { 60 * 24, 60 * 24 + 1 } << QList<int> { 80, 80 } << QList<int> { 1 };
}

void NoteHistoryTest::pruning()
{
    QFETCH(QList<int>, ageHours);
    QFETCH(QList<int>, sizeMb);
    QFETCH(QList<int>, removed);
    const QDateTime now = FixedClock().now;
    QList<HistoryPruning::Version> versions;
    for (qsizetype i = 0; i < ageHours.size(); ++i)
        versions.append({ now.addSecs(-3600LL * ageHours[i]), sizeMb[i] * 1024LL * 1024 });
    QCOMPARE(HistoryPruning::toRemove(versions, now), removed);
}

void NoteHistoryTest::prunedOnTheWriterThread()
{
    Fixture run;
    const QString folder = run.history.folderFor(run.path("todolist/Plan.rtf"));
    QVERIFY(QDir().mkpath(folder));
    // Two versions of one day a week ago: the older goes once a write has made a new one.
    for (const int minutes : { 7 * 24 * 60, 7 * 24 * 60 + 5 }) {
        QFile old(folder + QLatin1Char('/')
            + NoteHistory::versionName(run.clock.now.addSecs(-60LL * minutes)));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray::number(minutes));
    }
    QVERIFY(run.write("todolist/Plan.rtf", "one"));
    QVERIFY(run.write("todolist/Plan.rtf", "two"));
    QCOMPARE(run.versions("todolist/Plan.rtf"),
        (QList<QByteArray> { "one", QByteArray::number(7 * 24 * 60) }));
}

QTEST_GUILESS_MAIN(NoteHistoryTest)
#include "tst_notehistory.moc"
