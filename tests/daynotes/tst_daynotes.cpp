// The seven day notes: which file, box, tab and mark belongs to each day, how the notes load when
// the window opens, how every save writes them, including the files that could not be read, and
// how each day is written as it is typed.
#include "daynotes/DayNotes.h"
#include "daynotes/DayTable.h"
#include "daynotes/SaveMarkLook.h"
#include "editor/RichTextBox.h"
#include "rtf/RtfReader.h"
#include "support/FaultyFileStore.h"
#include "support/TestApp.h"

#include <QCheckBox>
#include <QDir>
#include <QTabWidget>
#include <QtTest>

class DayNotesTest : public QObject
{
    Q_OBJECT
private slots:
    void tableTiesEachDayTogether();
    void windowMatchesTable();

    void missingFilesLeaveDaysEmpty();
    void dayThatIsNotRtfStaysEmptyOthersLoad();
    void dayFilesLiveBesideMissingNotesFolder();
    void notesBelongToWeekdaysNotDates();

    void firstSaveCreatesAllSevenFiles();
    void everySaveRewritesAllSevenFiles();

    void unreadableDayIsKeptAsideBeforeWrite();
    void unreadableDayStaysWhenItCannotBeKeptAside();
    void dayWithContentItCannotShowIsKeptAsBroughtIn();
    void failedWriteLeavesOldFileAndNoMark();
    void dayFailingLateInTheSaveLeavesOthersSaved_data();
    void dayFailingLateInTheSaveLeavesOthersSaved();
    void dayChangedByAnotherProgramIsKept();

    void everySecondKeyInADayWritesIt();
    void leavingAnEditedDayWritesIt_data();
    void leavingAnEditedDayWritesIt();
    void failedDayWriteIsToldOncePerDay();

private:
    // The window active and the day's tab in front, so the day box can take the focus.
    static RichTextBox *focusDay(TestApp &app, int index)
    {
        QApplication::setActiveWindow(&app.window());
        if (!QTest::qWaitForWindowActive(&app.window()))
            return nullptr;
        app.find<QTabWidget>(QStringLiteral("tabDays"))->setCurrentIndex(index);
        RichTextBox *box = app.window().days().box(index);
        box->setFocus();
        return box;
    }
    static bool allMarksAtRest(TestApp &app)
    {
        for (int i = 0; i < 7; ++i) {
            QCheckBox *mark = app.window().days().mark(i);
            if (mark->isChecked() || SaveMarkLook::showsSaved(mark))
                return false;
        }
        return true;
    }
    static QString dayText(TestApp &app, int index)
    {
        return app.window().days().box(index)->toPlainText();
    }
    static QStringList hiddenFiles(const QString &folder)
    {
        return QDir(folder)
            .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)
            .filter(QRegularExpression(QStringLiteral("^\\.")));
    }
};

void DayNotesTest::tableTiesEachDayTogether()
{
    const QStringList captions { "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
        "Sunday" };
    QCOMPARE(int(DayTable::days().size()), 7);
    for (int i = 0; i < 7; ++i) {
        const DayTable::Day &day = DayTable::day(i);
        QCOMPARE(day.index, i);
        QCOMPARE(DayTable::caption(i), captions[i]);
        QCOMPARE(DayTable::boxName(i), QStringLiteral("rtf") + captions[i]);
        QCOMPARE(DayTable::fileName(i), captions[i].toLower() + QStringLiteral(".rtf"));
        QCOMPARE(DayTable::markName(i), QStringLiteral("chkSaveDay_%1").arg(i));
        QCOMPARE(int(day.weekday), i + 1);
        QCOMPARE(DayTable::indexOfWeekday(day.weekday), i);
    }
    QCOMPARE(DayTable::indexOfWeekday(0), -1);
    QCOMPARE(DayTable::indexOfWeekday(8), -1);
    QCOMPARE(
        DayTable::filePath(QStringLiteral("/opt/qm"), 6), QStringLiteral("/opt/qm/sunday.rtf"));
}

