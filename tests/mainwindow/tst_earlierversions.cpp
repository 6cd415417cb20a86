// "Earlier Versions...": the window of the current note's versions, restoring one (the current
// text kept first) in a project note and a day note, and the notice when no version can be kept.
#include "history/NoteHistory.h"
#include "mainwindow/EarlierVersionsWindow.h"
#include "support/ProjectTestSupport.h"

#include <QPushButton>
#include <QtTest>

using namespace ProjectTest;

class EarlierVersionsTest : public QObject
{
    Q_OBJECT
private slots:
    void restoreKeepsTheCurrentTextFirst_data();
    void restoreKeepsTheCurrentTextFirst();
    void versionsThatCannotBeKeptAreToldOnce();
};

void EarlierVersionsTest::restoreKeepsTheCurrentTextFirst_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("caption");
    QTest::newRow("project note") << "rtfToDo"
                                  << "todolist/Plan.rtf"
                                  << "Earlier Versions - Plan";
    QTest::newRow("day note") << "rtfTuesday"
                              << "tuesday.rtf"
                              << "Earlier Versions - Tuesday";
}

void EarlierVersionsTest::restoreKeepsTheCurrentTextFirst()
{
    QFETCH(QString, boxName);
    QFETCH(QString, fileName);
    QFETCH(QString, caption);
    TestApp app;
    app.writeFile(app.dayPath("tuesday.rtf"), app.rtfWithText("first"));
    MainWindow &window = openWithNotes(app, { { "Plan", "first" } });
    select(app, 0);
    const QString path = app.dayPath(fileName);
    const QString folder = window.history().folderFor(path);
    app.writeFile(
        folder + QLatin1Char('/') + NoteHistory::versionName(app.clock.now.addSecs(-3600)),
        app.rtfWithText("old words"));
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *box = app.find<RichTextBox>(boxName);
    box->setFocus();

    app.trigger("mnuOptionsEarlierVersions");
    auto *versions = window.findChild<EarlierVersionsWindow *>();
    QVERIFY(versions && versions->isVisible());
    QCOMPARE(versions->windowTitle(), caption);
    for (QPushButton *button : versions->findChildren<QPushButton *>())
        QVERIFY(!button->isDefault() && !button->autoDefault());
    auto *list = versions->findChild<QListWidget *>("lstVersions");
    QCOMPARE(list->count(), 1);
    QVERIFY(list->item(0)->text().endsWith(QStringLiteral("old words")));
    versions->findChild<QPushButton *>("cmdRestore")->click();

    QCOMPARE(box->toPlainText(), QStringLiteral("old words"));
    QCOMPARE(app.rtfFileText(path), QStringLiteral("old words"));
    QStringList kept;
    for (const NoteHistory::Entry &entry : window.history().entries(path))
        kept.append(app.rtfFileText(entry.path));
    QCOMPARE(kept, (QStringList { "first", "old words" }));
    QVERIFY(!versions->isVisible());
}

void EarlierVersionsTest::versionsThatCannotBeKeptAreToldOnce()
{
    TestApp app;
    app.writeFile(app.folder() + QLatin1Char('/') + NoteHistory::folderName(), "not a folder");
    openWithNotes(app, alphaAndBeta());
    select(app, 0);
    typeText(app, "more");
    select(app, 1);
    typeText(app, "more");
    QCOMPARE(app.rtfFileText(app.notePath("B.rtf")), QStringLiteral("morebeta"));
    const QList<ScriptedPrompter::Shown> notices = app.prompter.shownOfKind("notice");
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices[0].caption, QStringLiteral("Earlier Versions"));
    QVERIFY(notices[0].text.startsWith(
        QStringLiteral("Earlier versions of your notes cannot be kept: ")));
    QVERIFY(notices[0].text.endsWith(QStringLiteral(".  Your notes are still saved.")));
}

QTEST_MAIN(EarlierVersionsTest)
#include "tst_earlierversions.moc"
