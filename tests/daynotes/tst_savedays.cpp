// "Save Days", File > "&Save" and Ctrl+S: everything a close writes, written without closing; the
// save marks that show which day files were written, and their return to rest.
#include "daynotes/DayNotes.h"
#include "daynotes/DayTable.h"
#include "daynotes/SaveMarkLook.h"
#include "editor/RichTextBox.h"
#include "mainwindow/ClosingSequence.h"
#include "mainwindow/MainWindow.h"
#include "support/FaultyFileStore.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>
#include <QtTest>

class SaveDaysTest : public QObject
{
    Q_OBJECT
private slots:
    void saveKeepsWindowOpenAndMarksDays_data();
    void saveKeepsWindowOpenAndMarksDays();
    void ctrlSInProjectEditorSavesDaysNotToDo();
    void saveWritesLastKeyStrokes();
    void pendingNewItemStaysSelected_data();
    void pendingNewItemStaysSelected();

    void marksRestAfterInterval();
    void failedDayLosesMarkOfEarlierSave();
    void timerWaitsForSaveAndRunsTwoAndAHalfSeconds();
    void marksShowGreenOnScreen_data();
    void marksShowGreenOnScreen();
    void clickOnMarkChangesNothing();

private:
    static void addProjects(TestApp &app)
    {
        app.writeNote("Alpha.rtf", "Alpha note");
        app.writeNote("Beta.rtf", "Beta note");
        app.settings->save("projects", "order", "Beta:Alpha");
    }
    static QTimer *resetTimer(TestApp &app) { return app.find<QTimer>("tmrResetDays"); }
    static void checkAllMarks(TestApp &app, bool saved)
    {
        for (int i = 0; i < 7; ++i) {
            QCheckBox *mark = app.window().days().mark(i);
            QVERIFY2(mark->isChecked() == saved, qPrintable(DayTable::caption(i)));
            QCOMPARE(SaveMarkLook::showsSaved(mark), saved);
        }
    }
    // The colour the mark shows on screen, right of its caption.
    static QColor shownColour(QCheckBox *mark)
    {
        const QImage image = mark->grab().toImage();
        return image.pixelColor(image.width() - 3, image.height() / 2);
    }
};

void SaveDaysTest::saveKeepsWindowOpenAndMarksDays_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Save Days") << "cmdSaveAllNow";
    QTest::newRow("File > Save") << "mnuSave";
}

void SaveDaysTest::saveKeepsWindowOpenAndMarksDays()
{
    QFETCH(QString, how);
    TestApp app;
    addProjects(app);
    app.open();
    app.window().move(80, 60);
    const QRect geometry = app.window().geometry();
    app.list()->setCurrentRow(1); // Alpha
    QCOMPARE(app.editor()->toPlainText(), QStringLiteral("Alpha note"));

    // A second run behaves like the first, and really writes again.
    for (const QString &monday :
        { QStringLiteral("Monday text"), QStringLiteral("Monday, second version") }) {
        app.window().days().box(0)->setText(monday);
        QFile::remove(app.dayPath("sunday.rtf"));
        app.settings->save("projects", "order", "x");
        if (how == "mnuSave")
            app.trigger(how);
        else
            app.click(how);

        QVERIFY(app.prompter.shown().isEmpty());
        QCOMPARE(app.quitCount, 0);
        QVERIFY(app.window().isVisible());
        QCOMPARE(app.window().geometry(), geometry);
        checkAllMarks(app, true);
        QVERIFY(resetTimer(app)->isActive());
        const ProjectFlags &state = app.window().projectFlags();
        QVERIFY(!app.window().closingSequence().saveDaysOnly());
        QVERIFY(!state.blnClosing);
        QVERIFY(!state.blnUnsavedItem);
        // The entry whose note the editor shows stays selected, and the editor keeps what it
        // showed: the user sees which project the next keys go to.
        QCOMPARE(app.list()->selectedItems(), { app.list()->item(1) });
        QCOMPARE(app.editor()->toPlainText(), QStringLiteral("Alpha note"));
        QCOMPARE(app.rtfFileText(app.dayPath("monday.rtf")), monday);
        QVERIFY(QFileInfo::exists(app.dayPath("sunday.rtf")));
        QCOMPARE(app.settings->get("screen", "left", ""), QStringLiteral("1200"));
        QCOMPARE(app.settings->get("screen", "top", ""), QStringLiteral("900"));
        QCOMPARE(app.settings->get("projects", "order", ""), QStringLiteral("Beta:Alpha"));
        QCOMPARE(app.listTitles(), QStringList({ "Beta", "Alpha" }));
    }
}

