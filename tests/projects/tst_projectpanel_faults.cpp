// The project area never loses or misplaces a note: the editor writes only to the entry whose note
// it shows, pending edits are written before it shows anything else, unreadable notes are kept, and
// failed writes are reported instead of passing for saved.
#include "projects/ProjectPanel.h"
#include "support/ProjectTestSupport.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QtTest>

using namespace ProjectTest;

class ProjectPanelFaultsTest : public QObject
{
    Q_OBJECT
private slots:
    // The editor shows its owner's note or nothing.
    void missingNoteShowsAnEmptyNoteForThatEntry();
    void unreadableNoteShowsAnEmptyNoteForThatEntry();
    void entryWithoutTitleTakesNoNote();
    // No edit is lost.
    void pendingEditIsWrittenBeforeAnotherEntryIsShown();
    void pendingEditIsWrittenBeforeAMove();
    void pendingEditIsWrittenBeforeAdding();
    void pastedTextIsWrittenBeforeAnotherEntryIsShown();
    void flushWritesOnlyWhatChanged();
    void clearingTheListWritesThePendingEdit();
    // With no entry selected, typing belongs to the note shown.
    void afterSaveDaysTypingStillSavesTheNoteShown();
    // Removing uses the note file name of saving.
    void removingAnEntryEndingInRtf();
    void removingAnEntryWithoutTitle();
    // A note hidden from the list comes back with its own content.
    void addingTheTitleOfAHiddenNoteShowsIt();
    void addingTheTitleOfAnUnreadableHiddenNoteKeepsIt();
    // Titles that would reach outside the note folder.
    void entriesOutsideTheNoteFolderTouchNoFile_data();
    void entriesOutsideTheNoteFolderTouchNoFile();
    // Unreadable notes are kept before they are replaced.
    void unreadableNoteIsSetAsideBeforeTheFirstWrite();
    void olderBackupIsNeverOverwritten();
    void noteThatCannotBeSetAsideIsNotReplaced();
    void noteWithContentItCannotShowIsKeptAsBroughtIn();
    // Failed writes are reported.
    void failedSaveToDoIsReportedAndChangesNothing();
    void folderThatCannotBeCreatedIsReported();
    void failedAutosaveIsReportedOncePerNote();
    void flushReportsFailure();
    void editThatCouldNotBeWrittenIsKeptUntilItIs();
    void removingANoteForgetsItsFailure();
    void keptEditsAreWrittenByTheNextFlush();
};

void ProjectPanelFaultsTest::missingNoteShowsAnEmptyNoteForThatEntry()
{
    TestApp app;
    openWithNotes(app, { { "A", "alpha" } }, "A:B");
    select(app, 0);
    select(app, 1);
    QCOMPARE(editorText(app), QString());
    QVERIFY(app.editor()->isEnabled());
    QCOMPARE(app.window().projects().editorOwner(), QStringLiteral("B"));
    typeText(app, "bb");
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("alpha"));
    QCOMPARE(app.rtfFileText(app.notePath("B.rtf")), QStringLiteral("bb"));
}

void ProjectPanelFaultsTest::unreadableNoteShowsAnEmptyNoteForThatEntry()
{
    TestApp app;
    app.writeNote("A.rtf", "alpha");
    app.writeFile(app.notePath("B.rtf"), "just text, not a rich-text document");
    setOrder(app, "A:B");
    app.open();
    select(app, 0);
    select(app, 1);
    QCOMPARE(editorText(app), QString());
    QVERIFY(app.editor()->isEnabled());
    // The empty editor does not pass for a wiped note: the user hears why, and where the file goes.
    const QList<ScriptedPrompter::Shown> shown = app.prompter.shown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].kind, QStringLiteral("notice"));
    QCOMPARE(shown[0].caption, QStringLiteral("Note Not Readable"));
    QCOMPARE(shown[0].text,
        QStringLiteral("B could not be read as a note and is shown empty.  Before anything is "
                       "saved into it, the file is kept as .B.rtf.unreadable-1 in the same "
                       "folder."));
    typeText(app, "bb");
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("alpha"));
    QCOMPARE(app.rtfFileText(app.notePath("B.rtf")), QStringLiteral("bb"));
    QCOMPARE(app.readFile(app.notePath(".B.rtf.unreadable-1")),
        QByteArray("just text, not a rich-text document"));
    QCOMPARE(app.prompter.shown().size(), 1);
}

