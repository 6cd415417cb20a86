// Closing the main window: every request that closes it, what each close writes (window position,
// day files, project order), the save questions for a new item, and the closes that must not lose
// text: a failed write, the last key strokes, a Wayland session, the end of the desktop session.
#include "daynotes/DayNotes.h"
#include "daynotes/DayTable.h"
#include "editor/RichTextBox.h"
#include "mainwindow/ClosingSequence.h"
#include "projects/ProjectFlags.h"
#include "projects/ProjectPanel.h"
#include "support/FaultyFileStore.h"
#include "support/TestApp.h"

#include <QCheckBox>
#include <QListWidget>
#include <QtTest>

class ClosingTest : public QObject
{
    Q_OBJECT
private slots:
    void everyCloseRequestSavesAndEnds_data();
    void everyCloseRequestSavesAndEnds();
    void positionIsStoredInWholeTwips_data();
    void positionIsStoredInWholeTwips();
    void emptyListStoresNa();

    void closeButtonNewItemYesAsksOnce();
    void closeButtonNewItemNoThenNo();
    void otherRequestsNewItemAskOnce_data();
    void otherRequestsNewItemAskOnce();

    void failedDayOnCloseAsks_data();
    void failedDayOnCloseAsks();
    void failedProjectNoteOnCloseAsks();
    void closeWritesLastKeyStrokes();

    void waylandKeepsStoredPosition();
    void sessionEndSavesWithoutAsking();
    void sessionEndWhileCloseQuestionIsOpen();
    void sessionEndDuringOpeningWritesNothing();

    void clearListAnsweredNoChangesNothing();
    void clearListAnsweredYesEmptiesAndCloses();
    void clearListWritesPendingEdits();
    void clearListWithAnUnwritableNoteClearsNothing();

    void questionsDefaultToTheSafeAnswer_data();
    void questionsDefaultToTheSafeAnswer();

private:
    // Two projects with notes, stored in the order Beta, Alpha.
    static void addProjects(TestApp &app)
    {
        app.writeNote("Alpha.rtf", "Alpha note");
        app.writeNote("Beta.rtf", "Beta note");
        app.settings->save("projects", "order", "Beta:Alpha");
    }
    // Adds a new item through "&Add ToDo"; it is pending until its note is first written.
    static void addNewItem(TestApp &app, const QString &title)
    {
        app.prompter.answerInput(title);
        app.click("cmdNewToDo");
        QVERIFY(app.window().projectFlags().blnUnsavedItem);
        QCOMPARE(app.list()->currentItem() ? app.list()->currentItem()->text() : QString(), title);
        app.prompter.clear();
    }
    static QString order(TestApp &app) { return app.settings->get("projects", "order", "<none>"); }
    static QStringList questionTexts(TestApp &app)
    {
        QStringList texts;
        for (const ScriptedPrompter::Shown &shown : app.prompter.shownOfKind("question"))
            texts.append(shown.text);
        return texts;
    }
    static bool allDaysWritten(TestApp &app)
    {
        for (int i = 0; i < 7; ++i)
            if (!QFileInfo::exists(app.dayPath(DayTable::fileName(i))))
                return false;
        return true;
    }
    static void request(TestApp &app, const QString &how)
    {
        if (how == "close box")
            app.window().close();
        else if (how.startsWith("mnu"))
            app.trigger(how);
        else
            app.click(how);
    }
};

void ClosingTest::everyCloseRequestSavesAndEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("&Close") << "cmdClose";
    QTest::newRow("Close on the save panel") << "cmdClose2";
    QTest::newRow("File > Exit") << "mnuClose";
    QTest::newRow("close box") << "close box";
}

void ClosingTest::everyCloseRequestSavesAndEnds()
{
    QFETCH(QString, how);
    TestApp app;
    addProjects(app);
    app.open();
    app.window().days().box(2)->setText("Dentist at 3");
    request(app, how);

    QVERIFY(app.prompter.shown().isEmpty());
    QCOMPARE(app.quitCount, 1);
    QVERIFY(!app.window().isVisible());
    QVERIFY(allDaysWritten(app));
    QCOMPARE(app.rtfFileText(app.dayPath("wednesday.rtf")), QStringLiteral("Dentist at 3"));
    QCOMPARE(order(app), QStringLiteral("Beta:Alpha"));
    QVERIFY(app.settings->get("screen", "top", "") != "");
    QVERIFY(app.settings->get("screen", "left", "") != "");
    // The project notes stay as they were.
    QCOMPARE(app.rtfFileText(app.notePath("Alpha.rtf")), QStringLiteral("Alpha note"));
}

