// The project list as the window opens (the note folder, then the stored order) and the order the
// closing sequence stores.
#include "projects/ProjectPanel.h"
#include "support/ProjectTestSupport.h"

#include <QDir>
#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QtTest>

using namespace ProjectTest;

class ProjectPanelLoadTest : public QObject
{
    Q_OBJECT
private slots:
    void firstRunShowsAnEmptyDisabledList();
    void scanTakesNamesUpToTheirFirstRtf();
    void scanKeepsTheListingOrder();
    void scanLetsEventsRunAfterEveryName();
    void noStoredOrderShowsTheScan_data();
    void noStoredOrderShowsTheScan();
    void storedOrderComesFirstThenUnlistedNotes();
    void addedProjectSurvivesACrash();
    void storedOrderWithAnEmptyTitleReadsAndStoresBack();
    void firstTitleNaIsReadAsNoOrderNextTime();
    void storingTheOrder();
    void storingTheOrderLoadsNoNote();
    void longTitleEndsInDotsAndShowsWholeInItsToolTip();
};

void ProjectPanelLoadTest::firstRunShowsAnEmptyDisabledList()
{
    TestApp app;
    app.open();
    QCOMPARE(app.listTitles(), QStringList());
    QVERIFY(!app.list()->isEnabled());
    QVERIFY(!app.editor()->isEnabled());
    QVERIFY(!app.find<QAbstractButton>("cmdSaveNote")->isEnabled());
    QVERIFY(!QDir(app.notesFolder()).exists());
}

void ProjectPanelLoadTest::scanTakesNamesUpToTheirFirstRtf()
{
    TestApp app;
    for (const char *name : { "plan.rtf.bak", "Plan.RTF", "readme.txt", ".hidden.rtf", ".rtf",
             "a:b.rtf", "Budget.rtf", "notes.rtfx" })
        app.writeFile(app.notePath(name), "{\\rtf1 x}");
    QDir(app.notesFolder()).mkdir("folder.rtf");
    app.open();
    QStringList titles = app.listTitles();
    titles.sort();
    QCOMPARE(titles, (QStringList { "Budget", "notes", "plan" }));
    QVERIFY(app.list()->isEnabled());
    // Nothing is selected and nothing is shown after opening.
    QCOMPARE(app.list()->currentRow(), -1);
    QVERIFY(!app.editor()->isEnabled());
    QCOMPARE(editorText(app), QString());
}

void ProjectPanelLoadTest::scanKeepsTheListingOrder()
{
    TestApp app;
    FaultyFileStore files;
    files.listing = QStringList { "b.rtf", "c.txt", "a.rtf", "B.rtf" };
    app.files = &files;
    app.open();
    QCOMPARE(app.listTitles(), (QStringList { "b", "a", "B" }));
}

void ProjectPanelLoadTest::scanLetsEventsRunAfterEveryName()
{
    TestApp app;
    FaultyFileStore files;
    files.listing = QStringList { "a.rtf", "b.rtf" };
    app.files = &files;
    int ran = 0;
    QMetaObject::invokeMethod(
        qApp, [&ran] { ++ran; }, Qt::QueuedConnection);
    app.open();
    QCOMPARE(ran, 1);
}

void ProjectPanelLoadTest::noStoredOrderShowsTheScan_data()
{
    QTest::addColumn<QString>("order");
    QTest::newRow("never stored") << QString();
    QTest::newRow("na") << "na";
    QTest::newRow("na:") << "na:";
    QTest::newRow("empty") << "";
    QTest::newRow("na first") << "na:Other";
}

void ProjectPanelLoadTest::noStoredOrderShowsTheScan()
{
    QFETCH(QString, order);
    TestApp app;
    FaultyFileStore files;
    files.listing = QStringList { "b.rtf", "a.rtf", "readme.txt" };
    app.files = &files;
    if (QTest::currentDataTag() != QByteArray("never stored"))
        setOrder(app, order);
    app.open();
    QCOMPARE(app.listTitles(), (QStringList { "b", "a" }));
}

// The stored order comes first, then each note of the folder it does not name, once, in the order
// of the listing; a stored title without a note file stays.
void ProjectPanelLoadTest::storedOrderComesFirstThenUnlistedNotes()
{
    TestApp app;
    FaultyFileStore files;
    files.listing
        = QStringList { "Gamma.rtf", "Alpha.rtf", "Delta.rtf", "Gamma.rtf.bak", "Beta.rtf" };
    app.files = &files;
    setOrder(app, "Beta:Alpha:Lost");
    app.open();
    QCOMPARE(app.listTitles(), (QStringList { "Beta", "Alpha", "Lost", "Gamma", "Delta" }));
    // Upper case or padding make an ordinary title, not the marker.
    TestApp other;
    setOrder(other, "NA:x");
    other.open();
    QCOMPARE(other.listTitles(), (QStringList { "NA", "x" }));
}