void ProjectPanelFaultsTest::entryWithoutTitleTakesNoNote()
{
    TestApp app;
    FaultyFileStore files;
    app.files = &files;
    app.writeNote("A.rtf", "alpha");
    app.writeNote(".rtf", "hidden");
    setOrder(app, "A::B");
    app.open();
    select(app, 0);
    select(app, 1);
    QCOMPARE(editorText(app), QString());
    QVERIFY(!app.editor()->isEnabled());
    QCOMPARE(app.window().projects().editorOwner(), QString());
    QVERIFY(!files.readNames.contains(".rtf"));
    app.find<QAbstractButton>("cmdSaveNote")->setEnabled(true);
    app.click("cmdSaveNote");
    QVERIFY(files.writtenNames.isEmpty());
    QVERIFY(!app.find<QAbstractButton>("cmdSaveNote")->isEnabled());
    QCOMPARE(app.rtfFileText(app.notePath(".rtf")), QStringLiteral("hidden"));
}

void ProjectPanelFaultsTest::pendingEditIsWrittenBeforeAnotherEntryIsShown()
{
    TestApp app;
    openWithNotes(app, alphaAndBeta());
    select(app, 0);
    typeKey(app, 'x');
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("alpha"));
    select(app, 1);
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("xalpha"));
    QCOMPARE(editorText(app), QStringLiteral("beta"));
    // The count goes on: the next key release writes B.
    typeKey(app, 'y');
    QCOMPARE(app.rtfFileText(app.notePath("B.rtf")), QStringLiteral("ybeta"));
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("xalpha"));
}

void ProjectPanelFaultsTest::pendingEditIsWrittenBeforeAMove()
{
    TestApp app;
    openWithNotes(app, alphaAndBeta());
    select(app, 1);
    typeKey(app, 'x');
    app.click("cmdUp");
    QCOMPARE(app.rtfFileText(app.notePath("B.rtf")), QStringLiteral("xbeta"));
    QCOMPARE(editorText(app), QStringLiteral("xbeta"));
    QCOMPARE(app.listTitles(), (QStringList { "B", "A" }));
}

void ProjectPanelFaultsTest::pendingEditIsWrittenBeforeAdding()
{
    TestApp app;
    openWithNotes(app, { { "A", "alpha" } });
    select(app, 0);
    typeKey(app, 'x');
    app.prompter.answerInput("New");
    app.click("cmdNewToDo");
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("xalpha"));
    QCOMPARE(editorText(app), QString());
    QVERIFY(app.window().projectFlags().blnUnsavedItem);
    QVERIFY(!QFile::exists(app.notePath("New.rtf")));
}

void ProjectPanelFaultsTest::pastedTextIsWrittenBeforeAnotherEntryIsShown()
{
    TestApp app;
    openWithNotes(app, alphaAndBeta());
    select(app, 0);
    QGuiApplication::clipboard()->setText("pasted ");
    app.editor()->paste();
    QCOMPARE(editorText(app), QStringLiteral("pasted alpha"));
    select(app, 1);
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("pasted alpha"));
}