// The table and the window definition must agree, or a day's note would land in another day's file.
void DayNotesTest::windowMatchesTable()
{
    TestApp app;
    app.open();
    auto *tabs = app.find<QTabWidget>(QStringLiteral("tabDays"));
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 7);
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(tabs->tabText(i), DayTable::caption(i));
        RichTextBox *box = app.window().days().box(i);
        QVERIFY(box);
        QCOMPARE(box->objectName(), DayTable::boxName(i));
        QVERIFY2(tabs->widget(i)->isAncestorOf(box), qPrintable(DayTable::boxName(i)));
        QCheckBox *mark = app.window().days().mark(i);
        QVERIFY(mark);
        QCOMPARE(mark->text(), DayTable::caption(i));
    }
}

void DayNotesTest::missingFilesLeaveDaysEmpty()
{
    TestApp app;
    app.open();
    for (int i = 0; i < 7; ++i)
        QVERIFY2(dayText(app, i).isEmpty(), qPrintable(DayTable::caption(i)));
    QVERIFY(app.prompter.shown().isEmpty());
    // Opening writes nothing.
    for (int i = 0; i < 7; ++i)
        QVERIFY(!QFile::exists(app.dayPath(DayTable::fileName(i))));
}

void DayNotesTest::dayThatIsNotRtfStaysEmptyOthersLoad()
{
    TestApp app;
    app.writeFile(app.dayPath("monday.rtf"), TestApp::rtfWithText("Call the printer"));
    app.writeFile(app.dayPath("tuesday.rtf"), "Just plain words, no RTF here.\n");
    app.writeFile(app.dayPath("wednesday.rtf"), QByteArray());
    app.writeFile(app.dayPath("sunday.rtf"), TestApp::rtfWithText("Rest"));
    app.open();
    QCOMPARE(dayText(app, 0), QStringLiteral("Call the printer"));
    QCOMPARE(dayText(app, 1), QString());
    QCOMPARE(dayText(app, 2), QString());
    QCOMPARE(dayText(app, 6), QStringLiteral("Rest"));
    // The opening goes on; the user hears of each empty day that is not empty on disk.
    QStringList shown;
    for (const ScriptedPrompter::Shown &notice : app.prompter.shown())
        shown << notice.kind + ": " + notice.caption + ": " + notice.text;
    const QString text = QStringLiteral(
        "notice: Note Not Readable: %1 could not be read as a note and is shown empty.  Before "
        "anything is saved into it, the file is kept as %2 in the same folder.");
    QCOMPARE(shown,
        (QStringList { text.arg("tuesday.rtf", ".tuesday.rtf.unreadable-1"),
            text.arg("wednesday.rtf", ".wednesday.rtf.unreadable-1") }));
}

void DayNotesTest::dayFilesLiveBesideMissingNotesFolder()
{
    TestApp app;
    app.writeFile(app.dayPath("friday.rtf"), TestApp::rtfWithText("Invoices"));
    QVERIFY(!QFileInfo::exists(app.notesFolder()));
    app.open();
    QCOMPARE(dayText(app, 4), QStringLiteral("Invoices"));
    app.window().days().box(5)->setText(QStringLiteral("Market"));
    app.click("cmdSaveAllNow");
    QCOMPARE(app.rtfFileText(app.dayPath("saturday.rtf")), QStringLiteral("Market"));
    QVERIFY(!QFileInfo::exists(app.notesFolder() + "/saturday.rtf"));
    for (int i = 0; i < 7; ++i)
        QVERIFY(app.window().days().mark(i)->isChecked());
}

// A note stays with its weekday: weeks later it is still on the same tab.
void DayNotesTest::notesBelongToWeekdaysNotDates()
{
    TestApp app(QDate(2026, 12, 8)); // a Tuesday
    app.open();
    QCOMPARE(app.find<QTabWidget>("tabDays")->currentIndex(), 1);
    app.window().days().box(1)->setText(QStringLiteral("Team meeting"));
    app.click("cmdClose");
    QCOMPARE(app.quitCount, 1);

    MainWindowServices later = app.services();
    FixedClock threeWeeksLater(QDate(2026, 12, 31)); // a Thursday
    later.clock = &threeWeeksLater;
    MainWindow reopened(later);
    reopened.showWindow();
    QCOMPARE(reopened.findChild<QTabWidget *>("tabDays")->currentIndex(), 3);
    QCOMPARE(reopened.days().box(1)->toPlainText(), QStringLiteral("Team meeting"));
    QCOMPARE(reopened.days().box(3)->toPlainText(), QString());
}

