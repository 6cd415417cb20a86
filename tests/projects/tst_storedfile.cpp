// "View File" with "Stored File": the open-file dialog, the remembered path and the tick that skips
// the dialog.
#include "platform/QtPrompter.h"
#include "projects/StoredFileLink.h"
#include "support/TestApp.h"

#include <QCheckBox>
#include <QDir>
#include <QRegularExpression>
#include <QtTest>

namespace {
const QString section = QStringLiteral("salesfile");
const QString key = QStringLiteral("loc");
const QString absent = QStringLiteral("<absent>");
} // namespace

class StoredFileTest : public QObject
{
    Q_OBJECT
private slots:
    void dialogIsTheSpreadsheetDialog();
    void firstUseAsksOpensAndRemembers();
    void tickedWithNothingStoredAsks();
    void tickedWithAPathOpensItAtOnce();
    void untickedWithAPathAsksAndReplacesIt();
    void greyedTickAsksLikeNoTick();
    void cancellingLeavesTheStoredPathAlone();
    void afterARestartTheTickIsGoneButThePathStays();
    void allFilesShowsFilesWithoutADot();
    void captionReadsWithNoPictureBehindIt();

private:
    static QString stored(TestApp &app) { return app.settings->get(section, key, absent); }
    static QCheckBox *chkMem(TestApp &app) { return app.find<QCheckBox>(QStringLiteral("chkMem")); }
    static int dialogs(TestApp &app)
    {
        return app.prompter.shownOfKind(QStringLiteral("openFile")).size();
    }
};

void StoredFileTest::dialogIsTheSpreadsheetDialog()
{
    TestApp app;
    app.open();
    app.click(QStringLiteral("cmdLeads"));
    const auto shown = app.prompter.shownOfKind(QStringLiteral("openFile"));
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.constFirst().text, QStringLiteral("Open"));
    QCOMPARE(
        shown.constFirst().extra, QStringLiteral("Excel Spreadsheet|*.xls|All Files (*.*)|*.*"));
}

void StoredFileTest::firstUseAsksOpensAndRemembers()
{
    TestApp app;
    app.open();
    QVERIFY(chkMem(app));
    QCOMPARE(chkMem(app)->checkState(), Qt::Unchecked);
    const QString path = QStringLiteral("/home/ann/Sheets/leads 2026.xls");
    app.prompter.answerOpenFile(path);

    app.click(QStringLiteral("cmdLeads"));
    QCOMPARE(dialogs(app), 1);
    QCOMPARE(app.shell.opened, QList<QUrl> { QUrl::fromLocalFile(path) });
    QCOMPARE(stored(app), path);
    // Opening a document leaves the main window as it was and shows no message.
    QVERIFY(app.window().isVisible());
    QCOMPARE(app.prompter.shown().size(), 1);
}

void StoredFileTest::tickedWithNothingStoredAsks()
{
    TestApp app;
    app.open();
    chkMem(app)->setChecked(true);
    const QString path = QStringLiteral("/home/ann/hours.ods");
    app.prompter.answerOpenFile(path);

    app.click(QStringLiteral("cmdLeads"));
    QCOMPARE(dialogs(app), 1);
    QCOMPARE(app.shell.opened, QList<QUrl> { QUrl::fromLocalFile(path) });
    QCOMPARE(stored(app), path);

    // "na" written by hand reads as nothing stored, too.
    app.settings->save(section, key, QStringLiteral("na"));
    app.prompter.answerOpenFile(path);
    app.click(QStringLiteral("cmdLeads"));
    QCOMPARE(dialogs(app), 2);
}

void StoredFileTest::tickedWithAPathOpensItAtOnce()
{
    TestApp app;
    // The stored file is not looked for: the desktop is asked even for one that has gone.
    const QString path = app.folder() + QStringLiteral("/gone/leads.xls");
    app.settings->save(section, key, path);
    app.open();
    chkMem(app)->setChecked(true);

    app.click(QStringLiteral("cmdLeads"));
    QCOMPARE(dialogs(app), 0);
    QCOMPARE(app.shell.opened, QList<QUrl> { QUrl::fromLocalFile(path) });
    QCOMPARE(stored(app), path);

    app.shell.answer = false; // the desktop cannot open it: nothing is said, the next press works
    app.click(QStringLiteral("cmdLeads"));
    QCOMPARE(app.shell.opened.size(), 2);
    QVERIFY(app.prompter.shown().isEmpty());
}

void StoredFileTest::untickedWithAPathAsksAndReplacesIt()
{
    TestApp app;
    app.settings->save(section, key, QStringLiteral("/home/ann/old.xls"));
    app.open();
    const QString path = QStringLiteral("/home/ann/new.xls");
    app.prompter.answerOpenFile(path);

    app.click(QStringLiteral("cmdLeads"));
    QCOMPARE(dialogs(app), 1);
    QCOMPARE(app.shell.opened, QList<QUrl> { QUrl::fromLocalFile(path) });
    QCOMPARE(stored(app), path);

    // Ticked now, the new choice opens without a dialog.
    chkMem(app)->setChecked(true);
    app.click(QStringLiteral("cmdLeads"));
    QCOMPARE(dialogs(app), 1);
    QCOMPARE(app.shell.opened.size(), 2);
    QCOMPARE(app.shell.opened.at(1), QUrl::fromLocalFile(path));
}

