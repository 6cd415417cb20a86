// The two move buttons: one place up or down, the moved entry selected with its note shown again.
#include "projects/ProjectPanel.h"
#include "support/ProjectTestSupport.h"

#include <QtTest>

using namespace ProjectTest;

class ProjectPanelMoveTest : public QObject
{
    Q_OBJECT
private slots:
    void nothingToMove_data();
    void nothingToMove();
    void movingTheMiddleEntry_data();
    void movingTheMiddleEntry();
    void upThenDownRestoresTheOrder();
    void movedNoteIsShownAgainFromItsFile();
    void movedOrderIsStoredAtOnce();
};

void ProjectPanelMoveTest::nothingToMove_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("button");
    QTest::newRow("nothing selected, up") << "A:B" << -1 << "cmdUp";
    QTest::newRow("nothing selected, down") << "A:B" << -1 << "cmdDOWN";
    QTest::newRow("empty list") << "na" << -1 << "cmdUp";
    QTest::newRow("one entry, up") << "A" << 0 << "cmdUp";
    QTest::newRow("one entry, down") << "A" << 0 << "cmdDOWN";
    QTest::newRow("first up") << "A:B:C" << 0 << "cmdUp";
    QTest::newRow("last down") << "A:B:C" << 2 << "cmdDOWN";
    QTest::newRow("entry without a title") << "A::B" << 1 << "cmdUp";
}

void ProjectPanelMoveTest::nothingToMove()
{
    QFETCH(QString, order);
    QFETCH(int, row);
    QFETCH(QString, button);
    TestApp app;
    setOrder(app, order);
    app.open();
    const QStringList before = app.listTitles();
    select(app, row);
    app.click(button);
    QCOMPARE(app.listTitles(), before);
    QCOMPARE(app.list()->currentRow(), row);
}

void ProjectPanelMoveTest::movingTheMiddleEntry_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("up") << "cmdUp" << QStringList { "B", "A", "C" };
    QTest::newRow("down") << "cmdDOWN" << QStringList { "A", "C", "B" };
}

void ProjectPanelMoveTest::movingTheMiddleEntry()
{
    QFETCH(QString, button);
    QFETCH(QStringList, order);
    TestApp app;
    setOrder(app, "A:B:C");
    app.open();
    select(app, 1);
    app.click(button);
    QCOMPARE(app.listTitles(), order);
    QCOMPARE(selectedTitle(app), QStringLiteral("B"));
    QCOMPARE(app.list()->count(), 3);
}

void ProjectPanelMoveTest::upThenDownRestoresTheOrder()
{
    TestApp app;
    setOrder(app, "A:B:C:D");
    app.open();
    select(app, 2);
    app.click("cmdUp");
    QCOMPARE(app.listTitles(), (QStringList { "A", "C", "B", "D" }));
    app.click("cmdDOWN");
    QCOMPARE(app.listTitles(), (QStringList { "A", "B", "C", "D" }));
    QCOMPARE(selectedTitle(app), QStringLiteral("C"));
}

void ProjectPanelMoveTest::movedNoteIsShownAgainFromItsFile()
{
    TestApp app;
    FaultyFileStore files;
    app.files = &files;
    openWithNotes(app, { { "A", "a" }, { "B", "b note" } });
    app.window().activateWindow();
    select(app, 1);
    app.editor()->setCaretPosition(3);
    files.readNames.clear();
    app.find<QWidget>("cmdUp")->setFocus();
    app.click("cmdUp");
    QCOMPARE(files.readNames, QStringList { "B.rtf" });
    QCOMPARE(editorText(app), QStringLiteral("b note"));
    QCOMPARE(app.editor()->textCursor().position(), 0);
    QVERIFY(app.editor()->isEnabled());
    QCOMPARE(app.window().focusWidget(), app.editor());
    QCOMPARE(app.window().projects().editorOwner(), QStringLiteral("B"));
}

void ProjectPanelMoveTest::movedOrderIsStoredAtOnce()
{
    TestApp app;
    setOrder(app, "A:B");
    app.open();
    select(app, 1);
    app.click("cmdUp");
    QCOMPARE(storedOrder(app), QStringLiteral("B:A"));
}

QTEST_MAIN(ProjectPanelMoveTest)
#include "tst_projectpanel_move.moc"