// A project added since the last close is there after a crash: the order is stored once its note
// is first written, not only when the window closes.
void ProjectPanelLoadTest::addedProjectSurvivesACrash()
{
    TestApp app;
    openWithNotes(app, alphaAndBeta());
    app.prompter.answerInput("Idea");
    app.click("cmdNewToDo");
    // No note on disk yet: the stored order does not name the new item.
    QCOMPARE(storedOrder(app), QStringLiteral("A:B"));
    typeText(app, "ok"); // the second key release writes the note
    QVERIFY(QFile::exists(app.notePath("Idea.rtf")));
    QCOMPARE(storedOrder(app), QStringLiteral("A:B:Idea"));

    // The program ends without closing; the next start reads what is on disk.
    app.reopenSettings();
    MainWindow next(app.services());
    next.showWindow();
    auto *list = next.findChild<QListWidget *>("lstToDo");
    QVERIFY(list);
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(2)->text(), QStringLiteral("Idea"));
}

void ProjectPanelLoadTest::storedOrderWithAnEmptyTitleReadsAndStoresBack()
{
    TestApp app;
    setOrder(app, "A::B");
    app.open();
    QCOMPARE(app.listTitles(), (QStringList { "A", "", "B" }));
    app.window().projects().storeOrder();
    QCOMPARE(storedOrder(app), QStringLiteral("A::B"));
}

void ProjectPanelLoadTest::firstTitleNaIsReadAsNoOrderNextTime()
{
    TestApp app;
    openWithNotes(app, { { "Other", "o" }, { "na", "n" } });
    // Stored with "na" moved to the top, the order reads as none at the next start.
    select(app, 1);
    app.click("cmdUp");
    app.window().projects().storeOrder();
    QCOMPARE(storedOrder(app), QStringLiteral("na:Other"));

    TestApp next;
    setOrder(next, storedOrder(app));
    FaultyFileStore files;
    files.listing = QStringList { "Other.rtf", "Third.rtf" };
    next.files = &files;
    next.open();
    QCOMPARE(next.listTitles(), (QStringList { "Other", "Third" }));
}

void ProjectPanelLoadTest::storingTheOrder()
{
    TestApp app;
    setOrder(app, "Alpha:Beta");
    app.open();
    app.window().projects().storeOrder();
    QCOMPARE(storedOrder(app), QStringLiteral("Alpha:Beta"));

    TestApp single;
    setOrder(single, "Notes");
    single.open();
    single.window().projects().storeOrder();
    QCOMPARE(storedOrder(single), QStringLiteral("Notes"));

    TestApp empty;
    empty.open();
    empty.window().projects().storeOrder();
    QCOMPARE(storedOrder(empty), QStringLiteral("na"));
}

void ProjectPanelLoadTest::storingTheOrderLoadsNoNote()
{
    TestApp app;
    FaultyFileStore files;
    app.files = &files;
    openWithNotes(app, { { "A", "a" }, { "B", "b" } });
    select(app, 0);
    files.readNames.clear();
    app.window().projectFlags().blnClosing = true;
    app.window().projects().storeOrder();
    QCOMPARE(files.readNames, QStringList());
    QCOMPARE(editorText(app), QStringLiteral("a"));
    QCOMPARE(app.window().projects().editorOwner(), QStringLiteral("A"));
}

void ProjectPanelLoadTest::longTitleEndsInDotsAndShowsWholeInItsToolTip()
{
    TestApp app;
    const QString longTitle
        = QStringLiteral("A title far longer than the list of projects is wide");
    // The short one first: the list measures its first entry for all of them.
    openWithNotes(app, { { "Ab", "a" }, { longTitle, "l" } });
    QListWidget *list = app.list();
    QVERIFY(!list->horizontalScrollBar()->isVisible());
    const QRect longRect = list->visualItemRect(list->item(1));
    QCOMPARE(longRect.width(), list->viewport()->width());
    QHelpEvent help(
        QEvent::ToolTip, longRect.center(), list->viewport()->mapToGlobal(longRect.center()));
    QApplication::sendEvent(list->viewport(), &help);
    QCOMPARE(QToolTip::text(), longTitle);
}

QTEST_MAIN(ProjectPanelLoadTest)
#include "tst_projectpanel_load.moc"
