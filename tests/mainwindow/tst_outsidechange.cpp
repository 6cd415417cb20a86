// A note or day file changed or put there by another program since Quillmark read, wrote or looked
// for it is kept beside it, under a hidden conflict name, before a save replaces it; the user is
// told once, without a modal box.
#include "editor/RichTextBox.h"
#include "mainwindow/MainWindow.h"
#include "support/TestApp.h"

#include <QDir>
#include <QListWidget>
#include <QtTest>

class OutsideChangeTest : public QObject
{
    Q_OBJECT
private slots:
    void noteChangedOutsideIsKeptAndUserToldOnce();
    void dayFileChangedOutsideIsKeptAtSaveDays_data();
    void dayFileChangedOutsideIsKeptAtSaveDays();
    void ownSavesRaiseNoNotice();
    void copyKeptWhileClosingIsNamedBeforeTheEnd_data();
    void copyKeptWhileClosingIsNamedBeforeTheEnd();

private:
    static QStringList conflictsIn(const QString &folder)
    {
        return QDir(folder).entryList(
            { QStringLiteral(".*.conflict-*") }, QDir::Files | QDir::Hidden);
    }
};

void OutsideChangeTest::noteChangedOutsideIsKeptAndUserToldOnce()
{
    TestApp app;
    app.writeNote(QStringLiteral("Plan.rtf"), QStringLiteral("as loaded"));
    app.open();
    app.list()->setCurrentRow(0);
    QCOMPARE(app.editor()->toPlainText(), QStringLiteral("as loaded"));
    // A sync tool brings another computer's version of the note.
    app.writeNote(QStringLiteral("Plan.rtf"), QStringLiteral("written on the laptop"));

    QTest::keyClicks(app.editor(), QStringLiteral("ab"));
    QCOMPARE(
        app.rtfFileText(app.notePath(QStringLiteral("Plan.rtf"))), app.editor()->toPlainText());
    const QStringList conflicts = conflictsIn(app.notesFolder());
    QCOMPARE(conflicts.size(), 1);
    QCOMPARE(app.rtfFileText(app.notesFolder() + QLatin1Char('/') + conflicts.first()),
        QStringLiteral("written on the laptop"));
    // The folder scan does not list the kept version.
    QVERIFY(!app.files->listFiles(app.notesFolder()).contains(conflicts.first()));

    const auto notices = app.prompter.shownOfKind(QStringLiteral("notice"));
    QCOMPARE(notices.size(), 1);
    QVERIFY(notices.first().text.contains(QStringLiteral("Plan.rtf")));
    QVERIFY(notices.first().text.contains(conflicts.first()));
    QCOMPARE(notices.first().caption, QStringLiteral("Changed Outside Quillmark"));

    // Further typing saves over the program's own version without another word.
    QTest::keyClicks(app.editor(), QStringLiteral("cd"));
    QCOMPARE(app.prompter.shownOfKind(QStringLiteral("notice")).size(), 1);
    QCOMPARE(conflictsIn(app.notesFolder()).size(), 1);
}

void OutsideChangeTest::dayFileChangedOutsideIsKeptAtSaveDays_data()
{
    QTest::addColumn<QString>("atOpening"); // the Friday the window opens with
    QTest::newRow("changed") << QStringLiteral("Friday as loaded");
    // A backup copied in after the window opened without a Friday file.
    QTest::newRow("appeared") << QString();
}

void OutsideChangeTest::dayFileChangedOutsideIsKeptAtSaveDays()
{
    QFETCH(QString, atOpening);
    TestApp app;
    const QString friday = app.dayPath(QStringLiteral("friday.rtf"));
    if (!atOpening.isEmpty())
        app.writeFile(friday, TestApp::rtfWithText(atOpening));
    app.open();
    app.writeFile(friday, TestApp::rtfWithText(QStringLiteral("Friday from elsewhere")));
    app.click(QStringLiteral("cmdSaveAllNow"));
    QCOMPARE(app.rtfFileText(friday), atOpening);
    QCOMPARE(conflictsIn(app.folder()), QStringList { QStringLiteral(".friday.rtf.conflict-1") });
    QCOMPARE(app.rtfFileText(app.folder() + QStringLiteral("/.friday.rtf.conflict-1")),
        QStringLiteral("Friday from elsewhere"));
    const auto notices = app.prompter.shownOfKind(QStringLiteral("notice"));
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices.first().text,
        QDir::toNativeSeparators(friday)
            + QStringLiteral(" was changed by another program since Quillmark last read, saved or "
                             "looked for it.  That version is kept as .friday.rtf.conflict-1 in "
                             "the same folder."));
}

void OutsideChangeTest::ownSavesRaiseNoNotice()
{
    TestApp app;
    app.writeNote(QStringLiteral("Plan.rtf"), QStringLiteral("as loaded"));
    app.writeFile(
        app.dayPath(QStringLiteral("monday.rtf")), TestApp::rtfWithText(QStringLiteral("Monday")));
    app.open();
    app.list()->setCurrentRow(0);
    for (int i = 0; i < 3; ++i) {
        QTest::keyClicks(app.editor(), QStringLiteral("xy"));
        app.click(QStringLiteral("cmdSaveAllNow"));
    }
    QVERIFY(app.prompter.shownOfKind(QStringLiteral("notice")).isEmpty());
    QVERIFY(conflictsIn(app.folder()).isEmpty());
    QVERIFY(conflictsIn(app.notesFolder()).isEmpty());
}

void OutsideChangeTest::copyKeptWhileClosingIsNamedBeforeTheEnd_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<int>("messages");
    QTest::addColumn<int>("notices");
    QTest::newRow("a real close names it in a message") << "close" << 1 << 0;
    QTest::newRow("Save Days tells it by a notice") << "cmdSaveAllNow" << 0 << 1;
    QTest::newRow("a log-out shows nothing") << "session" << 0 << 0;
}

void OutsideChangeTest::copyKeptWhileClosingIsNamedBeforeTheEnd()
{
    QFETCH(QString, ending);
    QFETCH(int, messages);
    QFETCH(int, notices);
    TestApp app;
    const QString friday = app.dayPath(QStringLiteral("friday.rtf"));
    app.writeFile(friday, TestApp::rtfWithText(QStringLiteral("as loaded")));
    app.open();
    app.writeFile(friday, TestApp::rtfWithText(QStringLiteral("from elsewhere, and longer")));

    if (ending == QLatin1String("close"))
        app.window().close();
    else if (ending == QLatin1String("session"))
        app.window().commitData();
    else
        app.click(ending);

    QCOMPARE(conflictsIn(app.folder()).size(), 1);
    const auto shown = app.prompter.shownOfKind(messages ? "message" : "notice");
    QCOMPARE(shown.size(), messages + notices);
    QCOMPARE(app.prompter.shownOfKind(messages ? "notice" : "message").size(), 0);
    if (!shown.isEmpty()) {
        QCOMPARE(shown.first().caption, QStringLiteral("Changed Outside Quillmark"));
        QVERIFY(shown.first().text.contains(conflictsIn(app.folder()).first()));
    }
}

QTEST_MAIN(OutsideChangeTest)
#include "tst_outsidechange.moc"