void DayNotesTest::firstSaveCreatesAllSevenFiles()
{
    TestApp app;
    app.open();
    app.click("cmdSaveAllNow");
    for (int i = 0; i < 7; ++i) {
        const QByteArray bytes = app.readFile(app.dayPath(DayTable::fileName(i)));
        QVERIFY2(RtfReader::looksLikeRtf(bytes), qPrintable(DayTable::fileName(i)));
        QCOMPARE(app.rtfFileText(app.dayPath(DayTable::fileName(i))), QString());
    }
    // Atomic writes leave no temporary file behind.
    QCOMPARE(hiddenFiles(app.folder()), QStringList());
}

// No modified flag: every save writes every day, whether or not its note changed.
void DayNotesTest::everySaveRewritesAllSevenFiles()
{
    TestApp app;
    for (int i = 0; i < 7; ++i)
        app.writeFile(app.dayPath(DayTable::fileName(i)),
            TestApp::rtfWithText(DayTable::caption(i) + " note"));
    app.open();
    for (int round = 0; round < 2; ++round) {
        // Change the files behind the program's back: the save must replace them with the boxes'
        // text.
        for (int i = 0; i < 7; ++i)
            app.writeFile(app.dayPath(DayTable::fileName(i)), TestApp::rtfWithText("stale"));
        app.click("cmdSaveAllNow");
        for (int i = 0; i < 7; ++i) {
            const QString path = app.dayPath(DayTable::fileName(i));
            QCOMPARE(app.readFile(path), app.window().days().box(i)->textRTF());
            QCOMPARE(app.rtfFileText(path), DayTable::caption(i) + " note");
        }
    }
}

void DayNotesTest::unreadableDayIsKeptAsideBeforeWrite()
{
    TestApp app;
    const QByteArray notRtf = "Notes from the old program: do not lose me\n";
    app.writeFile(app.dayPath("tuesday.rtf"), notRtf);
    app.writeFile(app.dayPath(".tuesday.rtf.unreadable-1"), "an older copy");
    app.open();
    app.window().days().box(1)->setText(QStringLiteral("New Tuesday"));
    app.click("cmdSaveAllNow");

    QCOMPARE(app.readFile(app.dayPath(".tuesday.rtf.unreadable-1")), QByteArray("an older copy"));
    QCOMPARE(app.readFile(app.dayPath(".tuesday.rtf.unreadable-2")), notRtf);
    QCOMPARE(app.rtfFileText(app.dayPath("tuesday.rtf")), QStringLiteral("New Tuesday"));
    QVERIFY(app.window().days().mark(1)->isChecked());

    // Once kept, the file is the program's own: later saves simply replace it.
    app.click("cmdSaveAllNow");
    QCOMPARE(hiddenFiles(app.folder()),
        QStringList({ ".tuesday.rtf.unreadable-1", ".tuesday.rtf.unreadable-2" }));
}

void DayNotesTest::unreadableDayStaysWhenItCannotBeKeptAside()
{
    FaultyFileStore faulty;
    TestApp app;
    faulty.failMoveAside = true;
    app.files = &faulty;
    const QByteArray notRtf = "precious plain text";
    app.writeFile(app.dayPath("sunday.rtf"), notRtf);
    app.open();
    app.window().days().box(6)->setText(QStringLiteral("typed over it"));
    app.click("cmdSaveAllNow");

    QCOMPARE(app.readFile(app.dayPath("sunday.rtf")), notRtf);
    QVERIFY(!app.window().days().mark(6)->isChecked());
    for (int i = 0; i < 6; ++i)
        QVERIFY2(app.window().days().mark(i)->isChecked(), qPrintable(DayTable::caption(i)));
    // Still not written on the next save either.
    app.click("cmdSaveAllNow");
    QCOMPARE(app.readFile(app.dayPath("sunday.rtf")), notRtf);
    // Once the file can be kept aside, the day is saved again.
    faulty.failMoveAside = false;
    app.click("cmdSaveAllNow");
    QCOMPARE(app.readFile(app.dayPath(".sunday.rtf.unreadable-1")), notRtf);
    QCOMPARE(app.rtfFileText(app.dayPath("sunday.rtf")), QStringLiteral("typed over it"));
}