void ProjectPanelFaultsTest::flushWritesOnlyWhatChanged()
{
    TestApp app;
    FaultyFileStore files;
    app.files = &files;
    openWithNotes(app, alphaAndBeta());
    ProjectPanel &projects = app.window().projects();
    QVERIFY(projects.flushPendingNote());
    select(app, 0);
    select(app, 1);
    QVERIFY(projects.flushPendingNote());
    QCOMPARE(files.writtenNames, QStringList());
    typeKey(app, 'x');
    QVERIFY(projects.flushPendingNote());
    QCOMPARE(files.writtenNames, QStringList { "B.rtf" });
    QCOMPARE(app.rtfFileText(app.notePath("B.rtf")), QStringLiteral("xbeta"));
    QVERIFY(projects.flushPendingNote());
    QCOMPARE(files.writtenNames, QStringList { "B.rtf" });
}

void ProjectPanelFaultsTest::clearingTheListWritesThePendingEdit()
{
    TestApp app;
    openWithNotes(app, { { "A", "alpha" } });
    select(app, 0);
    typeKey(app, 'x');
    app.window().projects().clearList();
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("xalpha"));
    QCOMPARE(app.listTitles(), QStringList());
    QCOMPARE(editorText(app), QString());
    QVERIFY(!app.editor()->isEnabled());
    QCOMPARE(app.window().projects().editorOwner(), QString());
}

void ProjectPanelFaultsTest::afterSaveDaysTypingStillSavesTheNoteShown()
{
    TestApp app;
    openWithNotes(app, alphaAndBeta());
    select(app, 0);
    app.click("cmdSaveAllNow");
    // The entry stays selected: the user sees where the next keys go.
    QCOMPARE(app.list()->selectedItems(), { app.list()->item(0) });
    QCOMPARE(editorText(app), QStringLiteral("alpha"));
    typeText(app, "xy");
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("xyalpha"));
    QCOMPARE(app.rtfFileText(app.notePath("B.rtf")), QStringLiteral("beta"));

    typeKey(app, 'z');
    app.find<QAbstractButton>("cmdUp")->setEnabled(false);
    app.click("cmdSaveNote");
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("xyzalpha"));
    QCOMPARE(enabledButtons(app), allButtonsBut("cmdSaveNote"));
}

void ProjectPanelFaultsTest::removingAnEntryEndingInRtf()
{
    TestApp app;
    openWithNotes(app, { { "Plan", "plan" }, { "Plan.rtf", "other" } }, "Plan.rtf");
    select(app, 0);
    QCOMPARE(editorText(app), QStringLiteral("plan"));
    app.click("cmdRemToDo");
    QVERIFY(app.prompter.shownOfKind("message").isEmpty());
    QVERIFY(!QFile::exists(app.notePath("Plan.rtf")));
    QVERIFY(QFile::exists(app.notePath("Plan.rtf.rtf")));
    // The file left in the folder is listed under the title the folder scan gives it.
    QCOMPARE(app.listTitles(), QStringList { "Plan" });
}

void ProjectPanelFaultsTest::removingAnEntryWithoutTitle()
{
    TestApp app;
    app.writeNote(".rtf", "hidden");
    setOrder(app, "A::B");
    app.open();
    select(app, 1);
    app.click("cmdRemToDo");
    QCOMPARE(app.prompter.shownOfKind("question").size(), 1);
    QVERIFY(app.prompter.shownOfKind("message").isEmpty());
    QCOMPARE(app.listTitles(), (QStringList { "A", "B" }));
    QVERIFY(QFile::exists(app.notePath(".rtf")));
    QCOMPARE(app.list()->currentRow(), -1);
}

void ProjectPanelFaultsTest::addingTheTitleOfAHiddenNoteShowsIt()
{
    TestApp app;
    openWithNotes(app, { { "A", "alpha" }, { "Hidden", "kept note" } }, "A");
    const QByteArray before = app.readFile(app.notePath("Hidden.rtf"));
    app.prompter.answerInput("Hidden");
    app.click("cmdNewToDo");
    QCOMPARE(app.listTitles(), (QStringList { "A", "Hidden" }));
    QCOMPARE(selectedTitle(app), QStringLiteral("Hidden"));
    QCOMPARE(editorText(app), QStringLiteral("kept note"));
    QVERIFY(app.editor()->isEnabled());
    QVERIFY(!app.window().projectFlags().blnUnsavedItem);
    QVERIFY(app.list()->isEnabled());
    QCOMPARE(app.readFile(app.notePath("Hidden.rtf")), before);
    // Closing would not ask about an unsaved item, and the list goes on working.
    select(app, 0);
    QCOMPARE(app.readFile(app.notePath("Hidden.rtf")), before);
    QCOMPARE(editorText(app), QStringLiteral("alpha"));
}