void ClosingTest::positionIsStoredInWholeTwips_data()
{
    QTest::addColumn<QPoint>("pixels");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("top");
    QTest::newRow("1200, 900") << QPoint(80, 60) << "1200"
                               << "900";
    QTest::newRow("left of the screen") << QPoint(-23, 7) << "-345"
                                        << "105";
}

void ClosingTest::positionIsStoredInWholeTwips()
{
    QFETCH(QPoint, pixels);
    QFETCH(QString, left);
    QFETCH(QString, top);
    TestApp app;
    app.open();
    app.window().move(pixels);
    QCOMPARE(app.window().pos(), pixels);
    app.click("cmdSaveAllNow");
    QCOMPARE(app.settings->get("screen", "left", ""), left);
    QCOMPARE(app.settings->get("screen", "top", ""), top);

    // The next opening puts the window there again.
    app.window().close();
    MainWindow reopened(app.services());
    reopened.showWindow();
    QCOMPARE(reopened.pos(), pixels);
}

void ClosingTest::emptyListStoresNa()
{
    TestApp app;
    app.open();
    QCOMPARE(app.list()->count(), 0);
    app.settings->save("projects", "order", "Old:Order");
    app.window().close();
    QCOMPARE(order(app), QStringLiteral("na"));
}

// "&Close" asks first; Yes saves the item, so the closing sequence has nothing left to ask.
void ClosingTest::closeButtonNewItemYesAsksOnce()
{
    TestApp app;
    addProjects(app);
    app.open();
    addNewItem(app, "Idea");
    app.editor()->insertPlainText("Draft of the idea");
    app.prompter.answerQuestion(Prompter::Answer::Yes);
    // The button is disabled while the item is pending; its handler is what Alt+C and a click run.
    app.window().closingSequence().cmdClose_Click();

    QCOMPARE(questionTexts(app), QStringList { ClosingSequence::closeQuestionText() });
    QCOMPARE(app.prompter.shown().first().caption, QStringLiteral("Save"));
    QCOMPARE(app.rtfFileText(app.notePath("Idea.rtf")), QStringLiteral("Draft of the idea"));
    QCOMPARE(order(app), QStringLiteral("Beta:Alpha:Idea"));
    QCOMPARE(app.quitCount, 1);
}

void ClosingTest::closeButtonNewItemNoThenNo()
{
    TestApp app;
    addProjects(app);
    app.open();
    addNewItem(app, "Idea");
    app.editor()->insertPlainText("Not wanted");
    app.prompter.answerQuestion(Prompter::Answer::No);
    app.prompter.answerQuestion(Prompter::Answer::No);
    app.window().closingSequence().cmdClose_Click();

    QCOMPARE(questionTexts(app),
        QStringList(
            { ClosingSequence::closeQuestionText(), ClosingSequence::closingQuestionText() }));
    QCOMPARE(ClosingSequence::closingQuestionText(),
        QStringLiteral("There are ToDo list items that are not saved.\r\nDo you want to save "
                       "before closing?"));
    for (const ScriptedPrompter::Shown &shown : app.prompter.shown())
        QCOMPARE(shown.caption, QStringLiteral("Save"));
    QVERIFY(!QFileInfo::exists(app.notePath("Idea.rtf")));
    // The title is still stored: it comes back at the next start as an entry without a note.
    QCOMPARE(order(app), QStringLiteral("Beta:Alpha:Idea"));
    QVERIFY(allDaysWritten(app));
    QCOMPARE(app.quitCount, 1);
}

void ClosingTest::otherRequestsNewItemAskOnce_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("save");
    QTest::newRow("File > Exit, Yes") << "mnuClose" << true;
    QTest::newRow("File > Exit, No") << "mnuClose" << false;
    QTest::newRow("close box, Yes") << "close box" << true;
    QTest::newRow("close box, No") << "close box" << false;
}