// Ctrl+S is File > Save wherever the focus is, the project editor included: it saves the days and
// does not press "&Save ToDo".
void SaveDaysTest::ctrlSInProjectEditorSavesDaysNotToDo()
{
    TestApp app;
    addProjects(app);
    MainWindow &window = app.open();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    app.list()->setCurrentRow(0); // Beta
    app.editor()->setFocus();
    app.editor()->moveCursor(QTextCursor::End);
    app.editor()->insertPlainText(" and more");
    auto *saveNote = app.find<QAbstractButton>("cmdSaveNote");
    QVERIFY(saveNote->isEnabled());
    QVERIFY(app.editor()->hasFocus());

    QTest::keyClick(app.editor(), Qt::Key_S, Qt::ControlModifier);

    checkAllMarks(app, true);
    QVERIFY(QFileInfo::exists(app.dayPath("monday.rtf")));
    QCOMPARE(app.quitCount, 0);
    // "&Save ToDo" would have disabled itself; no letter went into the note either.
    QVERIFY(saveNote->isEnabled());
    QCOMPARE(app.editor()->toPlainText(), QStringLiteral("Beta note and more"));
    // The edit itself is on disk: a save writes the last changes of the note editor too.
    QCOMPARE(app.rtfFileText(app.notePath("Beta.rtf")), QStringLiteral("Beta note and more"));
}

void SaveDaysTest::saveWritesLastKeyStrokes()
{
    TestApp app;
    addProjects(app);
    app.open();
    app.list()->setCurrentRow(1); // Alpha
    app.editor()->moveCursor(QTextCursor::End);
    QTest::keyClick(app.editor(), Qt::Key_S); // one key release: not written yet
    QCOMPARE(app.rtfFileText(app.notePath("Alpha.rtf")), QStringLiteral("Alpha note"));
    app.click("cmdSaveAllNow");
    QCOMPARE(app.rtfFileText(app.notePath("Alpha.rtf")), QStringLiteral("Alpha notes"));
    QVERIFY(app.prompter.shown().isEmpty());
    QVERIFY(app.window().isVisible());
}

void SaveDaysTest::pendingNewItemStaysSelected_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

// While a new item waits for its first save, the buttons and the list are locked; a save of the
// days must leave it selected, or nothing could ever unlock them.
void SaveDaysTest::pendingNewItemStaysSelected()
{
    QFETCH(bool, save);
    TestApp app;
    addProjects(app);
    app.open();
    app.prompter.answerInput("Idea");
    app.click("cmdNewToDo");
    QVERIFY(app.window().projectFlags().blnUnsavedItem);
    app.editor()->insertPlainText("First lines");
    app.prompter.clear();
    app.prompter.answerQuestion(save ? Prompter::Answer::Yes : Prompter::Answer::No);
    // "Save Days" is locked with the other buttons; the menu and Ctrl+S are not.
    app.trigger("mnuSave");

    const QList<ScriptedPrompter::Shown> questions = app.prompter.shownOfKind("question");
    QCOMPARE(questions.size(), 1);
    QCOMPARE(questions.first().text, ClosingSequence::closingQuestionText());
    QCOMPARE(questions.first().caption, QStringLiteral("Save"));
    QVERIFY(app.window().isVisible());
    QCOMPARE(app.quitCount, 0);
    checkAllMarks(app, true);
    QCOMPARE(app.settings->get("projects", "order", ""), QStringLiteral("Beta:Alpha:Idea"));
    QVERIFY(app.list()->currentItem());
    QCOMPARE(app.list()->currentItem()->text(), QStringLiteral("Idea"));
    QVERIFY(app.list()->currentItem()->isSelected());
    QCOMPARE(app.editor()->toPlainText(), QStringLiteral("First lines"));
    QCOMPARE(app.window().projectFlags().blnUnsavedItem, !save);
    QCOMPARE(QFileInfo::exists(app.notePath("Idea.rtf")), save);

    // Either way the project area can be used again: "&Save ToDo" saves the item and unlocks it.
    auto *saveNote = app.find<QAbstractButton>("cmdSaveNote");
    if (!save) {
        QVERIFY(saveNote->isEnabled());
        saveNote->click();
    }
    QCOMPARE(app.rtfFileText(app.notePath("Idea.rtf")), QStringLiteral("First lines"));
    QVERIFY(app.list()->isEnabled());
    QVERIFY(app.find<QAbstractButton>("cmdNewToDo")->isEnabled());
}

void SaveDaysTest::marksRestAfterInterval()
{
    FaultyFileStore faulty;
    faulty.failWrites = { "wednesday.rtf" };
    TestApp app;
    app.files = &faulty;
    app.resetDaysIntervalMs = 150;
    app.open();
    QTimer *timer = resetTimer(app);
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 150);
    QSignalSpy fired(timer, &QTimer::timeout);

    app.click("cmdSaveAllNow");
    DayNotes &days = app.window().days();
    QVERIFY(!days.mark(2)->isChecked());
    QVERIFY(days.mark(3)->isChecked());
    QVERIFY(SaveMarkLook::showsSaved(days.mark(3)));
    QVERIFY(!SaveMarkLook::showsSaved(days.mark(2)));

    QVERIFY(fired.wait(5000));
    checkAllMarks(app, false);
    QVERIFY(!timer->isActive());
    // Once per save.
    QTest::qWait(400);
    QCOMPARE(fired.count(), 1);

    // A save while the marks still show starts the interval again.
    faulty.failWrites.clear();
    app.click("cmdSaveAllNow");
    app.click("cmdSaveAllNow");
    checkAllMarks(app, true);
    QTRY_COMPARE(fired.count(), 2);
    checkAllMarks(app, false);
}