void DayNotesTest::dayWithContentItCannotShowIsKeptAsBroughtIn()
{
    TestApp app;
    const QByteArray broughtIn = "{\\rtf1\\ansi {\\header\\pard Week 12\\par}Call the printer}";
    app.writeFile(app.dayPath("monday.rtf"), broughtIn);
    app.open();
    QCOMPARE(dayText(app, 0), QStringLiteral("Call the printer"));
    QVERIFY(app.prompter.shown().isEmpty());
    app.click("cmdSaveAllNow");
    QCOMPARE(app.readFile(app.dayPath(".monday.rtf.original-1")), broughtIn);
    QCOMPARE(app.rtfFileText(app.dayPath("monday.rtf")), QStringLiteral("Call the printer"));
    QVERIFY(app.window().days().mark(0)->isChecked());
    const QList<ScriptedPrompter::Shown> shown = app.prompter.shown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].kind, QStringLiteral("notice"));
    QCOMPARE(shown[0].caption, QStringLiteral("Kept As Brought In"));
    QCOMPARE(shown[0].text,
        QStringLiteral("monday.rtf holds content that Quillmark cannot keep as it is (footnotes, "
                       "comments, text boxes, headers and footers or pictures).  The file "
                       "as it was is kept as .monday.rtf.original-1 in the same folder."));
    app.click("cmdSaveAllNow");
    QCOMPARE(app.prompter.shown().size(), 1);
    QCOMPARE(hiddenFiles(app.folder()), QStringList { ".monday.rtf.original-1" });
}

// A day counts as saved only when its file is in place with the new text.
void DayNotesTest::failedWriteLeavesOldFileAndNoMark()
{
    FaultyFileStore faulty;
    TestApp app;
    faulty.failWrites.insert(QStringLiteral("thursday.rtf"));
    app.files = &faulty;
    const QByteArray oldThursday = TestApp::rtfWithText("old Thursday");
    app.writeFile(app.dayPath("thursday.rtf"), oldThursday);
    // A folder where a day file belongs: the write fails for real.
    QVERIFY(QDir(app.folder()).mkdir(QStringLiteral("friday.rtf")));
    app.open();
    app.window().days().box(3)->setText(QStringLiteral("new Thursday"));
    app.click("cmdSaveAllNow");

    QCOMPARE(app.readFile(app.dayPath("thursday.rtf")), oldThursday);
    QVERIFY(QFileInfo(app.dayPath("friday.rtf")).isDir());
    DayNotes &days = app.window().days();
    for (int i = 0; i < 7; ++i) {
        const bool written = i != 3 && i != 4;
        QCOMPARE(days.mark(i)->isChecked(), written);
        QCOMPARE(SaveMarkLook::showsSaved(days.mark(i)), written);
    }
    // A save-only run says nothing: the marks tell.
    QVERIFY(app.prompter.shown().isEmpty());
    QVERIFY(app.window().isVisible());
}

void DayNotesTest::dayFailingLateInTheSaveLeavesOthersSaved_data()
{
    QTest::addColumn<QString>("step");
    QTest::newRow("waiting for the disk") << "sync";
    QTest::newRow("renaming over the file") << "replace";
}