void ClosingTest::otherRequestsNewItemAskOnce()
{
    QFETCH(QString, how);
    QFETCH(bool, save);
    TestApp app;
    app.open();
    addNewItem(app, "Idea");
    app.editor()->insertPlainText("Typed");
    app.prompter.answerQuestion(save ? Prompter::Answer::Yes : Prompter::Answer::No);
    request(app, how);

    QCOMPARE(questionTexts(app), QStringList { ClosingSequence::closingQuestionText() });
    QCOMPARE(QFileInfo::exists(app.notePath("Idea.rtf")), save);
    if (save)
        QCOMPARE(app.rtfFileText(app.notePath("Idea.rtf")), QStringLiteral("Typed"));
    QCOMPARE(order(app), QStringLiteral("Idea"));
    QCOMPARE(app.quitCount, 1);
}

void ClosingTest::failedDayOnCloseAsks_data()
{
    QTest::addColumn<bool>("closeAnyway");
    QTest::newRow("Yes: close anyway") << true;
    QTest::newRow("No: stay open") << false;
}

// A close that could not write a day names it and asks; No keeps the window as a save does.
void ClosingTest::failedDayOnCloseAsks()
{
    QFETCH(bool, closeAnyway);
    FaultyFileStore faulty;
    faulty.failWrites = { "monday.rtf", "saturday.rtf" };
    TestApp app;
    app.files = &faulty;
    addProjects(app);
    app.open();
    app.list()->setCurrentRow(0);
    app.window().days().box(0)->setText("Monday plans");
    app.prompter.answerQuestion(closeAnyway ? Prompter::Answer::Yes : Prompter::Answer::No);
    app.window().close();

    const QList<ScriptedPrompter::Shown> questions = app.prompter.shownOfKind("question");
    QCOMPARE(questions.size(), 1);
    const QString text = questions.first().text;
    QCOMPARE(text,
        ClosingSequence::notSavedQuestionText(
            { QStringLiteral("Monday  (%1)")
                    .arg(QDir::toNativeSeparators(app.dayPath("monday.rtf"))),
                QStringLiteral("Saturday  (%1)")
                    .arg(QDir::toNativeSeparators(app.dayPath("saturday.rtf"))) }));
    QVERIFY(!text.contains("Tuesday"));
    QVERIFY(text.contains("Close anyway?"));
    // Everything that could be saved was saved before the question.
    QCOMPARE(app.rtfFileText(app.dayPath("tuesday.rtf")), QString());
    QCOMPARE(order(app), QStringLiteral("Beta:Alpha"));

    QCOMPARE(app.quitCount, closeAnyway ? 1 : 0);
    QCOMPARE(app.window().isVisible(), !closeAnyway);
    if (!closeAnyway) {
        const ProjectFlags &state = app.window().projectFlags();
        QVERIFY(!app.window().closingSequence().saveDaysOnly());
        QVERIFY(!state.blnClosing);
        QCOMPARE(app.list()->selectedItems(), { app.list()->item(0) });
        QCOMPARE(app.window().days().box(0)->toPlainText(), QStringLiteral("Monday plans"));
        QVERIFY(!app.window().days().mark(0)->isChecked());
        QVERIFY(app.window().days().mark(1)->isChecked());
        // Once the disk takes it again, the next close ends without a question.
        faulty.failWrites.clear();
        app.prompter.clear();
        app.window().close();
        QVERIFY(app.prompter.shown().isEmpty());
        QCOMPARE(app.quitCount, 1);
        QCOMPARE(app.rtfFileText(app.dayPath("monday.rtf")), QStringLiteral("Monday plans"));
    }
}

void ClosingTest::failedProjectNoteOnCloseAsks()
{
    FaultyFileStore faulty;
    TestApp app;
    app.files = &faulty;
    addProjects(app);
    app.open();
    app.list()->setCurrentRow(1); // Alpha
    QCOMPARE(app.editor()->toPlainText(), QStringLiteral("Alpha note"));
    faulty.failWrites = { "Alpha.rtf" };
    app.editor()->moveCursor(QTextCursor::End);
    QTest::keyClick(app.editor(), Qt::Key_X);
    app.prompter.answerQuestion(Prompter::Answer::No);
    app.window().close();

    const QList<ScriptedPrompter::Shown> questions = app.prompter.shownOfKind("question");
    QCOMPARE(questions.size(), 1);
    QVERIFY2(questions.first().text.contains("Alpha"), qPrintable(questions.first().text));
    QVERIFY(!questions.first().text.contains("Beta"));
    QCOMPARE(app.quitCount, 0);
    QVERIFY(app.window().isVisible());
    QCOMPARE(app.editor()->toPlainText(), QStringLiteral("Alpha notex"));
}

