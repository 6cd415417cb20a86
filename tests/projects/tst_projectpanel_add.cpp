// "Add ToDo": the title question, its checks and cleaning, the duplicate check, and the locked
// project area until the new item's note is saved.
#include "projects/ProjectPanel.h"
#include "support/ProjectTestSupport.h"

#include <QtTest>

using namespace ProjectTest;

class ProjectPanelAddTest : public QObject
{
    Q_OBJECT
private slots:
    void asksForATitle();
    void rejectedTitles_data();
    void rejectedTitles();
    void tooLongForAFileName();
    void acceptedTitles_data();
    void acceptedTitles();
    void newItemIsPendingUntilSaved();
    void autosaveOfANewItemKeepsTheAreaLocked();
    void duplicateAfterCleaningShowsTheExistingEntry();
    void duplicateCheckReadsOnlyTheDuplicate();
    void titlesAreCaseSensitive();
    void addingToAnEmptyList();
    void selectionByCodeKeepsTheNewEmptyNote();
};

void ProjectPanelAddTest::asksForATitle()
{
    TestApp app;
    app.open();
    app.click("cmdNewToDo");
    const QList<ScriptedPrompter::Shown> inputs = app.prompter.shownOfKind("input");
    QCOMPARE(inputs.size(), 1);
    QCOMPARE(inputs[0].text, QStringLiteral("ToDo Item Title:"));
    QCOMPARE(inputs[0].caption, QStringLiteral("Enter a title for your item:"));
    QCOMPARE(inputs[0].extra, QStringLiteral("Title"));
}

void ProjectPanelAddTest::rejectedTitles_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("cancelled") << QString();
    QTest::newRow("one character") << "x";
    QTest::newRow("zero") << "0";
    QTest::newRow("suggested text") << "Title";
    QTest::newRow("only removed characters") << "!!";
    QTest::newRow("na") << "na";
    QTest::newRow("na once cleaned") << "n.a";
}

void ProjectPanelAddTest::rejectedTitles()
{
    QFETCH(QString, typed);
    TestApp app;
    setOrder(app, "Alpha");
    app.open();
    app.prompter.answerInput(typed);
    app.click("cmdNewToDo");
    const QList<ScriptedPrompter::Shown> messages = app.prompter.shownOfKind("message");
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text, QStringLiteral("Cancel clicked or title too short."));
    QCOMPARE(messages[0].caption, QStringLiteral("Cancel ToDo Item"));
    QCOMPARE(app.listTitles(), QStringList { "Alpha" });
    QVERIFY(!app.window().projectFlags().blnUnsavedItem);
    QCOMPARE(enabledButtons(app), allButtonsBut("cmdSaveNote"));
}

void ProjectPanelAddTest::tooLongForAFileName()
{
    TestApp app;
    app.open();
    // 252 characters and ".rtf" are 256 bytes; the removed characters do not count.
    app.prompter.answerInput(QString(252, 'x'));
    app.click("cmdNewToDo");
    app.prompter.answerInput(QString(251, 'y') + "???");
    app.click("cmdNewToDo");
    const QList<ScriptedPrompter::Shown> messages = app.prompter.shownOfKind("message");
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text, ProjectPanel::titleTooLongText());
    QCOMPARE(messages[0].caption, QStringLiteral("Cancel ToDo Item"));
    QCOMPARE(app.listTitles(), QStringList { QString(251, 'y') });
}

void ProjectPanelAddTest::acceptedTitles_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("title");
    QTest::newRow("two characters") << "AB"
                                    << "AB";
    QTest::newRow("lower-case title") << "title"
                                      << "title";
    QTest::newRow("ampersand and colon") << "Q&A: plan"
                                         << "QA plan";
    QTest::newRow("every removed character") << "a;:'\"|\\]}[{`~!@#$%^&*()-=+,<.>/?b"
                                             << "ab";
    QTest::newRow("spaces kept") << " x "
                                 << " x ";
    QTest::newRow("upper-case marker") << "NA"
                                       << "NA";
    QTest::newRow("non-ASCII") << "Größe ☕"
                               << "Größe ☕";
}

void ProjectPanelAddTest::acceptedTitles()
{
    QFETCH(QString, typed);
    QFETCH(QString, title);
    TestApp app;
    app.open();
    app.prompter.answerInput(typed);
    app.click("cmdNewToDo");
    QCOMPARE(app.listTitles(), QStringList { title });
    QVERIFY(app.prompter.shownOfKind("message").isEmpty());
    QVERIFY(!QFile::exists(app.notePath(title + ".rtf")));
}

