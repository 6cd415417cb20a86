// The maker's web links and Goto_URL: what a target opens as, the two Help menu pages, and a
// desktop that cannot open the target.
#include "help/HelpMenu.h"
#include "help/Links.h"
#include "support/TestApp.h"

#include <QLoggingCategory>
#include <QtTest>

namespace {

QStringList logged;
QtMessageHandler previousHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    logged.append(
        QString::fromLatin1(context.category ? context.category : "") + QLatin1Char(' ') + message);
    Q_UNUSED(type);
}

QLoggingCategory::CategoryFilter previousFilter = nullptr;

void helpDebugOn(QLoggingCategory *category)
{
    if (previousFilter)
        previousFilter(category);
    if (qstrcmp(category->categoryName(), "quillmark.help") == 0)
        category->setEnabled(QtDebugMsg, true);
}

} // namespace

class LinksTest : public QObject
{
    Q_OBJECT
private slots:
    void siteRootFormsTheAddresses();
    void targetOpensAsUrlOrFile_data();
    void targetOpensAsUrlOrFile();
    void webLinksOpenTheExactPages_data();
    void webLinksOpenTheExactPages();
    void gotoUrlOpensALocalDocument();
    void failureOnlyReachesTheDebugLog();
};

void LinksTest::siteRootFormsTheAddresses()
{
    QCOMPARE(Links::siteRoot(), QStringLiteral("https://www.vennick.example"));
    QCOMPARE(Links::siteHost(), QStringLiteral("www.vennick.example"));
    QCOMPARE(Links::homePage(), QStringLiteral("https://www.vennick.example/"));
    QCOMPARE(Links::otherProducts(), QStringLiteral("https://www.vennick.example/pmdown.php"));
}

void LinksTest::targetOpensAsUrlOrFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QUrl>("url");
    QTest::newRow("web page") << "https://www.vennick.example/pmdown.php"
                              << QUrl(QStringLiteral("https://www.vennick.example/pmdown.php"));
    QTest::newRow("mail") << "mailto:someone@vennick.example"
                          << QUrl(QStringLiteral("mailto:someone@vennick.example"));
    QTest::newRow("file URL") << "file:///home/ann/leads.xls"
                              << QUrl::fromLocalFile(QStringLiteral("/home/ann/leads.xls"));
    // Characters that mean something in a URL stay part of the file name.
    QTest::newRow("path with space, hash and question mark")
        << "/home/ann/My Sheets/leads #3?.xls"
        << QUrl::fromLocalFile(QStringLiteral("/home/ann/My Sheets/leads #3?.xls"));
    QTest::newRow("path with a percent sign")
        << "/home/ann/50%.xls" << QUrl::fromLocalFile(QStringLiteral("/home/ann/50%.xls"));
    QTest::newRow("relative path")
        << "sheets/leads.xls" << QUrl::fromLocalFile(QStringLiteral("sheets/leads.xls"));
    QTest::newRow("drive letter") << "C:/Sheets/leads.xls"
                                  << QUrl::fromLocalFile(QStringLiteral("C:/Sheets/leads.xls"));
    QTest::newRow("looks like an option")
        << "--help" << QUrl::fromLocalFile(QStringLiteral("--help"));
}

void LinksTest::targetOpensAsUrlOrFile()
{
    QFETCH(QString, target);
    QFETCH(QUrl, url);
    QCOMPARE(Links::targetUrl(target), url);
    // A local path comes back unchanged from the URL the desktop is given.
    if (!target.contains(QLatin1Char(':')))
        QCOMPARE(Links::targetUrl(target).toLocalFile(), target);
}

void LinksTest::webLinksOpenTheExactPages_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("address");
    QTest::newRow("Visit Vennick Online") << "mnuHelpOnline"
                                          << "https://www.vennick.example/";
    QTest::newRow("Other Products") << "mnuHelpOtherProducts"
                                    << "https://www.vennick.example/pmdown.php";
}

void LinksTest::webLinksOpenTheExactPages()
{
    QFETCH(QString, action);
    QFETCH(QString, address);
    TestApp app;
    MainWindow &window = app.open();
    window.move(80, 70);
    QTRY_COMPARE(window.pos(), QPoint(80, 70));

    app.trigger(action);
    QCOMPARE(app.shell.opened.size(), 1);
    QCOMPARE(app.shell.opened.constFirst().toString(), address);
    // The main window stays as it was; no help window opens.
    QVERIFY(window.isVisible());
    QCOMPARE(window.pos(), QPoint(80, 70));
    QCOMPARE(window.helpMenu().helpWindow(), nullptr);
    QVERIFY(app.prompter.shown().isEmpty());

    // The entry can be chosen again, also when the desktop could not open the page.
    app.shell.answer = false;
    app.trigger(action);
    QCOMPARE(app.shell.opened.size(), 2);
    QVERIFY(window.isVisible());
    QVERIFY(app.prompter.shown().isEmpty());
}

void LinksTest::gotoUrlOpensALocalDocument()
{
    TestApp app;
    MainWindow &window = app.open();
    const QString path = app.folder() + QStringLiteral("/Leads & hours #2.xls");
    window.Goto_URL(path);
    window.Goto_URL(Links::homePage());
    QCOMPARE(app.shell.opened.size(), 2);
    QVERIFY(app.shell.opened.at(0).isLocalFile());
    QCOMPARE(app.shell.opened.at(0).toLocalFile(), path);
    QCOMPARE(app.shell.opened.at(1), QUrl(Links::homePage()));
}

void LinksTest::failureOnlyReachesTheDebugLog()
{
    TestApp app;
    MainWindow &window = app.open();
    app.shell.answer = false;
    logged.clear();
    previousHandler = qInstallMessageHandler(recordMessage);

    // Off by default: nothing at all is said.
    window.Goto_URL(QStringLiteral("/nowhere/leads.xls"));
    QCOMPARE(logged, QStringList());

    // Turned on, the failure names the target.
    previousFilter = QLoggingCategory::installFilter(helpDebugOn);
    window.Goto_URL(QStringLiteral("/nowhere/leads.xls"));
    QLoggingCategory::installFilter(previousFilter);
    qInstallMessageHandler(previousHandler);

    QCOMPARE(logged.size(), 1);
    QVERIFY2(logged.constFirst().startsWith(QLatin1String("quillmark.help ")),
        qPrintable(logged.constFirst()));
    QVERIFY2(logged.constFirst().contains(QLatin1String("/nowhere/leads.xls")),
        qPrintable(logged.constFirst()));
    QVERIFY(app.prompter.shown().isEmpty());
    QVERIFY(window.isVisible());
}

QTEST_MAIN(LinksTest)
#include "tst_links.moc"
