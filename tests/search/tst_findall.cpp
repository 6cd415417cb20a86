// "Find in All Notes" in the main window: what it searches, and what showing a match does to the
// project list and the week tabs.
#include "daynotes/DayNotes.h"
#include "projects/ProjectPanel.h"
#include "search/FindAllWindow.h"
#include "support/ProjectTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

using namespace ProjectTest;

class FindAllTest : public QObject
{
    Q_OBJECT
private slots:
    void findsInNotesNotShownDaysAndEdits();
    void pendingEditWrittenBeforeAMatchIsShown();
    void pendingListLeavesProjectRowsAloneButNotDays();
    void matchInALargeNoteIsSelectedOnceItOpens();

private:
    // Opens the window on A, B and a Wednesday note, and searches for needle.
    static FindAllWindow *search(TestApp &app, const QString &needle);
    static QStringList rows(FindAllWindow *window, int column);
    static void showRow(FindAllWindow *window, const QString &label);
};

FindAllWindow *FindAllTest::search(TestApp &app, const QString &needle)
{
    app.trigger("mnuOptionsFindAll");
    FindAllWindow *window = app.window().findAllWindow();
    if (!window)
        return nullptr;
    window->findChild<QLineEdit *>("txtFindAll")->setText(needle);
    window->searchNow();
    const auto *count = window->findChild<QLabel *>("lblFindAllCount");
    // Null when the search does not end.
    return QTest::qWaitFor([count] { return !count->text().isEmpty(); }) ? window : nullptr;
}

QStringList FindAllTest::rows(FindAllWindow *window, int column)
{
    QStringList result;
    auto *list = window->findChild<QTreeWidget *>("lstFindAllResults");
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        result.append(list->topLevelItem(i)->text(column));
    return result;
}

void FindAllTest::showRow(FindAllWindow *window, const QString &label)
{
    auto *list = window->findChild<QTreeWidget *>("lstFindAllResults");
    const QList<QTreeWidgetItem *> found = list->findItems(label, Qt::MatchExactly, 0);
    QVERIFY2(!found.isEmpty(), qPrintable(label));
    list->setFocus();
    list->setCurrentItem(found.first());
    QTest::keyClick(list, Qt::Key_Return);
}

void FindAllTest::findsInNotesNotShownDaysAndEdits()
{
    TestApp app;
    app.writeFile(app.dayPath("wednesday.rtf"), TestApp::rtfWithText("apple day"));
    openWithNotes(app, { { "A", "apple pie\nno fruit here" }, { "B", "banana" } });
    select(app, 1);
    // An edit not yet written is searched as the box holds it.
    app.editor()->insertPlainText(QStringLiteral("Apple "));
    FindAllWindow *window = search(app, QStringLiteral("apple"));
    QVERIFY(window);
    QCOMPARE(rows(window, 0), QStringList({ "A", "B", "Wednesday" }));
    QCOMPARE(rows(window, 1), QStringList({ "apple pie", "Apple banana", "apple day" }));
    QCOMPARE(
        window->findChild<QLabel *>("lblFindAllCount")->text(), FindAllWindow::countText(3, 3));
    QCOMPARE(window->windowTitle(), QStringLiteral("Find in All Notes"));
    // The same window comes back.
    app.trigger("mnuOptionsFindAll");
    QCOMPARE(app.window().findAllWindow(), window);
}

void FindAllTest::pendingEditWrittenBeforeAMatchIsShown()
{
    TestApp app;
    openWithNotes(app, alphaAndBeta());
    select(app, 0);
    typeKey(app, 'x');
    FindAllWindow *window = search(app, QStringLiteral("beta"));
    QVERIFY(window);
    showRow(window, "B");
    QCOMPARE(app.window().projects().editorOwner(), QStringLiteral("B"));
    QCOMPARE(app.rtfFileText(app.notePath("A.rtf")), QStringLiteral("xalpha"));
    QCOMPARE(app.editor()->textCursor().selectedText(), QStringLiteral("beta"));
    QCOMPARE(app.window().focusWidget(), app.editor());
}

void FindAllTest::pendingListLeavesProjectRowsAloneButNotDays()
{
    TestApp app;
    app.writeFile(app.dayPath("friday.rtf"), TestApp::rtfWithText("an alpha friday"));
    openWithNotes(app, alphaAndBeta());
    app.prompter.answerInput(QStringLiteral("New"));
    app.click("cmdNewToDo");
    QVERIFY(app.window().projectFlags().blnUnsavedItem);
    FindAllWindow *window = search(app, QStringLiteral("alpha"));
    QVERIFY(window);
    showRow(window, "A");
    QCOMPARE(app.window().projects().editorOwner(), QStringLiteral("New"));
    QCOMPARE(app.list()->currentItem()->text(), QStringLiteral("New"));

    showRow(window, "Friday");
    QCOMPARE(app.find<QTabWidget>("tabDays")->currentIndex(), 4);
    RichTextBox *friday = app.window().days().box(4);
    QCOMPARE(friday->textCursor().selectedText(), QStringLiteral("alpha"));
    QCOMPARE(app.window().focusWidget(), friday);
}

void FindAllTest::matchInALargeNoteIsSelectedOnceItOpens()
{
    // A note this large opens in the background after its selection.
    TestApp app;
    openWithNotes(app,
        { { "A", "alpha" },
            { "Large", QString(QStringLiteral("filler line\n")).repeated(60000) + "the needle" } });
    select(app, 0);
    FindAllWindow *window = search(app, QStringLiteral("needle"));
    QVERIFY(window);
    showRow(window, "Large");
    QVERIFY(QTest::qWaitFor([&] { return !app.editor()->isOpening(); }, 20000));
    QCOMPARE(app.editor()->textCursor().selectedText(), QStringLiteral("needle"));
    QCOMPARE(app.window().focusWidget(), app.editor());
}

QTEST_MAIN(FindAllTest)
#include "tst_findall.moc"