// The last key strokes reach the note before the close writes anything else.
void ClosingTest::closeWritesLastKeyStrokes()
{
    TestApp app;
    addProjects(app);
    app.open();
    app.list()->setCurrentRow(1); // Alpha
    QCOMPARE(app.editor()->toPlainText(), QStringLiteral("Alpha note"));
    app.editor()->moveCursor(QTextCursor::End);
    QTest::keyClick(app.editor(), Qt::Key_S); // one key release: not written yet
    QCOMPARE(app.rtfFileText(app.notePath("Alpha.rtf")), QStringLiteral("Alpha note"));
    app.window().close();
    QVERIFY(app.prompter.shown().isEmpty());
    QCOMPARE(app.rtfFileText(app.notePath("Alpha.rtf")), QStringLiteral("Alpha notes"));
    QCOMPARE(app.rtfFileText(app.notePath("Beta.rtf")), QStringLiteral("Beta note"));
    QCOMPARE(app.quitCount, 1);
}

void ClosingTest::waylandKeepsStoredPosition()
{
    TestApp app;
    app.settings->save("screen", "top", "1500");
    app.settings->save("screen", "left", "3000");
    app.open();
    app.window().closingSequence().setPlatformName("wayland");
    app.window().move(0, 0);
    app.window().close();
    QCOMPARE(app.settings->get("screen", "top", ""), QStringLiteral("1500"));
    QCOMPARE(app.settings->get("screen", "left", ""), QStringLiteral("3000"));
    // Everything else is saved as usual.
    QVERIFY(allDaysWritten(app));
    QCOMPARE(order(app), QStringLiteral("na"));
    QCOMPARE(app.quitCount, 1);
}

// Log-out: everything is saved with no question in the way; the session decides about the rest.
void ClosingTest::sessionEndSavesWithoutAsking()
{
    TestApp app;
    addProjects(app);
    app.open();
    app.window().move(80, 60);
    addNewItem(app, "Idea");
    app.editor()->insertPlainText("Half a thought");
    app.window().days().box(4)->setText("Friday list");
    app.window().closingSequence().saveForSessionEnd();

    QVERIFY(app.prompter.shown().isEmpty());
    QCOMPARE(app.rtfFileText(app.notePath("Idea.rtf")), QStringLiteral("Half a thought"));
    QCOMPARE(app.rtfFileText(app.dayPath("friday.rtf")), QStringLiteral("Friday list"));
    QCOMPARE(order(app), QStringLiteral("Beta:Alpha:Idea"));
    QCOMPARE(app.settings->get("screen", "left", ""), QStringLiteral("1200"));
    QCOMPARE(app.settings->get("screen", "top", ""), QStringLiteral("900"));
    QCOMPARE(app.quitCount, 0);
    QVERIFY(app.window().isVisible());
    const ProjectFlags &state = app.window().projectFlags();
    QVERIFY(!state.blnUnsavedItem && !state.blnClosing);
    QVERIFY(!app.window().closingSequence().saveDaysOnly());
    // The item the user was writing is still the one in the editor.
    QCOMPARE(app.list()->currentItem()->text(), QStringLiteral("Idea"));
}

// The log-out arrives while the close's save question waits for an answer: the text is saved
// anyway, and a close request that comes meanwhile waits for the question.
void ClosingTest::sessionEndWhileCloseQuestionIsOpen()
{
    TestApp app;
    app.open();
    addNewItem(app, "Idea");
    app.editor()->insertPlainText("Typed before logging out");
    app.window().days().box(0)->setText("Monday text");
    app.prompter.duringQuestion = [&app](const QString &) {
        app.prompter.duringQuestion = nullptr;
        app.window().closingSequence().saveForSessionEnd();
        QCOMPARE(
            app.rtfFileText(app.notePath("Idea.rtf")), QStringLiteral("Typed before logging out"));
        QCOMPARE(app.rtfFileText(app.dayPath("monday.rtf")), QStringLiteral("Monday text"));
        QVERIFY(!app.window().closingSequence().run());
    };
    app.prompter.answerQuestion(Prompter::Answer::No);
    app.window().close();

    QCOMPARE(questionTexts(app), QStringList { ClosingSequence::closingQuestionText() });
    QCOMPARE(app.quitCount, 1);
    QCOMPARE(app.rtfFileText(app.notePath("Idea.rtf")), QStringLiteral("Typed before logging out"));
    QCOMPARE(order(app), QStringLiteral("Idea"));
}