void ProjectPanelAddTest::newItemIsPendingUntilSaved()
{
    TestApp app;
    openWithNotes(app, { { "Old", "old note" } });
    app.window().activateWindow();
    app.list()->setCurrentRow(0);
    QCOMPARE(editorText(app), QStringLiteral("old note"));

    app.prompter.answerInput("New");
    app.click("cmdNewToDo");
    QCOMPARE(app.listTitles(), (QStringList { "Old", "New" }));
    QCOMPARE(selectedTitle(app), QStringLiteral("New"));
    QVERIFY(app.window().projectFlags().blnUnsavedItem);
    QCOMPARE(editorText(app), QString());
    QVERIFY(app.editor()->isEnabled());
    QCOMPARE(app.window().focusWidget(), app.editor());
    QCOMPARE(enabledButtons(app), QStringList { "cmdSaveNote" });
    QVERIFY(!app.list()->isEnabled());
    // The check box is not a command button.
    QVERIFY(app.find<QWidget>("chkMem")->isEnabled());
    QVERIFY(!QFile::exists(app.notePath("New.rtf")));

    typeKey(app, 'n');
    app.click("cmdSaveNote");
    QCOMPARE(app.rtfFileText(app.notePath("New.rtf")), QStringLiteral("n"));
    QCOMPARE(app.rtfFileText(app.notePath("Old.rtf")), QStringLiteral("old note"));
    QVERIFY(!app.window().projectFlags().blnUnsavedItem);
    QCOMPARE(enabledButtons(app), allButtonsBut("cmdSaveNote"));
    QVERIFY(app.list()->isEnabled());
    QCOMPARE(selectedTitle(app), QStringLiteral("New"));
}

void ProjectPanelAddTest::autosaveOfANewItemKeepsTheAreaLocked()
{
    TestApp app;
    app.open();
    app.prompter.answerInput("New");
    app.click("cmdNewToDo");
    typeText(app, "ab");
    QCOMPARE(app.rtfFileText(app.notePath("New.rtf")), QStringLiteral("ab"));
    QVERIFY(!app.window().projectFlags().blnUnsavedItem);
    QCOMPARE(enabledButtons(app), QStringList { "cmdSaveNote" });
    QVERIFY(!app.list()->isEnabled());
}

void ProjectPanelAddTest::duplicateAfterCleaningShowsTheExistingEntry()
{
    TestApp app;
    openWithNotes(app, { { "Plan", "the plan" }, { "Other", "other" } });
    app.list()->setCurrentRow(1);
    app.prompter.answerInput("Plan!");
    app.click("cmdNewToDo");
    const QList<ScriptedPrompter::Shown> messages = app.prompter.shownOfKind("message");
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text, QStringLiteral("This title already exists in your list."));
    QCOMPARE(messages[0].caption, QStringLiteral("Duplicate Entry"));
    QCOMPARE(app.listTitles(), (QStringList { "Plan", "Other" }));
    QCOMPARE(selectedTitle(app), QStringLiteral("Plan"));
    QCOMPARE(editorText(app), QStringLiteral("the plan"));
    QVERIFY(!app.window().projectFlags().blnUnsavedItem);
    QVERIFY(app.list()->isEnabled());
}

void ProjectPanelAddTest::duplicateCheckReadsOnlyTheDuplicate()
{
    TestApp app;
    FaultyFileStore files;
    app.files = &files;
    QStringList titles;
    for (int i = 0; i < 20; ++i) {
        titles.append(QStringLiteral("Item %1").arg(i));
        app.writeNote(titles.last() + ".rtf", titles.last());
    }
    setOrder(app, titles.join(':'));
    app.open();
    files.readNames.clear();
    app.prompter.answerInput("Brand new");
    app.click("cmdNewToDo");
    QCOMPARE(files.readNames, QStringList());
    app.click("cmdSaveNote");

    app.prompter.answerInput("Item 13");
    app.click("cmdNewToDo");
    QCOMPARE(files.readNames, QStringList { "Item 13.rtf" });
    QCOMPARE(selectedTitle(app), QStringLiteral("Item 13"));
    QCOMPARE(editorText(app), QStringLiteral("Item 13"));
}

void ProjectPanelAddTest::titlesAreCaseSensitive()
{
    TestApp app;
    setOrder(app, "Plan");
    app.open();
    app.prompter.answerInput("plan");
    app.click("cmdNewToDo");
    QCOMPARE(app.listTitles(), (QStringList { "Plan", "plan" }));
    QVERIFY(app.prompter.shownOfKind("message").isEmpty());
}

void ProjectPanelAddTest::addingToAnEmptyList()
{
    TestApp app;
    app.open();
    QVERIFY(!app.list()->isEnabled());
    app.prompter.answerInput("First");
    app.click("cmdNewToDo");
    QCOMPARE(app.listTitles(), QStringList { "First" });
    QCOMPARE(selectedTitle(app), QStringLiteral("First"));
    app.click("cmdSaveNote");
    QVERIFY(app.list()->isEnabled());
    QVERIFY(QFile::exists(app.notePath("First.rtf")));
}

void ProjectPanelAddTest::selectionByCodeKeepsTheNewEmptyNote()
{
    TestApp app;
    openWithNotes(app, { { "Old", "old note" } });
    app.prompter.answerInput("New");
    app.click("cmdNewToDo");
    app.list()->setCurrentRow(0);
    QCOMPARE(editorText(app), QString());
    typeText(app, "xy");
    QCOMPARE(app.rtfFileText(app.notePath("New.rtf")), QStringLiteral("xy"));
    QCOMPARE(app.rtfFileText(app.notePath("Old.rtf")), QStringLiteral("old note"));
}

QTEST_MAIN(ProjectPanelAddTest)
#include "tst_projectpanel_add.moc"