void ProjectPanelFaultsTest::addingTheTitleOfAnUnreadableHiddenNoteKeepsIt()
{
    TestApp app;
    app.writeFile(app.notePath("Hidden.rtf"), "not rich text");
    app.open();
    app.prompter.answerInput("Hidden");
    app.click("cmdNewToDo");
    QCOMPARE(editorText(app), QString());
    QCOMPARE(app.readFile(app.notePath("Hidden.rtf")), QByteArray("not rich text"));
    typeText(app, "new");
    QCOMPARE(app.rtfFileText(app.notePath("Hidden.rtf")), QStringLiteral("ne"));
    QCOMPARE(app.readFile(app.notePath(".Hidden.rtf.unreadable-1")), QByteArray("not rich text"));
}

void ProjectPanelFaultsTest::entriesOutsideTheNoteFolderTouchNoFile_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("parent") << "../outside";
    QTest::newRow("sub-folder") << "sub/inner";
    QTest::newRow("backslash") << "..\\outside";
    QTest::newRow("dot") << ".";
    QTest::newRow("dot dot") << "..";
}

void ProjectPanelFaultsTest::entriesOutsideTheNoteFolderTouchNoFile()
{
    QFETCH(QString, title);
    TestApp app;
    FaultyFileStore files;
    app.files = &files;
    app.writeNote("A.rtf", "alpha");
    app.writeFile(app.folder() + "/outside.rtf", "{\\rtf1 outside}");
    app.writeNote("sub/inner.rtf", "inner");
    app.writeNote("..\\outside.rtf", "backslash");
    setOrder(app, "A:" + title);
    app.open();
    select(app, 0);
    typeKey(app, 'x');
    select(app, 1);
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("xalpha"));
    QCOMPARE(editorText(app), QString());
    QVERIFY(!app.editor()->isEnabled());
    QCOMPARE(files.readNames, QStringList { "A.rtf" });
    app.editor()->setEnabled(true);
    typeText(app, "zz");
    app.click("cmdSaveNote");
    QCOMPARE(files.writtenNames, QStringList { "A.rtf" });

    app.click("cmdRemToDo");
    const QList<ScriptedPrompter::Shown> messages = app.prompter.shownOfKind("message");
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].caption, QStringLiteral("File Not Found"));
    QCOMPARE(app.listTitles(), QStringList { "A" });
    QVERIFY(QFile::exists(app.folder() + "/outside.rtf"));
    QVERIFY(QFile::exists(app.notePath("sub/inner.rtf")));
    QVERIFY(QFile::exists(app.notePath("..\\outside.rtf")));
    QVERIFY(QDir(app.notesFolder()).exists());
}

void ProjectPanelFaultsTest::unreadableNoteIsSetAsideBeforeTheFirstWrite()
{
    TestApp app;
    const QByteArray damaged("{\\rt damaged note");
    app.writeFile(app.notePath("B.rtf"), damaged);
    setOrder(app, "B");
    app.open();
    select(app, 0);
    typeText(app, "ab");
    QCOMPARE(app.rtfFileText(app.notePath("B.rtf")), QStringLiteral("ab"));
    QCOMPARE(app.readFile(app.notePath(".B.rtf.unreadable-1")), damaged);
    typeText(app, "cd");
    QCOMPARE(app.rtfFileText(app.notePath("B.rtf")), QStringLiteral("abcd"));
    QCOMPARE(QDir(app.notesFolder()).entryList(QDir::Files | QDir::Hidden),
        (QStringList { ".B.rtf.unreadable-1", "B.rtf" }));

    // The backup never shows up as a project.
    TestApp next;
    next.writeFile(next.notePath(".B.rtf.unreadable-1"), damaged);
    next.writeNote("B.rtf", "b");
    next.open();
    QCOMPARE(next.listTitles(), QStringList { "B" });
}