// The log-out arrives while the folder scan of the opening lets events run: the boxes are still
// empty and the list unread, so writing them would wipe the days and the order.
void ClosingTest::sessionEndDuringOpeningWritesNothing()
{
    TestApp app;
    addProjects(app);
    app.writeFile(app.dayPath("monday.rtf"), TestApp::rtfWithText("Monday plans"));
    bool arrived = false;
    QTimer::singleShot(0, [&app, &arrived] {
        arrived = true;
        app.window().commitData();
    });
    app.open();

    QVERIFY(arrived);
    QCOMPARE(app.rtfFileText(app.dayPath("monday.rtf")), QStringLiteral("Monday plans"));
    QVERIFY(!QFileInfo::exists(app.dayPath("tuesday.rtf")));
    QCOMPARE(order(app), QStringLiteral("Beta:Alpha"));
    QCOMPARE(app.settings->get("screen", "top", "<none>"), QStringLiteral("<none>"));
}

void ClosingTest::clearListAnsweredNoChangesNothing()
{
    TestApp app;
    addProjects(app);
    app.open();
    app.prompter.answerQuestion(Prompter::Answer::No);
    app.trigger("mnuOptionsClearProjectList");

    const QList<ScriptedPrompter::Shown> shown = app.prompter.shown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text,
        QStringLiteral("This will clear any bad entries from your Project List area.\r\n"
                       "You will need to re-order your entries at next program start.  This does "
                       "not remove the files, they will re-load in default order next program "
                       "start.\r\n\r\nDo you wish to clear the list?"));
    QCOMPARE(shown.first().caption, QStringLiteral("Clear Project List"));
    QCOMPARE(app.listTitles(), QStringList({ "Beta", "Alpha" }));
    QCOMPARE(order(app), QStringLiteral("Beta:Alpha"));
    QCOMPARE(app.quitCount, 0);
    QVERIFY(app.window().isVisible());
    QVERIFY(!QFileInfo::exists(app.dayPath("monday.rtf")));
}

void ClosingTest::clearListAnsweredYesEmptiesAndCloses()
{
    TestApp app;
    addProjects(app);
    app.open();
    app.prompter.answerQuestion(Prompter::Answer::Yes);
    app.trigger("mnuOptionsClearProjectList");

    QCOMPARE(app.prompter.shown().size(), 1);
    QCOMPARE(app.list()->count(), 0);
    QCOMPARE(order(app), QStringLiteral("na"));
    QCOMPARE(app.quitCount, 1);
    QVERIFY(allDaysWritten(app));
    QCOMPARE(app.rtfFileText(app.notePath("Alpha.rtf")), QStringLiteral("Alpha note"));
    QCOMPARE(app.rtfFileText(app.notePath("Beta.rtf")), QStringLiteral("Beta note"));
}

// Emptying the list loses no note: an edit not yet written, and a new item with text, reach disk.
void ClosingTest::clearListWritesPendingEdits()
{
    {
        TestApp app;
        addProjects(app);
        app.open();
        app.list()->setCurrentRow(0); // Beta
        app.editor()->moveCursor(QTextCursor::End);
        QTest::keyClick(app.editor(), Qt::Key_Exclam, Qt::ShiftModifier, 0);
        app.trigger("mnuOptionsClearProjectList");
        QCOMPARE(app.rtfFileText(app.notePath("Beta.rtf")), QStringLiteral("Beta note!"));
        QCOMPARE(app.quitCount, 1);
    }
    {
        TestApp app;
        addProjects(app);
        app.open();
        addNewItem(app, "Idea");
        QTest::keyClicks(app.editor(), "Z"); // one key release: the item is still pending
        QVERIFY(app.window().projectFlags().blnUnsavedItem);
        app.trigger("mnuOptionsClearProjectList");
        QCOMPARE(app.rtfFileText(app.notePath("Idea.rtf")), QStringLiteral("Z"));
        QCOMPARE(order(app), QStringLiteral("na"));
        QCOMPARE(app.quitCount, 1);
    }
}