// The seven files are written together and made durable together; when one of them fails after
// all were written (the disk reports an error, the rename is refused), that day alone keeps its old
// file and its mark, and the closing names it alone.
void DayNotesTest::dayFailingLateInTheSaveLeavesOthersSaved()
{
    QFETCH(QString, step);
    FaultyFileStore faulty;
    TestApp app;
    (step == QLatin1String("sync") ? faulty.failSyncs : faulty.failReplaces)
        .insert(QStringLiteral("wednesday.rtf"));
    app.files = &faulty;
    for (int i = 0; i < 7; ++i)
        app.writeFile(app.dayPath(DayTable::fileName(i)),
            TestApp::rtfWithText(QStringLiteral("old ") + DayTable::caption(i)));
    app.open();
    for (int i = 0; i < 7; ++i)
        app.window().days().box(i)->setText(QStringLiteral("new ") + DayTable::caption(i));
    app.click("cmdSaveAllNow");

    DayNotes &days = app.window().days();
    for (int i = 0; i < 7; ++i) {
        const bool written = i != 2;
        QCOMPARE(days.mark(i)->isChecked(), written);
        QCOMPARE(app.rtfFileText(app.dayPath(DayTable::fileName(i))),
            (written ? QStringLiteral("new ") : QStringLiteral("old ")) + DayTable::caption(i));
    }
    QCOMPARE(hiddenFiles(app.folder()), QStringList());

    app.prompter.answerQuestion(Prompter::Answer::No);
    app.window().close();
    const auto questions = app.prompter.shownOfKind(QStringLiteral("question"));
    QCOMPARE(questions.size(), 1);
    QVERIFY(questions.first().text.contains(QStringLiteral("wednesday.rtf")));
    QCOMPARE(questions.first().text.count(QStringLiteral(".rtf")), 1);
    QVERIFY(app.window().isVisible());

    // Once the disk is well again, the next save writes Wednesday too.
    faulty.failSyncs.clear();
    faulty.failReplaces.clear();
    app.click("cmdSaveAllNow");
    QVERIFY(days.mark(2)->isChecked());
    QCOMPARE(app.rtfFileText(app.dayPath("wednesday.rtf")), QStringLiteral("new Wednesday"));
}

// The day files are read through the file store, so it knows which version each box shows: one that
// another program wrote since (a sync tool, say) is kept before the save replaces it.
void DayNotesTest::dayChangedByAnotherProgramIsKept()
{
    TestApp app;
    app.writeFile(app.dayPath("monday.rtf"), TestApp::rtfWithText("as opened"));
    app.open();
    const QByteArray theirs = TestApp::rtfWithText("written on the other computer meanwhile");
    app.writeFile(app.dayPath("monday.rtf"), theirs);
    app.click("cmdSaveAllNow");

    QCOMPARE(app.rtfFileText(app.dayPath("monday.rtf")), QStringLiteral("as opened"));
    QCOMPARE(app.readFile(app.dayPath(".monday.rtf.conflict-1")), theirs);
    QVERIFY(app.window().days().mark(0)->isChecked());
    // Only the changed day: the others were never read, so there is nothing to compare them with.
    QCOMPARE(hiddenFiles(app.folder()), QStringList { ".monday.rtf.conflict-1" });
}

// A crash loses at most the last key: each day box counts its own key releases and every second
// one writes its file, without touching the marks or the project note's count.
void DayNotesTest::everySecondKeyInADayWritesIt()
{
    TestApp app;
    app.open();
    RichTextBox *monday = focusDay(app, 0);
    QVERIFY(monday);
    QTest::keyClick(monday, Qt::Key_A);
    QVERIFY(!QFile::exists(app.dayPath("monday.rtf")));
    // Leaving Monday writes it; Tuesday's first key is Tuesday's first, not the second overall.
    RichTextBox *tuesday = focusDay(app, 1);
    QTest::keyClick(tuesday, Qt::Key_B);
    QVERIFY(!QFile::exists(app.dayPath("tuesday.rtf")));

    monday = focusDay(app, 0);
    QTest::keyClick(monday, Qt::Key_C);
    QCOMPARE(app.rtfFileText(app.dayPath("monday.rtf")), QStringLiteral("ac"));
    QTest::keyClick(monday, Qt::Key_D);
    QCOMPARE(app.rtfFileText(app.dayPath("monday.rtf")), QStringLiteral("ac"));
    QTest::keyClick(monday, Qt::Key_E);
    QCOMPARE(app.rtfFileText(app.dayPath("monday.rtf")), QStringLiteral("acde"));
    QCOMPARE(app.window().projectFlags().intKeyCount, qint16(0));
    QVERIFY(allMarksAtRest(app));
    QVERIFY(app.prompter.shown().isEmpty());
}

