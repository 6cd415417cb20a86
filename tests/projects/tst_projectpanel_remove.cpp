// "Remove ToDo": the question, the note file that goes with the entry, and the editor and list left
// with nothing selected.
#include "history/NoteHistory.h"
#include "projects/ProjectPanel.h"
#include "support/ProjectTestSupport.h"

#include <QDir>
#include <QtTest>

using namespace ProjectTest;

class ProjectPanelRemoveTest : public QObject
{
    Q_OBJECT
private slots:
    void nothingSelectedAsksNothing();
    void deselectedCurrentEntryIsLeftAlone_data();
    void deselectedCurrentEntryIsLeftAlone();
    void answerNoChangesNothing();
    void answerYesDeletesTheNote();
    void readOnlyNoteIsDeletedToo();
    void missingNoteIsReportedAndTheEntryRemoved();
    void removingTheMiddleEntryLoadsNoOtherNote();
    void removalIsStoredAtOnce();
    void removedNoteCanComeBack_data();
    void removedNoteCanComeBack();
    void noPlaceForTheRemovedNoteLeavesItAndTells();
};

void ProjectPanelRemoveTest::nothingSelectedAsksNothing()
{
    TestApp app;
    setOrder(app, "A:B");
    app.open();
    app.click("cmdRemToDo");
    QVERIFY(app.prompter.shown().isEmpty());
    QCOMPARE(app.listTitles(), (QStringList { "A", "B" }));

    TestApp empty;
    empty.open();
    empty.click("cmdRemToDo");
    QVERIFY(empty.prompter.shown().isEmpty());
}

void ProjectPanelRemoveTest::deselectedCurrentEntryIsLeftAlone_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("remove") << "cmdRemToDo";
    QTest::newRow("up") << "cmdUp";
    QTest::newRow("down") << "cmdDOWN";
}

// A Ctrl+click on the selected entry deselects it but leaves it current.
void ProjectPanelRemoveTest::deselectedCurrentEntryIsLeftAlone()
{
    QFETCH(QString, button);
    TestApp app;
    openWithNotes(app, { { "A", "a" }, { "B", "b" }, { "C", "c" } });
    select(app, 1);
    app.list()->currentItem()->setSelected(false);
    app.click(button);
    QVERIFY(app.prompter.shown().isEmpty());
    QCOMPARE(app.listTitles(), (QStringList { "A", "B", "C" }));
    QVERIFY(QFile::exists(app.notePath("B.rtf")));
    QCOMPARE(app.list()->currentRow(), 1);
    QCOMPARE(selectedTitle(app), QStringLiteral("<none>"));
}

void ProjectPanelRemoveTest::answerNoChangesNothing()
{
    TestApp app;
    openWithNotes(app, { { "A", "a" } });
    select(app, 0);
    app.prompter.answerQuestion(Prompter::Answer::No);
    app.click("cmdRemToDo");
    const QList<ScriptedPrompter::Shown> questions = app.prompter.shownOfKind("question");
    QCOMPARE(questions.size(), 1);
    QCOMPARE(questions[0].text, QStringLiteral("Remove the selected ToDo item?"));
    QCOMPARE(questions[0].caption, QStringLiteral("Confirm"));
    QCOMPARE(app.listTitles(), QStringList { "A" });
    QCOMPARE(selectedTitle(app), QStringLiteral("A"));
    QCOMPARE(editorText(app), QStringLiteral("a"));
    QVERIFY(QFile::exists(app.notePath("A.rtf")));
}

void ProjectPanelRemoveTest::answerYesDeletesTheNote()
{
    TestApp app;
    openWithNotes(app, { { "A", "a" }, { "B", "b" } });
    select(app, 0);
    app.click("cmdRemToDo");
    QCOMPARE(app.prompter.shownOfKind("message").size(), 0);
    QCOMPARE(app.listTitles(), QStringList { "B" });
    QVERIFY(!QFile::exists(app.notePath("A.rtf")));
    QVERIFY(QFile::exists(app.notePath("B.rtf")));
    QCOMPARE(app.list()->currentRow(), -1);
    QCOMPARE(app.list()->selectedItems().size(), 0);
    QCOMPARE(editorText(app), QString());
    QVERIFY(!app.editor()->isEnabled());
}

void ProjectPanelRemoveTest::readOnlyNoteIsDeletedToo()
{
    TestApp app;
    app.writeNote("A.rtf", "a");
    QFile::setPermissions(app.notePath("A.rtf"), QFileDevice::ReadOwner);
    setOrder(app, "A");
    app.open();
    select(app, 0);
    app.click("cmdRemToDo");
    QVERIFY(!QFile::exists(app.notePath("A.rtf")));
    QCOMPARE(app.listTitles(), QStringList());
}

