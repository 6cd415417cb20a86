// Selecting an entry shows its note; every second key release in the editor writes it; "Save ToDo"
// writes it and unlocks the project area.
#include "projects/ProjectPanel.h"
#include "support/ProjectTestSupport.h"

#include <QDir>
#include <QtTest>

using namespace ProjectTest;

class ProjectPanelSelectTest : public QObject
{
    Q_OBJECT
private slots:
    void selectingShowsTheNoteReadyForTyping();
    void noteFileNameRule();
    void everySecondKeyReleaseWrites();
    void keyCountCarriesOverToTheNextEntry();
    void heldKeyCountsOnce();
    void keysThatChangeNothingStillCount();
    void autosaveLeavesTheButtonsAlone();
    void saveToDoCreatesTheFolderAndUnlocksEverything();
    void saveToDoWithNoNoteShownOnlyDisablesItself();
    void writtenNoteIsAtomicAndReadsBack();
    void tabbingIntoTheListSelectsNothing();
    void anotherSelectionStopsALargeNoteOpening();
    void saveWhileALargeNoteOpensWritesNothingOfIt();

private:
    // A note large enough to open while the window goes on answering.
    static QString largeText()
    {
        return QStringLiteral("large note line of text\n")
            .repeated(RichTextBox::openInBackgroundBytes / 20);
    }
    static void openWith(TestApp &app, const QString &order)
    {
        setOrder(app, order);
        app.open();
    }
};

void ProjectPanelSelectTest::selectingShowsTheNoteReadyForTyping()
{
    TestApp app;
    app.writeNote("Alpha.rtf", "alpha note\nsecond line");
    openWithNotes(app, { { "Beta", "beta note" } }, "Alpha:Beta");
    app.window().activateWindow();
    select(app, 1);
    QCOMPARE(editorText(app), QStringLiteral("beta note"));
    QVERIFY(app.editor()->isEnabled());
    QCOMPARE(app.window().focusWidget(), app.editor());
    QCOMPARE(app.editor()->textCursor().position(), 0);

    app.editor()->setCaretPosition(5);
    select(app, 0);
    QCOMPARE(editorText(app), QStringLiteral("alpha note\nsecond line"));
    QCOMPARE(app.editor()->textCursor().position(), 0);
    // Showing a note is a change of the editor's content: "Save ToDo" lights up.
    QVERIFY(app.find<QAbstractButton>("cmdSaveNote")->isEnabled());
}

void ProjectPanelSelectTest::noteFileNameRule()
{
    TestApp app;
    openWithNotes(app, { { "Plan", "plan" }, { "Plan.RTF", "upper" } }, "Plan.rtf:Plan.RTF");
    select(app, 0);
    QCOMPARE(editorText(app), QStringLiteral("plan"));
    select(app, 1);
    QCOMPARE(editorText(app), QStringLiteral("upper"));
    typeText(app, "U!");
    QCOMPARE(app.rtfFileText(app.notePath("Plan.RTF.rtf")), QStringLiteral("U!upper"));
    QVERIFY(!QFile::exists(app.notePath("Plan.RTF")));
}

void ProjectPanelSelectTest::everySecondKeyReleaseWrites()
{
    TestApp app;
    openWithNotes(app, { { "Plan", "plan" } });
    select(app, 0);
    const QString path = app.notePath("Plan.rtf");
    typeKey(app, 'a');
    QCOMPARE(app.rtfFileText(path), QStringLiteral("plan"));
    typeKey(app, 'b');
    QCOMPARE(app.rtfFileText(path), QStringLiteral("abplan"));
    typeKey(app, 'c');
    QCOMPARE(app.rtfFileText(path), QStringLiteral("abplan"));
    typeKey(app, 'd');
    QCOMPARE(app.rtfFileText(path), QStringLiteral("abcdplan"));
    QCOMPARE(app.window().projectFlags().intKeyCount, qint16(0));
}

void ProjectPanelSelectTest::keyCountCarriesOverToTheNextEntry()
{
    TestApp app;
    openWithNotes(app, { { "A", "a" }, { "B", "b" } });
    select(app, 0);
    QTest::keyClick(app.editor(), Qt::Key_Right);
    QCOMPARE(app.window().projectFlags().intKeyCount, qint16(1));
    select(app, 1);
    typeKey(app, 'x');
    QCOMPARE(app.rtfFileText(app.notePath("B.rtf")), QStringLiteral("xb"));
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("a"));
}

void ProjectPanelSelectTest::heldKeyCountsOnce()
{
    TestApp app;
    openWithNotes(app, { { "A", "a" } });
    select(app, 0);
    holdKey(app, Qt::Key_X, "x", 5);
    QCOMPARE(app.window().projectFlags().intKeyCount, qint16(1));
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("a"));
    holdKey(app, Qt::Key_Y, "y", 3);
    QCOMPARE(app.window().projectFlags().intKeyCount, qint16(0));
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("xxxxxxyyyya"));
}

void ProjectPanelSelectTest::keysThatChangeNothingStillCount()
{
    TestApp app;
    FaultyFileStore files;
    app.files = &files;
    openWithNotes(app, { { "A", "a" } });
    select(app, 0);
    QTest::keyClick(app.editor(), Qt::Key_Shift);
    QTest::keyClick(app.editor(), Qt::Key_Right);
    QCOMPARE(files.writtenNames, QStringList { "A.rtf" });
}

void ProjectPanelSelectTest::autosaveLeavesTheButtonsAlone()
{
    TestApp app;
    openWithNotes(app, { { "A", "a" } });
    select(app, 0);
    typeText(app, "xy");
    QCOMPARE(enabledButtons(app), commandButtonNames());
    QVERIFY(app.list()->isEnabled());
}

