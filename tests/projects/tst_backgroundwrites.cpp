// The project note written on the note writer's thread, on a slow disk: whatever must know the note
// is on disk waits for the write first, and a write that fails there is told and tried again.
#include "projects/ProjectPanel.h"
#include "support/FaultyFileStore.h"
#include "support/ProjectTestSupport.h"

#include <QtTest>

using namespace ProjectTest;

class BackgroundWritesTest : public QObject
{
    Q_OBJECT
private slots:
    void actionWaitsForTheWriteUnderWay_data();
    void actionWaitsForTheWriteUnderWay();
    void failedWriteIsToldOnceAndTriedAgain();
};

namespace {
// Note A shown, two keys typed into it: its write is under way on the slow disk.
struct SlowDisk
{
    TestApp app;
    FaultyFileStore files;

    SlowDisk()
    {
        files.writeDelayMs = 150;
        app.files = &files;
        app.backgroundWrites = true;
        openWithNotes(app, alphaAndBeta());
        select(app, 0);
        typeText(app, "xy");
    }
    QString alpha() { return app.rtfFileText(app.notePath("A.rtf")); }
};
} // namespace

void BackgroundWritesTest::actionWaitsForTheWriteUnderWay_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("select another note") << "select";
    QTest::newRow("move the note down") << "cmdDOWN";
    QTest::newRow("Save Days") << "cmdSaveAllNow";
    QTest::newRow("close") << "cmdClose";
    QTest::newRow("remove the note") << "cmdRemToDo";
}

void BackgroundWritesTest::actionWaitsForTheWriteUnderWay()
{
    QFETCH(QString, action);
    SlowDisk disk;
    if (action == QLatin1String("select"))
        select(disk.app, 1);
    else
        disk.app.click(action);
    if (action != QLatin1String("cmdRemToDo")) {
        QCOMPARE(disk.alpha(), QStringLiteral("xyalpha"));
        return;
    }
    // The write under way does not bring the removed note back.
    QTest::qWait(300);
    QVERIFY(!QFile::exists(disk.app.notePath("A.rtf")));
}

void BackgroundWritesTest::failedWriteIsToldOnceAndTriedAgain()
{
    SlowDisk disk;
    ProjectPanel &projects = disk.app.window().projects();
    // The store's failures change only while nothing is being written.
    projects.flushPendingNote();
    disk.files.failWrites = { "A.rtf" };
    typeText(disk.app, "zz");
    QTRY_COMPARE(disk.app.prompter.shownOfKind("notice").size(), 1);
    typeText(disk.app, "ww");
    projects.flushPendingNote();
    disk.files.failWrites.clear();
    typeText(disk.app, "vv");
    projects.flushPendingNote();
    QCOMPARE(disk.alpha(), QStringLiteral("xyzzwwvvalpha"));
    QCOMPARE(disk.app.prompter.shownOfKind("notice").size(), 1);
    QVERIFY(projects.unsavedNotes().isEmpty());
}

QTEST_MAIN(BackgroundWritesTest)
#include "tst_backgroundwrites.moc"