void StoredFileTest::greyedTickAsksLikeNoTick()
{
    TestApp app;
    app.settings->save(section, key, QStringLiteral("/home/ann/old.xls"));
    app.open();
    chkMem(app)->setTristate(true);
    chkMem(app)->setCheckState(Qt::PartiallyChecked);
    app.click(QStringLiteral("cmdLeads"));
    QCOMPARE(dialogs(app), 1);
    QVERIFY(app.shell.opened.isEmpty());
}

void StoredFileTest::cancellingLeavesTheStoredPathAlone()
{
    {
        TestApp app;
        app.open();
        app.click(QStringLiteral("cmdLeads")); // nothing scripted: the dialog is cancelled
        QCOMPARE(dialogs(app), 1);
        QVERIFY(app.shell.opened.isEmpty());
        QCOMPARE(stored(app), absent);
    }
    TestApp app;
    app.settings->save(section, key, QStringLiteral("/home/ann/old.xls"));
    app.open();
    app.click(QStringLiteral("cmdLeads"));
    QCOMPARE(dialogs(app), 1);
    QVERIFY(app.shell.opened.isEmpty());
    QCOMPARE(stored(app), QStringLiteral("/home/ann/old.xls"));
    QCOMPARE(app.prompter.shown().size(), 1); // no message after the cancel
}

void StoredFileTest::afterARestartTheTickIsGoneButThePathStays()
{
    TestApp app;
    app.open();
    chkMem(app)->setChecked(true);
    const QString path = QStringLiteral("/home/ann/leads.xls");
    app.prompter.answerOpenFile(path);
    app.click(QStringLiteral("cmdLeads"));
    QCOMPARE(stored(app), path);

    app.window().close();
    QCOMPARE(app.quitCount, 1);

    // The next run: a new main window over the same settings.
    MainWindow restarted(app.services());
    restarted.showWindow();
    auto *tick = restarted.findChild<QCheckBox *>(QStringLiteral("chkMem"));
    QVERIFY(tick);
    QCOMPARE(tick->checkState(), Qt::Unchecked);
    QCOMPARE(stored(app), path);

    app.shell.opened.clear();
    app.prompter.clear();
    tick->setChecked(true);
    restarted.findChild<QAbstractButton *>(QStringLiteral("cmdLeads"))->click();
    QCOMPARE(dialogs(app), 0);
    QCOMPARE(app.shell.opened, QList<QUrl> { QUrl::fromLocalFile(path) });
}

// The real dialog is not shown in a test; what it lists follows from the filters Qt is given.
void StoredFileTest::allFilesShowsFilesWithoutADot()
{
    QTemporaryDir dir;
    for (const QString &name : { QStringLiteral("leads.xls"), QStringLiteral("hours.ods"),
             QStringLiteral("README"), QStringLiteral("archive.tar.gz") }) {
        QFile file(dir.path() + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QStringList filters = QtPrompter::qtFilters(StoredFileLink::dialogFilter());
    QCOMPARE(filters.size(), 2);
    QVERIFY2(
        filters.at(0).startsWith(QLatin1String("Excel Spreadsheet")), qPrintable(filters.at(0)));
    QVERIFY2(filters.at(1).startsWith(QLatin1String("All Files")), qPrintable(filters.at(1)));
    // The dialog hides the patterns and shows the names as written.
    QCOMPARE(filters.at(1), QStringLiteral("All Files (*.*) (*)"));

    // The patterns inside the last parentheses, as QFileDialog reads them.
    static const QRegularExpression patternsOf(QStringLiteral("\\(([^()]*)\\)$"));
    auto listed = [&](const QString &filter) {
        const QRegularExpressionMatch match = patternsOf.match(filter);
        QDir folder(dir.path());
        QStringList names = folder.entryList(
            match.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts), QDir::Files);
        names.sort();
        return names;
    };
    QCOMPARE(listed(filters.at(0)), QStringList { QStringLiteral("leads.xls") });
    QCOMPARE(listed(filters.at(1)),
        (QStringList { QStringLiteral("README"), QStringLiteral("archive.tar.gz"),
            QStringLiteral("hours.ods"), QStringLiteral("leads.xls") }));
}

// The check box lies over the button's upper face: nothing of the button's picture shows through.
void StoredFileTest::captionReadsWithNoPictureBehindIt()
{
    TestApp app;
    app.open();
    QCheckBox *box = chkMem(app);
    const QImage face = box->parentWidget()->grab(box->geometry()).toImage();
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x) {
            const QColor colour = face.pixelColor(x, y);
            QVERIFY2(colour.saturation() < 60, qPrintable(colour.name()));
        }
}

QTEST_MAIN(StoredFileTest)
#include "tst_storedfile.moc"