// A day that fails while its mark still shows an earlier save no longer looks saved.
void SaveDaysTest::failedDayLosesMarkOfEarlierSave()
{
    FaultyFileStore faulty;
    TestApp app;
    app.files = &faulty;
    app.open();
    app.click("cmdSaveAllNow");
    checkAllMarks(app, true);

    faulty.failWrites = { "friday.rtf" };
    app.click("cmdSaveAllNow");
    QVERIFY(resetTimer(app)->isActive());
    DayNotes &days = app.window().days();
    for (int i = 0; i < 7; ++i) {
        QCheckBox *mark = days.mark(i);
        const bool saved = i != 4;
        QVERIFY2(mark->isChecked() == saved, qPrintable(DayTable::caption(i)));
        QCOMPARE(SaveMarkLook::showsSaved(mark), saved);
    }
}

void SaveDaysTest::timerWaitsForSaveAndRunsTwoAndAHalfSeconds()
{
    TestApp app;
    app.open();
    QTimer *timer = resetTimer(app);
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 2500);
    QVERIFY(!timer->isActive());
    checkAllMarks(app, false);
    for (int i = 0; i < 7; ++i)
        QVERIFY(!app.window().days().mark(i)->isChecked());
    app.click("cmdSaveAllNow");
    QVERIFY(timer->isActive());
    QVERIFY(timer->remainingTime() > 2000);
}

// The marks lie in a disabled frame; their captions read in the palette's own text colour at rest,
// black on pure green once saved, in a light and a dark palette; at rest they paint nothing over
// the frame.
void SaveDaysTest::marksShowGreenOnScreen_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QPalette(QColor(239, 239, 239));
    QTest::newRow("dark") << QPalette(QColor(53, 53, 53));
}

void SaveDaysTest::marksShowGreenOnScreen()
{
    QFETCH(QPalette, palette);
    const QPalette before = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    QApplication::setPalette(palette);
    TestApp app;
    app.resetDaysIntervalMs = 100;
    app.open();
    QCheckBox *monday = app.window().days().mark(0);
    QVERIFY(!monday->isEnabled());
    const QColor frameColour = app.find<QGroupBox>("fraSave")->palette().color(QPalette::Window);
    const QColor caption = palette.color(QPalette::Active, QPalette::WindowText);
    QCOMPARE(shownColour(monday), frameColour);
    QCOMPARE(monday->palette().color(QPalette::Disabled, QPalette::WindowText), caption);

    app.click("cmdSaveAllNow");
    for (int i = 0; i < 7; ++i)
        QCOMPARE(shownColour(app.window().days().mark(i)), SaveMarkLook::savedColour());
    QCOMPARE(monday->palette().color(QPalette::Disabled, QPalette::WindowText), QColor(Qt::black));
    const QImage frame = app.find<QGroupBox>("fraSave")->grab().toImage();
    const QPoint insideMonday = monday->geometry().topRight() + QPoint(-2, monday->height() / 2);
    QCOMPARE(frame.pixelColor(insideMonday), SaveMarkLook::savedColour());

    QTRY_VERIFY(!monday->isChecked());
    QCOMPARE(shownColour(monday), frameColour);
    QCOMPARE(monday->palette().color(QPalette::Disabled, QPalette::WindowText), caption);
}

// The user's click on a mark goes to the window at the mark's place, where Qt hands it to the mark
// or, the mark being disabled, to what holds it: at rest and while the marks show a save, the mark
// stays as it is and no day file is written.
void SaveDaysTest::clickOnMarkChangesNothing()
{
    TestApp app;
    MainWindow &window = app.open();
    QWindow *handle = window.windowHandle();
    QVERIFY(handle);
    const auto clickEveryMark = [&](bool saved) {
        for (int i = 0; i < 7; ++i) {
            QCheckBox *mark = app.window().days().mark(i);
            const QPoint centre = mark->mapTo(&window, mark->rect().center());
            QCOMPARE(window.childAt(centre), mark);
            QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, centre);
            QVERIFY2(mark->isChecked() == saved, qPrintable(DayTable::caption(i)));
        }
    };
    clickEveryMark(false);
    QVERIFY(!QFileInfo::exists(app.dayPath("monday.rtf")));

    app.click("cmdSaveAllNow");
    checkAllMarks(app, true);
    const QFileInfo before(app.dayPath("monday.rtf"));
    QVERIFY(before.exists());
    clickEveryMark(true);
    QCOMPARE(QFileInfo(app.dayPath("monday.rtf")).lastModified(), before.lastModified());
}

QTEST_MAIN(SaveDaysTest)
#include "tst_savedays.moc"