void ProjectPanelRemoveTest::missingNoteIsReportedAndTheEntryRemoved()
{
    TestApp app;
    setOrder(app, "Lost:Kept");
    app.open();
    select(app, 0);
    app.click("cmdRemToDo");
    const QList<ScriptedPrompter::Shown> messages = app.prompter.shownOfKind("message");
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text,
        QStringLiteral(
            "ToDo list item: Lost was not found.  Item will be removed from active list."));
    QCOMPARE(messages[0].caption, QStringLiteral("File Not Found"));
    QCOMPARE(app.listTitles(), QStringList { "Kept" });
    QCOMPARE(app.list()->currentRow(), -1);
}

void ProjectPanelRemoveTest::removingTheMiddleEntryLoadsNoOtherNote()
{
    TestApp app;
    FaultyFileStore files;
    app.files = &files;
    openWithNotes(app, { { "A", "a" }, { "B", "b" }, { "C", "c" } });
    select(app, 1);
    files.readNames.clear();
    app.click("cmdRemToDo");
    QCOMPARE(files.readNames, QStringList());
    QCOMPARE(app.listTitles(), (QStringList { "A", "C" }));
    QCOMPARE(app.list()->currentRow(), -1);
    QCOMPARE(app.window().projects().editorOwner(), QString());

    // Whatever is typed now belongs to no note: A keeps its own.
    const QByteArray before = app.readFile(app.notePath("A.rtf"));
    app.editor()->setEnabled(true);
    typeText(app, "oops");
    QCOMPARE(app.readFile(app.notePath("A.rtf")), before);
    QCOMPARE(app.readFile(app.notePath("C.rtf")), app.rtfWithText("c"));
    QCOMPARE(QDir(app.notesFolder()).entryList(QDir::Files | QDir::Hidden),
        (QStringList { "A.rtf", "C.rtf" }));
    // Every second key finds no note to write and takes "Save ToDo" back.
    QVERIFY(!app.find<QAbstractButton>("cmdSaveNote")->isEnabled());
}

void ProjectPanelRemoveTest::removalIsStoredAtOnce()
{
    TestApp app;
    setOrder(app, "A:B");
    app.open();
    select(app, 1);
    app.click("cmdRemToDo");
    QCOMPARE(storedOrder(app), QStringLiteral("A"));
}

void ProjectPanelRemoveTest::removedNoteCanComeBack_data()
{
    QTest::addColumn<bool>("trash");
    QTest::newRow("in the trash") << true;
    QTest::newRow("no trash: in its history") << false;
}

void ProjectPanelRemoveTest::removedNoteCanComeBack()
{
    QFETCH(bool, trash);
    TestApp app;
    app.trash.available = trash;
    MainWindow &window = openWithNotes(app, { { "A", "a" }, { "B", "b" } });
    select(app, 0);
    app.click("cmdRemToDo");
    QVERIFY(app.prompter.shownOfKind("message").isEmpty());
    QVERIFY(!QFile::exists(app.notePath("A.rtf")));
    QStringList kept = app.trash.trashed;
    // A title added again finds the removed note among its earlier versions.
    for (const NoteHistory::Entry &entry : window.history().entries(app.notePath("A.rtf")))
        if (entry.kind == NoteHistory::Entry::Kind::Removed)
            kept.append(entry.path);
    QCOMPARE(kept.size(), 1);
    QCOMPARE(app.rtfFileText(kept[0]), QStringLiteral("a"));
    // The scan of the notes never lists what the history holds.
    window.projects().loadList();
    QCOMPARE(app.listTitles(), QStringList { "B" });
}

void ProjectPanelRemoveTest::noPlaceForTheRemovedNoteLeavesItAndTells()
{
    TestApp app;
    app.trash.available = false;
    app.writeFile(app.folder() + QLatin1Char('/') + NoteHistory::folderName(), "not a folder");
    openWithNotes(app, { { "A", "a" } });
    select(app, 0);
    app.click("cmdRemToDo");
    const QList<ScriptedPrompter::Shown> messages = app.prompter.shownOfKind("message");
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].caption, QStringLiteral("Remove ToDo"));
    QVERIFY(messages[0].text.contains(QDir::toNativeSeparators(app.notePath("A.rtf"))));
    QCOMPARE(app.listTitles(), QStringList());
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("a"));
}

QTEST_MAIN(ProjectPanelRemoveTest)
#include "tst_projectpanel_remove.moc"
