// Bad input of every kind: the program neither crashes nor loses anything, and tells the user where
// the user can act. Each test's name says what happens.
#include "editor/RichTextBox.h"
#include "mainwindow/MainWindow.h"
#include "support/FaultyFileStore.h"
#include "support/ProjectTestSupport.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QProgressBar>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

using namespace ProjectTest;

class BadInputTest : public QObject
{
    Q_OBJECT
private slots:
    void garbageSettings_defaultsUsedAndFileKeptUntilClosingKeepsItAside();
    void hugeAndNegativeNumbers_whatFitsIsUsedTheRestDefaults();
    void missingAndExtraGroups_defaultsUsedAndOtherGroupsKept();
    void todolistIsAFile_emptyListAndTheUserIsToldNotesCannotBeSaved();
    void noteThatIsAFolder_showsEmptyAndTheFolderIsNeverReplaced();
    void emptyAndBinaryNotes_showEmptyAndAreKeptBeforeTheFirstWrite();
    void note200MBOfBinary_isRejectedAndTheWindowStaysUsable();
    void largeNote_opensUnderAProgressBar();
    void namesNotValidTextOrWithLineBreaks_areNotListedAndStayOnDisk();
    void symbolicLinks_areFollowedForReadingAndWritingAndStayLinks();
    void unreadableNote_showsEmptyAndIsKeptBeforeTheFirstWrite();
    void readOnlyFolder_saveDaysMarksNothingAndClosingAsks();
    void fullDisk_noteKeepsItsOldTextAndTheUserIsTold();

private:
    static QByteArray binaryBytes(int size)
    {
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = char((quint64(i) * 7919 + 13) % 251);
        return bytes;
    }
};

void BadInputTest::garbageSettings_defaultsUsedAndFileKeptUntilClosingKeepsItAside()
{
    TestApp app;
    const QString path = app.settings->fileName();
    const QByteArray garbage = binaryBytes(5000);
    app.writeFile(path, garbage);
    app.reopenSettings();
    MainWindow &window = app.open();
    QCOMPARE(window.pos(), QPoint(7, 7));
    QCOMPARE(app.readFile(path), garbage); // opening writes no setting
    window.close();
    QCOMPARE(app.quitCount, 1);
    const QStringList kept
        = QDir(QFileInfo(path).absolutePath())
              .entryList({ QStringLiteral(".*.unreadable-*") }, QDir::Files | QDir::Hidden);
    QCOMPARE(kept.size(), 1);
    QCOMPARE(
        app.readFile(QFileInfo(path).absolutePath() + QLatin1Char('/') + kept.first()), garbage);
    QCOMPARE(QtSettingsStore(path).get(QStringLiteral("screen"), QStringLiteral("top"), QString()),
        QStringLiteral("105"));
}

void BadInputTest::hugeAndNegativeNumbers_whatFitsIsUsedTheRestDefaults()
{
    TestApp app;
    app.settings->save(QStringLiteral("screen"), QStringLiteral("top"), QStringLiteral("1e300"));
    app.settings->save(QStringLiteral("screen"), QStringLiteral("left"), QStringLiteral("-45"));
    app.settings->save(
        QStringLiteral("projects"), QStringLiteral("order"), QString(100000, QLatin1Char('x')));
    MainWindow &window = app.open();
    QCOMPARE(window.pos().x(), -3);
    QCOMPARE(app.listTitles(), QStringList { QString(100000, QLatin1Char('x')) });
}

void BadInputTest::missingAndExtraGroups_defaultsUsedAndOtherGroupsKept()
{
    TestApp app;
    app.writeFile(app.settings->fileName(), "[elsewhere]\nkept=yes\n[screen]\nwidth=99\n");
    app.reopenSettings();
    app.writeNote(QStringLiteral("Alpha.rtf"), QStringLiteral("alpha"));
    MainWindow &window = app.open();
    QCOMPARE(window.pos(), QPoint(7, 7));
    QCOMPARE(app.listTitles(), QStringList { QStringLiteral("Alpha") });
    window.close();
    QtSettingsStore reread(app.settings->fileName());
    QCOMPARE(reread.get(QStringLiteral("elsewhere"), QStringLiteral("kept"), QString()),
        QStringLiteral("yes"));
    QCOMPARE(reread.get(QStringLiteral("screen"), QStringLiteral("width"), QString()),
        QStringLiteral("99"));
    QCOMPARE(reread.get(QStringLiteral("projects"), QStringLiteral("order"), QString()),
        QStringLiteral("Alpha"));
}

void BadInputTest::todolistIsAFile_emptyListAndTheUserIsToldNotesCannotBeSaved()
{
    TestApp app;
    app.writeFile(app.notesFolder(), "not a folder");
    app.open();
    QCOMPARE(app.list()->count(), 0);
    app.prompter.answerInput(QStringLiteral("Plan"));
    app.click(QStringLiteral("cmdNewToDo"));
    typeText(app, QStringLiteral("ab"));
    app.click(QStringLiteral("cmdSaveNote"));
    const auto messages = app.prompter.shownOfKind(QStringLiteral("message"));
    QVERIFY(!messages.isEmpty());
    QVERIFY(messages.last().text.contains(QStringLiteral("Plan")));
    QCOMPARE(app.readFile(app.notesFolder()), QByteArray("not a folder"));
    // Nothing was written, so the new item is still waiting for its save.
    QVERIFY(app.window().projectFlags().blnUnsavedItem);
}