void ProjectPanelFaultsTest::olderBackupIsNeverOverwritten()
{
    TestApp app;
    app.writeFile(app.notePath(".B.rtf.unreadable-1"), "older");
    app.writeFile(app.notePath("B.rtf"), "newer damage");
    setOrder(app, "B");
    app.open();
    select(app, 0);
    typeText(app, "ab");
    QCOMPARE(app.readFile(app.notePath(".B.rtf.unreadable-1")), QByteArray("older"));
    QCOMPARE(app.readFile(app.notePath(".B.rtf.unreadable-2")), QByteArray("newer damage"));
    QCOMPARE(app.rtfFileText(app.notePath("B.rtf")), QStringLiteral("ab"));
}

void ProjectPanelFaultsTest::noteThatCannotBeSetAsideIsNotReplaced()
{
    TestApp app;
    FaultyFileStore files;
    files.failMoveAside = true;
    app.files = &files;
    app.writeFile(app.notePath("B.rtf"), "damaged");
    setOrder(app, "B");
    app.open();
    select(app, 0);
    typeText(app, "abcd");
    QCOMPARE(app.readFile(app.notePath("B.rtf")), QByteArray("damaged"));
    QList<ScriptedPrompter::Shown> notices = app.prompter.shownOfKind("notice");
    notices.removeIf([](const ScriptedPrompter::Shown &shown) { return shown.caption != "Save"; });
    QCOMPARE(notices.size(), 1);
    QVERIFY(notices[0].text.contains("ToDo list item: B could not be saved."));
    QVERIFY(notices[0].text.contains("Permission denied"));
    QCOMPARE(app.window().projects().unsavedNotes(), QStringList { "B" });

    files.failMoveAside = false;
    typeText(app, "ef");
    QCOMPARE(app.rtfFileText(app.notePath("B.rtf")), QStringLiteral("abcdef"));
    QCOMPARE(app.readFile(app.notePath(".B.rtf.unreadable-1")), QByteArray("damaged"));
    QCOMPARE(app.window().projects().unsavedNotes(), QStringList());
}

// A note brought in from a word processor keeps what the editor cannot show (here a page header) in
// a copy made before the first save, and the user is told of it once.
void ProjectPanelFaultsTest::noteWithContentItCannotShowIsKeptAsBroughtIn()
{
    TestApp app;
    const QByteArray broughtIn = "{\\rtf1\\ansi {\\header\\pard\\plain See page 4.\\par}Plan}";
    app.writeFile(app.notePath("Plan.rtf"), broughtIn);
    setOrder(app, "Plan");
    app.open();
    select(app, 0);
    QCOMPARE(editorText(app), QStringLiteral("Plan"));
    QVERIFY(app.prompter.shown().isEmpty());
    typeText(app, "ab");
    QCOMPARE(app.rtfFileText(app.notePath("Plan.rtf")), QStringLiteral("abPlan"));
    QCOMPARE(app.readFile(app.notePath(".Plan.rtf.original-1")), broughtIn);
    const QList<ScriptedPrompter::Shown> shown = app.prompter.shown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].kind, QStringLiteral("notice"));
    QCOMPARE(shown[0].caption, QStringLiteral("Kept As Brought In"));
    QCOMPARE(shown[0].text,
        QStringLiteral("Plan holds content that Quillmark cannot keep as it is (footnotes, "
                       "comments, text boxes, headers and footers or pictures).  The file "
                       "as it was is kept as .Plan.rtf.original-1 in the same folder."));
    // Once kept, the note is the program's own: later saves replace it without a word.
    typeText(app, "cd");
    QCOMPARE(app.prompter.shown().size(), 1);
    QCOMPARE(QDir(app.notesFolder()).entryList(QDir::Files | QDir::Hidden),
        (QStringList { ".Plan.rtf.original-1", "Plan.rtf" }));
}