void DayNotesTest::leavingAnEditedDayWritesIt_data()
{
    QTest::addColumn<bool>("byTab");
    QTest::newRow("the focus goes elsewhere") << false;
    QTest::newRow("another tab is chosen") << true;
}

// One key alone writes nothing; leaving the box after it does, once, and leaving a box that was
// not edited since its last write writes nothing. Left by its tab, the box never had the focus.
void DayNotesTest::leavingAnEditedDayWritesIt()
{
    QFETCH(bool, byTab);
    FaultyFileStore faulty;
    TestApp app;
    app.files = &faulty;
    app.writeFile(app.dayPath("friday.rtf"), TestApp::rtfWithText("as opened"));
    app.open();
    auto *tabs = app.find<QTabWidget>(QStringLiteral("tabDays"));
    auto *elsewhere = app.find<QWidget>(QStringLiteral("cmdNewToDo"));
    RichTextBox *friday = app.window().days().box(4);
    const auto enter = [&] {
        QVERIFY(focusDay(app, 4));
        if (byTab)
            elsewhere->setFocus();
    };
    const auto leave = [&] {
        if (byTab)
            tabs->setCurrentIndex(6);
        else
            elsewhere->setFocus();
    };

    enter();
    leave();
    QCOMPARE(faulty.writtenNames, QStringList());

    enter();
    QCOMPARE(friday->hasFocus(), !byTab);
    friday->moveCursor(QTextCursor::End);
    QTest::keyClick(friday, Qt::Key_X);
    QCOMPARE(faulty.writtenNames, QStringList());
    leave();
    QCOMPARE(faulty.writtenNames, QStringList { "friday.rtf" });
    QCOMPARE(app.rtfFileText(app.dayPath("friday.rtf")), QStringLiteral("as openedx"));

    enter();
    leave();
    QCOMPARE(faulty.writtenNames, QStringList { "friday.rtf" });
    QVERIFY(allMarksAtRest(app));
}

// Every second key retries a day that cannot be written; the user hears of each day once, until a
// write of it succeeds again. The marks stay at rest: only Save Days and closing set them.
void DayNotesTest::failedDayWriteIsToldOncePerDay()
{
    FaultyFileStore faulty;
    TestApp app;
    app.files = &faulty;
    faulty.failWrites = { QStringLiteral("monday.rtf"), QStringLiteral("sunday.rtf") };
    app.open();
    const QString mondayNotice
        = QStringLiteral("Day note: Monday could not be saved.\r\n\r\nNo space left on device");
    const auto typeTwice = [&](int index) {
        RichTextBox *box = focusDay(app, index);
        QTest::keyClicks(box, QStringLiteral("ab"));
    };

    typeTwice(0);
    typeTwice(0);
    typeTwice(6);
    typeTwice(6);
    auto notices = app.prompter.shownOfKind(QStringLiteral("notice"));
    QCOMPARE(notices.size(), 2);
    QCOMPARE(notices[0].text, mondayNotice);
    QCOMPARE(notices[0].caption, QStringLiteral("Save"));
    QCOMPARE(notices[1].text,
        QStringLiteral("Day note: Sunday could not be saved.\r\n\r\nNo space left on device"));
    QVERIFY(!QFile::exists(app.dayPath("monday.rtf")));
    QVERIFY(allMarksAtRest(app));

    // A write that succeeds again re-arms the notice of its day.
    faulty.failWrites.remove(QStringLiteral("monday.rtf"));
    typeTwice(0);
    QCOMPARE(app.rtfFileText(app.dayPath("monday.rtf")), QStringLiteral("ababab"));
    faulty.failWrites.insert(QStringLiteral("monday.rtf"));
    typeTwice(0);
    notices = app.prompter.shownOfKind(QStringLiteral("notice"));
    QCOMPARE(notices.size(), 3);
    QCOMPARE(notices[2].text, mondayNotice);
    QVERIFY(allMarksAtRest(app));
    QCOMPARE(app.prompter.shown().size(), 3);
}

QTEST_MAIN(DayNotesTest)
#include "tst_daynotes.moc"