void BadInputTest::noteThatIsAFolder_showsEmptyAndTheFolderIsNeverReplaced()
{
    TestApp app;
    QVERIFY(QDir().mkpath(app.notePath(QStringLiteral("Plan.rtf"))));
    setOrder(app, QStringLiteral("Plan"));
    app.open();
    select(app, 0);
    QCOMPARE(app.editor()->toPlainText(), QString());
    QVERIFY(app.editor()->isEnabled());
    typeText(app, QStringLiteral("abcd"));
    // Told once, without a box that stops the typing, not on every key.
    QCOMPARE(app.prompter.shownOfKind(QStringLiteral("notice")).size(), 1);
    QVERIFY(QFileInfo(app.notePath(QStringLiteral("Plan.rtf"))).isDir());
}

void BadInputTest::emptyAndBinaryNotes_showEmptyAndAreKeptBeforeTheFirstWrite()
{
    TestApp app;
    app.writeFile(app.notePath(QStringLiteral("Empty.rtf")), QByteArray());
    const QByteArray binary = binaryBytes(30000);
    app.writeFile(app.notePath(QStringLiteral("Binary.rtf")), binary);
    setOrder(app, QStringLiteral("Empty:Binary"));
    app.open();
    for (int row = 0; row < 2; ++row) {
        select(app, row);
        QCOMPARE(app.editor()->toPlainText(), QString());
        typeText(app, QStringLiteral("new"));
        typeKey(app, 'x');
    }
    QCOMPARE(app.rtfFileText(app.notePath(QStringLiteral("Empty.rtf"))), QStringLiteral("newx"));
    QCOMPARE(app.rtfFileText(app.notePath(QStringLiteral("Binary.rtf"))), QStringLiteral("newx"));
    const QStringList kept
        = QDir(app.notesFolder())
              .entryList({ QStringLiteral(".*.unreadable-*") }, QDir::Files | QDir::Hidden);
    QCOMPARE(kept.size(), 2);
    QVERIFY(kept.contains(QStringLiteral(".Binary.rtf.unreadable-1")));
    QCOMPARE(app.readFile(app.notePath(QStringLiteral(".Binary.rtf.unreadable-1"))), binary);
}