void ProjectPanelFaultsTest::failedSaveToDoIsReportedAndChangesNothing()
{
    TestApp app;
    FaultyFileStore files;
    files.failAllWrites = true;
    app.files = &files;
    setOrder(app, "A");
    app.open();
    app.prompter.answerInput("New");
    app.click("cmdNewToDo");
    app.click("cmdSaveNote");
    QList<ScriptedPrompter::Shown> messages = app.prompter.shownOfKind("message");
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text,
        QStringLiteral("ToDo list item: New could not be saved.\r\n\r\nNo space left on device"));
    QCOMPARE(messages[0].caption, QStringLiteral("Save"));
    QVERIFY(app.window().projectFlags().blnUnsavedItem);
    QCOMPARE(enabledButtons(app), QStringList { "cmdSaveNote" });
    QVERIFY(!app.list()->isEnabled());
    QCOMPARE(app.window().projects().unsavedNotes(), QStringList { "New" });

    // Every press says so at once.
    app.click("cmdSaveNote");
    QCOMPARE(app.prompter.shownOfKind("message").size(), 2);

    files.failAllWrites = false;
    app.click("cmdSaveNote");
    QCOMPARE(app.prompter.shownOfKind("message").size(), 2);
    QVERIFY(!app.window().projectFlags().blnUnsavedItem);
    QCOMPARE(enabledButtons(app), allButtonsBut("cmdSaveNote"));
    QVERIFY(QFile::exists(app.notePath("New.rtf")));
    QCOMPARE(app.window().projects().unsavedNotes(), QStringList());
}

void ProjectPanelFaultsTest::folderThatCannotBeCreatedIsReported()
{
    TestApp app;
    FaultyFileStore files;
    files.failCreateFolder = true;
    app.files = &files;
    app.open();
    app.prompter.answerInput("New");
    app.click("cmdNewToDo");
    app.click("cmdSaveNote");
    const QList<ScriptedPrompter::Shown> messages = app.prompter.shownOfKind("message");
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text,
        QStringLiteral(
            "ToDo list item: New could not be saved.\r\n\r\nThe folder could not be created."));
    QVERIFY(app.window().projectFlags().blnUnsavedItem);
    QVERIFY(app.find<QAbstractButton>("cmdSaveNote")->isEnabled());
}

void ProjectPanelFaultsTest::failedAutosaveIsReportedOncePerNote()
{
    TestApp app;
    FaultyFileStore files;
    files.failWrites = { "A.rtf" };
    app.files = &files;
    openWithNotes(app, alphaAndBeta());
    select(app, 0);
    typeText(app, "123456");
    QCOMPARE(app.prompter.shownOfKind("notice").size(), 1);
    QVERIFY(app.prompter.shownOfKind("message").isEmpty());
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("alpha"));
    QCOMPARE(app.window().projects().unsavedNotes(), QStringList { "A" });

    // Another note that fails is reported too; one that works clears nothing of A.
    files.failWrites = { "A.rtf", "B.rtf" };
    select(app, 1);
    typeText(app, "12");
    QCOMPARE(app.prompter.shownOfKind("notice").size(), 2);
    QCOMPARE(app.window().projects().unsavedNotes(), (QStringList { "A", "B" }));

    // Once the disk has room again, B's edit is written as the editor leaves it, and so is A's
    // edit, kept while it could not be written; after a write of A works again, a later failure is
    // news again.
    files.failWrites.clear();
    select(app, 0);
    QCOMPARE(app.rtfFileText(app.notePath("B.rtf")), QStringLiteral("12beta"));
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("123456alpha"));
    QCOMPARE(app.window().projects().unsavedNotes(), QStringList());
    QCOMPARE(editorText(app), QStringLiteral("123456alpha"));
    typeText(app, "ab");
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("ab123456alpha"));
    QCOMPARE(app.window().projects().unsavedNotes(), QStringList());
    files.failWrites = { "A.rtf" };
    typeText(app, "cd");
    QCOMPARE(app.prompter.shownOfKind("notice").size(), 3);
    QVERIFY(app.prompter.shownOfKind("notice").last().text.contains("ToDo list item: A could not"));
}

