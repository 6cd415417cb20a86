// The window follows what another program (a sync tool) does to its folders while it runs: a note
// or day file changed outside is shown at once when its box holds no edit (what the box showed kept
// as an earlier version), and written over at once when it does (the other version kept beside the
// file); the program's own writes are not taken for outside changes; note files that appear are
// listed, and one that goes stays listed.
#include "editor/RichTextBox.h"
#include "history/NoteHistory.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/OutsideChanges.h"
#include "projects/ProjectPanel.h"
#include "storage/SettingsKeys.h"
#include "support/TestApp.h"

#include <QDir>
#include <QListWidget>
#include <QTabWidget>
#include <QtTest>

namespace {
// The box of a note of either kind, its file, and the window open with it shown.
struct Shown
{
    RichTextBox *box = nullptr;
    QString path;
};

Shown openWith(TestApp &app, const QString &kind, const QString &text)
{
    if (kind == QLatin1String("project")) {
        app.writeNote(QStringLiteral("Plan.rtf"), text);
        app.open();
        app.list()->setCurrentRow(0);
        return { app.editor(), app.notePath(QStringLiteral("Plan.rtf")) };
    }
    const QString path = app.dayPath(QStringLiteral("tuesday.rtf"));
    app.writeFile(path, TestApp::rtfWithText(text));
    app.open();
    app.find<QTabWidget>(QStringLiteral("tabDays"))->setCurrentIndex(1);
    return { app.find<RichTextBox>(QStringLiteral("rtfTuesday")), path };
}

QStringList conflictsBeside(const QString &path)
{
    const QFileInfo info(path);
    return QDir(info.absolutePath())
        .entryList({ QLatin1Char('.') + info.fileName() + QStringLiteral(".conflict-*") },
            QDir::Files | QDir::Hidden);
}
} // namespace

class SyncedFolderTest : public QObject
{
    Q_OBJECT
private slots:
    void boxWithoutEditShowsTheChangedFile_data() { kinds(); }
    void boxWithoutEditShowsTheChangedFile();
    void boxWithAnEditKeepsTheOtherVersionBeside_data() { kinds(); }
    void boxWithAnEditKeepsTheOtherVersionBeside();
    void ownWritesAreNotTakenForOutsideChanges();
    void noteFilesAppearAndOneThatGoesStaysListed();

private:
    static void kinds()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("project note") << QStringLiteral("project");
        QTest::newRow("day note") << QStringLiteral("day");
    }
};

void SyncedFolderTest::boxWithoutEditShowsTheChangedFile()
{
    QFETCH(QString, kind);
    TestApp app;
    app.watchFolders = true;
    const Shown shown = openWith(app, kind, QStringLiteral("Buy milk and bread"));
    shown.box->setCaretPosition(9);

    app.writeFile(shown.path, TestApp::rtfWithText(QStringLiteral("Buy milk, bread and tea")));
    app.window().outsideChanges()->lookNow();

    QCOMPARE(shown.box->toPlainText(), QStringLiteral("Buy milk, bread and tea"));
    QCOMPARE(shown.box->textCursor().position(), 9);
    const QList<NoteHistory::Entry> versions = app.window().history().entries(shown.path);
    QCOMPARE(versions.size(), 1);
    QCOMPARE(app.rtfFileText(versions.first().path), QStringLiteral("Buy milk and bread"));
    QVERIFY(app.prompter.shownOfKind(QStringLiteral("notice")).isEmpty());
    // Shown anew, it is not an edit: leaving it writes nothing back.
    const QByteArray theirs = app.readFile(shown.path);
    if (kind == QLatin1String("project"))
        app.window().projects().flushPendingNote();
    else
        app.find<QTabWidget>(QStringLiteral("tabDays"))->setCurrentIndex(2);
    QCOMPARE(app.readFile(shown.path), theirs);
}

void SyncedFolderTest::boxWithAnEditKeepsTheOtherVersionBeside()
{
    QFETCH(QString, kind);
    TestApp app;
    app.watchFolders = true;
    const Shown shown = openWith(app, kind, QStringLiteral("as loaded"));
    // One key: typed, not yet written.
    QTest::keyClicks(shown.box, QStringLiteral("x"));
    app.writeFile(shown.path, TestApp::rtfWithText(QStringLiteral("written on the laptop")));

    app.window().outsideChanges()->lookNow();

    QCOMPARE(app.rtfFileText(shown.path), shown.box->toPlainText());
    const QStringList kept = conflictsBeside(shown.path);
    QCOMPARE(kept.size(), 1);
    QCOMPARE(app.rtfFileText(QFileInfo(shown.path).absolutePath() + QLatin1Char('/') + kept[0]),
        QStringLiteral("written on the laptop"));
    QCOMPARE(app.prompter.shownOfKind(QStringLiteral("notice")).size(), 1);
}

void SyncedFolderTest::ownWritesAreNotTakenForOutsideChanges()
{
    TestApp app;
    app.watchFolders = true;
    app.backgroundWrites = true;
    const Shown shown = openWith(app, QStringLiteral("project"), QStringLiteral("as loaded"));
    const QTextDocument *document = shown.box->document();
    for (int i = 0; i < 5; ++i) {
        QTest::keyClicks(shown.box, QStringLiteral("ab"));
        app.window().outsideChanges()->lookNow();
    }
    app.window().projects().flushPendingNote();
    app.window().outsideChanges()->lookNow();

    // Never loaded anew: the same document, no version kept, nothing told.
    QCOMPARE(shown.box->document(), document);
    QVERIFY(app.window().history().entries(shown.path).size() <= 1);
    QVERIFY(conflictsBeside(shown.path).isEmpty());
    QVERIFY(app.prompter.shownOfKind(QStringLiteral("notice")).isEmpty());
}

void SyncedFolderTest::noteFilesAppearAndOneThatGoesStaysListed()
{
    TestApp app;
    app.watchFolders = true;
    openWith(app, QStringLiteral("project"), QStringLiteral("Plan's own text"));

    // Left to the folder's watch, not asked.
    app.writeNote(QStringLiteral("Holiday.rtf"), QStringLiteral("from the laptop"));
    QTRY_COMPARE(app.listTitles(), (QStringList { "Plan", "Holiday" }));
    QVERIFY(app.settings
                ->get(SettingsKeys::projectOrder.section, SettingsKeys::projectOrder.key, QString())
                .contains(QStringLiteral("Holiday")));

    QVERIFY(QFile::remove(app.notePath(QStringLiteral("Plan.rtf"))));
    app.window().outsideChanges()->lookNow();
    QCOMPARE(app.listTitles(), (QStringList { "Plan", "Holiday" }));
    QCOMPARE(app.editor()->toPlainText(), QStringLiteral("Plan's own text"));
}

QTEST_MAIN(SyncedFolderTest)
#include "tst_syncedfolder.moc"