void BadInputTest::note200MBOfBinary_isRejectedAndTheWindowStaysUsable()
{
    TestApp app;
    {
        QDir().mkpath(app.notesFolder());
        QFile file(app.notePath(QStringLiteral("Huge.rtf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray block = binaryBytes(1024 * 1024);
        for (int i = 0; i < 200; ++i)
            QCOMPARE(file.write(block), qint64(block.size()));
    }
    app.writeNote(QStringLiteral("Small.rtf"), QStringLiteral("small"));
    setOrder(app, QStringLiteral("Huge:Small"));
    app.open();
    select(app, 0);
    QCOMPARE(app.editor()->toPlainText(), QString());
    select(app, 1);
    QCOMPARE(app.editor()->toPlainText(), QStringLiteral("small"));
    QCOMPARE(QFileInfo(app.notePath(QStringLiteral("Huge.rtf"))).size(), 200LL * 1024 * 1024);
}

void BadInputTest::largeNote_opensUnderAProgressBar()
{
    TestApp app;
    QString text;
    for (int i = 0; i < 40000; ++i)
        text += QStringLiteral("line %1 of a large note\n").arg(i);
    app.writeNote(QStringLiteral("Large.rtf"), text);
    app.open();
    select(app, 0);
    auto *bar = app.editor()->findChild<QProgressBar *>(QStringLiteral("barOpening"));
    QVERIFY(bar && bar->isVisible());
    QVERIFY(bar->text().startsWith(QStringLiteral("Opening note... ")));
    QVERIFY(!app.editor()->isEnabled());
    QTRY_VERIFY(!app.editor()->isOpening());
    QVERIFY(!bar->isVisible());
    QVERIFY(app.editor()->isEnabled());
    QVERIFY(app.editor()->toPlainText().startsWith(QStringLiteral("line 0 of a large note")));
}

void BadInputTest::namesNotValidTextOrWithLineBreaks_areNotListedAndStayOnDisk()
{
    TestApp app;
    QDir().mkpath(app.notesFolder());
    const QByteArray folder = QFile::encodeName(app.notesFolder());
    for (const QByteArray &name :
        { QByteArray("bad\xff\xfename.rtf"), QByteArray("two\nlines.rtf") }) {
        const int fd = ::open((folder + '/' + name).constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(fd >= 0);
        QVERIFY(::write(fd, "{\\rtf1 kept}", 12) == 12);
        ::close(fd);
    }
    app.writeNote(QStringLiteral("Good.rtf"), QStringLiteral("good"));
    MainWindow &window = app.open();
    QCOMPARE(app.listTitles(), QStringList { QStringLiteral("Good") });
    window.close();
    for (const char *name : { "bad\xff\xfename.rtf", "two\nlines.rtf" })
        QVERIFY2(::access((folder + '/' + name).constData(), F_OK) == 0, name);
}

void BadInputTest::symbolicLinks_areFollowedForReadingAndWritingAndStayLinks()
{
    TestApp app;
    QTemporaryDir elsewhere;
    const QString noteTarget = elsewhere.filePath(QStringLiteral("plan-target.rtf"));
    const QString dayTarget = elsewhere.filePath(QStringLiteral("monday-target.rtf"));
    app.writeFile(noteTarget, TestApp::rtfWithText(QStringLiteral("linked note")));
    app.writeFile(dayTarget, TestApp::rtfWithText(QStringLiteral("linked Monday")));
    QDir().mkpath(app.notesFolder());
    QVERIFY(QFile::link(noteTarget, app.notePath(QStringLiteral("Plan.rtf"))));
    QVERIFY(QFile::link(dayTarget, app.dayPath(QStringLiteral("monday.rtf"))));
    MainWindow &window = app.open();
    QCOMPARE(window.findChild<RichTextBox *>(QStringLiteral("rtfMonday"))->toPlainText(),
        QStringLiteral("linked Monday"));
    select(app, 0);
    QCOMPARE(app.editor()->toPlainText(), QStringLiteral("linked note"));
    app.editor()->moveCursor(QTextCursor::End);
    typeText(app, QStringLiteral("!!"));
    app.click(QStringLiteral("cmdSaveAllNow"));
    QVERIFY(QFileInfo(app.notePath(QStringLiteral("Plan.rtf"))).isSymLink());
    QVERIFY(QFileInfo(app.dayPath(QStringLiteral("monday.rtf"))).isSymLink());
    QCOMPARE(app.rtfFileText(noteTarget), QStringLiteral("linked note!!"));
    QCOMPARE(app.rtfFileText(dayTarget), QStringLiteral("linked Monday"));
}

void BadInputTest::unreadableNote_showsEmptyAndIsKeptBeforeTheFirstWrite()
{
    TestApp app;
    FaultyFileStore store;
    store.failReads = { QStringLiteral("Locked.rtf") }; // as a note without read permission
    app.files = &store;
    app.writeNote(QStringLiteral("Locked.rtf"), QStringLiteral("private"));
    app.open();
    select(app, 0);
    QCOMPARE(app.editor()->toPlainText(), QString());
    typeText(app, QStringLiteral("ab"));
    QCOMPARE(app.rtfFileText(app.notePath(QStringLiteral(".Locked.rtf.unreadable-1"))),
        QStringLiteral("private"));
}

void BadInputTest::readOnlyFolder_saveDaysMarksNothingAndClosingAsks()
{
    TestApp app;
    FaultyFileStore store;
    store.failAllWrites = true;
    app.files = &store;
    MainWindow &window = app.open();
    app.click(QStringLiteral("cmdSaveAllNow"));
    for (int day = 0; day < 7; ++day)
        QVERIFY(
            !window.findChild<QCheckBox *>(QStringLiteral("chkSaveDay_%1").arg(day))->isChecked());
    QVERIFY(window.isVisible());
    app.prompter.clear();
    app.prompter.answerQuestion(Prompter::Answer::No);
    window.close();
    QCOMPARE(app.quitCount, 0);
    const auto questions = app.prompter.shownOfKind(QStringLiteral("question"));
    QCOMPARE(questions.size(), 1);
    QVERIFY(questions.first().text.contains(QStringLiteral("monday.rtf")));
    QVERIFY(window.isVisible());
}

void BadInputTest::fullDisk_noteKeepsItsOldTextAndTheUserIsTold()
{
    TestApp app;
    FaultyFileStore store;
    app.files = &store;
    app.writeNote(QStringLiteral("Plan.rtf"), QStringLiteral("old text"));
    app.open();
    select(app, 0);
    store.failWrites.insert(QStringLiteral("Plan.rtf"));
    typeText(app, QStringLiteral("abcdef"));
    QCOMPARE(app.rtfFileText(app.notePath(QStringLiteral("Plan.rtf"))), QStringLiteral("old text"));
    QCOMPARE(app.prompter.shownOfKind(QStringLiteral("notice")).size(), 1);
    QVERIFY(app.find<QAbstractButton>(QStringLiteral("cmdSaveNote"))->isEnabled());
    // Space again: the next key saves the note with everything typed.
    store.failWrites.clear();
    typeText(app, QStringLiteral("gh"));
    QVERIFY(app.rtfFileText(app.notePath(QStringLiteral("Plan.rtf")))
                .startsWith(QStringLiteral("abcdefgh")));
}

QTEST_MAIN(BadInputTest)
#include "tst_badinput.moc"