void ProjectPanelFaultsTest::flushReportsFailure()
{
    TestApp app;
    FaultyFileStore files;
    app.files = &files;
    openWithNotes(app, alphaAndBeta());
    select(app, 0);
    typeKey(app, 'x');
    files.failAllWrites = true;
    QVERIFY(!app.window().projects().flushPendingNote());
    QCOMPARE(app.window().projects().unsavedNotes(), QStringList { "A" });
    QCOMPARE(app.prompter.shownOfKind("notice").size(), 1);
    // A move of the note being edited does not reload it over the edit that could not be written.
    app.click("cmdDOWN");
    QCOMPARE(editorText(app), QStringLiteral("xalpha"));
    QCOMPARE(app.listTitles(), (QStringList { "B", "A" }));
    files.failAllWrites = false;
    QVERIFY(app.window().projects().flushPendingNote());
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("xalpha"));
}

void ProjectPanelFaultsTest::editThatCouldNotBeWrittenIsKeptUntilItIs()
{
    TestApp app;
    FaultyFileStore files;
    app.files = &files;
    openWithNotes(app, alphaAndBeta());
    select(app, 0);
    files.failAllWrites = true;
    typeText(app, "xyz");
    select(app, 1);
    QCOMPARE(editorText(app), QStringLiteral("beta"));
    select(app, 0);
    QCOMPARE(editorText(app), QStringLiteral("xyzalpha"));
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("alpha"));
    files.failAllWrites = false;
    // Leaving the entry writes the kept edit, without a key pressed.
    select(app, 1);
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("xyzalpha"));
    QCOMPARE(app.window().projects().unsavedNotes(), QStringList());
    select(app, 0);
    QCOMPARE(editorText(app), QStringLiteral("xyzalpha"));
    QVERIFY(app.window().projects().flushPendingNote());
    QCOMPARE(files.writtenNames, QStringList { "A.rtf" });
}

void ProjectPanelFaultsTest::removingANoteForgetsItsFailure()
{
    TestApp app;
    FaultyFileStore files;
    files.failAllWrites = true;
    app.files = &files;
    openWithNotes(app, { { "A", "alpha" } });
    select(app, 0);
    typeText(app, "xy");
    QCOMPARE(app.window().projects().unsavedNotes(), QStringList { "A" });
    app.click("cmdRemToDo");
    QCOMPARE(app.window().projects().unsavedNotes(), QStringList());
    QVERIFY(!QFile::exists(app.notePath("A.rtf")));
}

void ProjectPanelFaultsTest::keptEditsAreWrittenByTheNextFlush()
{
    TestApp app;
    FaultyFileStore files;
    app.files = &files;
    openWithNotes(app, alphaAndBeta());
    select(app, 0);
    files.failWrites = { "A.rtf" };
    typeText(app, "xy");
    select(app, 1);
    QVERIFY(!app.window().projects().flushPendingNote());
    QCOMPARE(app.window().projects().unsavedNotes(), QStringList { "A" });
    QCOMPARE(app.prompter.shownOfKind("notice").size(), 1);
    // What the closing sequence runs first writes A's kept edit once the disk takes it again.
    files.failWrites.clear();
    QVERIFY(app.window().projects().flushPendingNote());
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("xyalpha"));
    QCOMPARE(app.window().projects().unsavedNotes(), QStringList());
    QCOMPARE(editorText(app), QStringLiteral("beta"));
}

QTEST_MAIN(ProjectPanelFaultsTest)
#include "tst_projectpanel_faults.moc"