void ProjectPanelSelectTest::saveToDoCreatesTheFolderAndUnlocksEverything()
{
    TestApp app;
    openWith(app, "Fresh:Other");
    QVERIFY(!QDir(app.notesFolder()).exists());
    select(app, 0);
    typeKey(app, 'n');
    // Locked as if a new item were pending: Save ToDo unlocks whatever was disabled.
    for (const QString &name : commandButtonNames())
        app.find<QAbstractButton>(name)->setEnabled(false);
    app.find<QAbstractButton>("cmdSaveNote")->setEnabled(true);
    app.list()->setEnabled(false);
    app.click("cmdSaveNote");
    QCOMPARE(app.rtfFileText(app.notePath("Fresh.rtf")), QStringLiteral("n"));
    QCOMPARE(enabledButtons(app), allButtonsBut("cmdSaveNote"));
    QVERIFY(app.list()->isEnabled());
    QVERIFY(app.prompter.shown().isEmpty());
}

void ProjectPanelSelectTest::saveToDoWithNoNoteShownOnlyDisablesItself()
{
    TestApp app;
    openWith(app, "A");
    auto *save = app.find<QAbstractButton>("cmdSaveNote");
    app.find<QAbstractButton>("cmdUp")->setEnabled(false);
    save->setEnabled(true);
    save->click();
    QVERIFY(!save->isEnabled());
    QVERIFY(!app.find<QAbstractButton>("cmdUp")->isEnabled());
    // The folder is made ready whatever happens next, as every save does.
    QVERIFY(QDir(app.notesFolder()).exists());
    QCOMPARE(QDir(app.notesFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void ProjectPanelSelectTest::writtenNoteIsAtomicAndReadsBack()
{
    TestApp app;
    openWithNotes(app, { { "A", "a" } });
    select(app, 0);
    typeText(app, "Größe ☕ ");
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("Größe ☕ a"));
    // No temporary file is left for the folder scan to find.
    QCOMPARE(
        QDir(app.notesFolder()).entryList(QDir::Files | QDir::Hidden), QStringList { "A.rtf" });
}

void ProjectPanelSelectTest::tabbingIntoTheListSelectsNothing()
{
    TestApp app;
    FaultyFileStore files;
    app.files = &files;
    openWithNotes(app, { { "A", "a" } }, "A:B");
    app.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&app.window()));
    app.list()->setFocus(Qt::TabFocusReason);
    QCOMPARE(app.window().focusWidget(), app.list());
    QVERIFY(files.readNames.isEmpty());
    QCOMPARE(app.list()->selectedItems().size(), 0);
    QVERIFY(!app.editor()->isEnabled());
    // The arrow keys then select as usual.
    QTest::keyClick(app.list(), Qt::Key_Down);
    QCOMPARE(selectedTitle(app), QStringLiteral("A"));
    QCOMPARE(editorText(app), QStringLiteral("a"));

    // Nor after a removal or "Save Days" has left the list without a selection.
    app.list()->setCurrentRow(1);
    app.click("cmdRemToDo");
    app.prompter.answerInput("C");
    app.click("cmdNewToDo");
    app.click("cmdSaveNote");
    app.click("cmdSaveAllNow");
    QCOMPARE(app.list()->currentRow(), -1);
    files.readNames.clear();
    app.find<QWidget>("cmdNewToDo")->setFocus(Qt::TabFocusReason);
    app.list()->setFocus(Qt::TabFocusReason);
    QCOMPARE(app.window().focusWidget(), app.list());
    QVERIFY(files.readNames.isEmpty());
    QCOMPARE(app.list()->selectedItems().size(), 0);
}

void ProjectPanelSelectTest::anotherSelectionStopsALargeNoteOpening()
{
    TestApp app;
    openWithNotes(app, { { "Large", largeText() }, { "B", "beta" } });
    const QByteArray large = app.readFile(app.notePath("Large.rtf"));
    select(app, 0);
    QVERIFY(app.editor()->isOpening());
    QVERIFY(!app.editor()->isEnabled());
    select(app, 1);
    QCOMPARE(editorText(app), QStringLiteral("beta"));
    QTest::qWait(300);
    QCOMPARE(editorText(app), QStringLiteral("beta"));
    QCOMPARE(app.editor()->isEnabled(), true);
    QCOMPARE(app.readFile(app.notePath("Large.rtf")), large);
    QCOMPARE(app.rtfFileText(app.notePath("B.rtf")), QStringLiteral("beta"));
}

void ProjectPanelSelectTest::saveWhileALargeNoteOpensWritesNothingOfIt()
{
    TestApp app;
    openWithNotes(app, { { "A", "alpha" }, { "Large", largeText() } });
    select(app, 0);
    typeKey(app, 'x');
    select(app, 1);
    QVERIFY(app.editor()->isOpening());
    const QByteArray large = app.readFile(app.notePath("Large.rtf"));
    app.click("cmdSaveNote");
    app.click("cmdSaveAllNow");
    QCOMPARE(app.readFile(app.notePath("Large.rtf")), large);
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("xalpha"));
    QTRY_VERIFY(!app.editor()->isOpening());
    QCOMPARE(editorText(app).trimmed(), largeText().trimmed());
    QVERIFY(app.editor()->isEnabled());
    QCOMPARE(app.window().projects().editorOwner(), QStringLiteral("Large"));
}

QTEST_MAIN(ProjectPanelSelectTest)
#include "tst_projectpanel_select.moc"