// While a note cannot be written, "Clear Saved Project List" clears, stores and closes nothing: it
// tells of each note as "Save ToDo" does, and the new item stays pending with its text. Once the
// disk takes writes again, a close writes it and the edit kept from an earlier failed write.
void ClosingTest::clearListWithAnUnwritableNoteClearsNothing()
{
    FaultyFileStore faulty;
    TestApp app;
    app.files = &faulty;
    addProjects(app);
    app.open();
    faulty.failWrites = { "Alpha.rtf", "Idea.rtf" };
    app.list()->setCurrentRow(1); // Alpha
    app.editor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(app.editor(), "xy");
    addNewItem(app, "Idea");
    QTest::keyClicks(app.editor(), "Plan");
    app.prompter.clear();
    app.prompter.answerQuestion(Prompter::Answer::Yes);
    app.trigger("mnuOptionsClearProjectList");

    QCOMPARE(questionTexts(app), QStringList { ClosingSequence::clearListQuestionText() });
    QStringList told;
    for (const ScriptedPrompter::Shown &shown : app.prompter.shownOfKind("message"))
        told.append(shown.text.section(QLatin1Char('\r'), 0, 0));
    QCOMPARE(told,
        QStringList({ "ToDo list item: Idea could not be saved.",
            "ToDo list item: Alpha could not be saved." }));
    QCOMPARE(app.listTitles(), QStringList({ "Beta", "Alpha", "Idea" }));
    QCOMPARE(order(app), QStringLiteral("Beta:Alpha"));
    QCOMPARE(app.quitCount, 0);
    QVERIFY(app.window().isVisible());
    QVERIFY(app.window().projectFlags().blnUnsavedItem);
    QCOMPARE(app.list()->currentItem()->text(), QStringLiteral("Idea"));
    QCOMPARE(app.editor()->toPlainText(), QStringLiteral("Plan"));

    faulty.failWrites.clear();
    app.prompter.clear();
    app.prompter.answerQuestion(Prompter::Answer::Yes);
    app.window().close();
    QCOMPARE(questionTexts(app), QStringList { ClosingSequence::closingQuestionText() });
    QCOMPARE(app.rtfFileText(app.notePath("Idea.rtf")), QStringLiteral("Plan"));
    QCOMPARE(app.rtfFileText(app.notePath("Alpha.rtf")), QStringLiteral("Alpha notexy"));
    QCOMPARE(order(app), QStringLiteral("Beta:Alpha:Idea"));
    QCOMPARE(app.quitCount, 1);
}

void ClosingTest::questionsDefaultToTheSafeAnswer_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("defaultYes");
    QTest::newRow("save before closing") << "close box"
                                         << "Save" << true;
    QTest::newRow("save on &Close") << "cmdClose"
                                    << "Save" << true;
    QTest::newRow("not saved, close anyway") << "close failing"
                                             << "Not Saved" << false;
    QTest::newRow("clear the list") << "mnuOptionsClearProjectList"
                                    << "Clear Project List" << false;
    QTest::newRow("remove a ToDo") << "cmdRemToDo"
                                   << "Confirm" << false;
}

// Enter answers a question with its default: never the answer that throws notes away.
void ClosingTest::questionsDefaultToTheSafeAnswer()
{
    QFETCH(QString, how);
    QFETCH(QString, caption);
    QFETCH(bool, defaultYes);
    FaultyFileStore faulty;
    TestApp app;
    app.files = &faulty;
    addProjects(app);
    app.open();
    app.list()->setCurrentRow(0);
    if (caption == "Save")
        addNewItem(app, "Idea");
    app.prompter.answerQuestion(Prompter::Answer::No);
    app.prompter.answerQuestion(Prompter::Answer::No);
    if (how == "close failing") {
        faulty.failWrites = { "monday.rtf" };
        app.window().close();
    } else if (how == "cmdClose") {
        app.window().closingSequence().cmdClose_Click();
    } else {
        request(app, how);
    }

    const QList<ScriptedPrompter::Shown> questions = app.prompter.shownOfKind("question");
    QVERIFY(!questions.isEmpty());
    QCOMPARE(questions.first().caption, caption);
    QCOMPARE(
        questions.first().defaultButton, defaultYes ? Prompter::Answer::Yes : Prompter::Answer::No);
}

QTEST_MAIN(ClosingTest)
#include "tst_closing.moc"
