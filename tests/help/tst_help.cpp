// The help and about window as the Help menu opens it: the help file, its not-found text, the
// about text, placement, and the main window hidden while it is open and shown again afterwards.
#include "editor/RichTextBox.h"
#include "help/HelpMenu.h"
#include "help/HelpWindow.h"
#include "help/Links.h"
#include "support/TestApp.h"

#include <QFile>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QWindow>
#include <QtTest>

namespace {

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(QUILLMARK_TEST_DATA "/help/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", qPrintable(name));
    return file.readAll();
}

// What a text set with CR LF line ends looks like in the box, which keeps paragraphs.
QString asShown(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Counts the times a widget is shown.
class ShowCounter : public QObject
{
public:
    int shows = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

} // namespace

class HelpTest : public QObject
{
    Q_OBJECT
private slots:
    void helpFileIsShown();
    void missingHelpFileShowsWhereToAsk();
    void helpFileThatIsNotRtfLeavesTheBoxAlone();
    void aboutTextIsExact();
    void aboutFromTheMenuReplacesTheHelpText();
    void showHelpBringsTheHelpBack();
    void everyOpeningReadsTheFileAgain();
    void opensAtTheMainWindowsCorner();
    void mainWindowReturnsHoweverTheHelpCloses_data();
    void mainWindowReturnsHoweverTheHelpCloses();
    void windowCannotBeResizedMinimisedOrMaximised();
    void f1InTheProjectEditorOpensHelp();
    void realCloseWhileHelpIsOpenEndsWithoutTheMainWindow();

private:
    static HelpWindow *help(TestApp &app) { return app.window().helpMenu().helpWindow(); }
    static QString shown(TestApp &app) { return help(app)->textBox()->toPlainText(); }
    void writeHelp(TestApp &app, const QByteArray &contents)
    {
        app.writeFile(app.folder() + QStringLiteral("/help.rtf"), contents);
    }
};

void HelpTest::helpFileIsShown()
{
    TestApp app;
    writeHelp(app, fixture(QStringLiteral("formatted.rtf")));
    app.open();
    app.trigger(QStringLiteral("mnuHelpHelpFile"));

    QVERIFY(help(app));
    QVERIFY(help(app)->isVisible());
    QCOMPARE(shown(app), QStringLiteral("Garden shed\nOrder the timber before Friday."));
    // Loaded as RTF, not shown as its source text: the heading keeps its bold.
    const QTextBlock heading = help(app)->textBox()->document()->firstBlock();
    QVERIFY(heading.begin().fragment().charFormat().font().bold());
    QVERIFY(!app.window().isVisible());
    QVERIFY(app.prompter.shown().isEmpty());
}

void HelpTest::missingHelpFileShowsWhereToAsk()
{
    const QString expected = QStringLiteral("Help file not found.\r\n\r\nPlease see ")
        + Links::siteRoot() + QStringLiteral("/ for assistance.");
    QCOMPARE(HelpWindow::notFoundText(), expected);

    TestApp app;
    app.open();
    app.trigger(QStringLiteral("mnuHelpHelpFile"));
    QVERIFY(help(app));
    QCOMPARE(shown(app), asShown(expected));
    QCOMPARE(help(app)->textBox()->document()->blockCount(), 3);
    // No message box on top of it.
    QVERIFY(app.prompter.shown().isEmpty());
}

void HelpTest::helpFileThatIsNotRtfLeavesTheBoxAlone()
{
    TestApp app;
    writeHelp(app, fixture(QStringLiteral("plain.txt")));
    app.open();
    app.trigger(QStringLiteral("mnuHelpHelpFile"));
    QVERIFY(help(app));
    // Neither the file's text nor the not-found text: the box stays as it opened.
    QCOMPARE(shown(app), QString());

    help(app)->findChild<QPushButton *>(QStringLiteral("cmdAbout"))->click();
    help(app)->findChild<QPushButton *>(QStringLiteral("cmdHelp"))->click();
    QCOMPARE(shown(app), asShown(HelpWindow::aboutText()));
    QVERIFY(app.prompter.shown().isEmpty());
}

void HelpTest::aboutTextIsExact()
{
    const QString crlf = QStringLiteral("\r\n");
    const QString expected = QStringLiteral("Application by: Vennick") + crlf
        + QStringLiteral("Name: Quillmark") + crlf
        + QStringLiteral("Purpose: Easily track your 'todo' projects, tasks, and keep daily notes.")
        + crlf + crlf + QStringLiteral("Online: ") + QUrl(Links::siteRoot()).host() + crlf
        + QStringLiteral("Support: ") + Links::siteRoot() + QStringLiteral("/supportform.php")
        + crlf + crlf;
    QCOMPARE(HelpWindow::aboutText(), expected);

    // Seven lines, each ending in CR LF, and no bare line feed anywhere.
    const QStringList lines = HelpWindow::aboutText().split(crlf);
    QCOMPARE(lines.size(), 8);
    QCOMPARE(lines.last(), QString());
    QVERIFY(!HelpWindow::aboutText().remove(crlf).contains(QLatin1Char('\n')));
    QVERIFY(!HelpWindow::aboutText().remove(crlf).contains(QLatin1Char('\r')));
    QCOMPARE(lines.at(4), QStringLiteral("Online: www.vennick.example"));
}

void HelpTest::aboutFromTheMenuReplacesTheHelpText()
{
    TestApp app;
    // The help file opens with a large bold heading; the about text must not take its format.
    writeHelp(app, fixture(QStringLiteral("formatted.rtf")));
    app.open();
    app.trigger(QStringLiteral("mnuHelpAbout"));

    QVERIFY(help(app));
    QVERIFY(help(app)->isVisible());
    QVERIFY(!app.window().isVisible());
    RichTextBox *box = help(app)->textBox();
    QCOMPARE(box->toPlainText(), asShown(HelpWindow::aboutText()));
    QCOMPARE(box->document()->blockCount(), 8);

    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QFont font = it.fragment().charFormat().font();
            QVERIFY2(!font.bold(), qPrintable(it.fragment().text()));
            QCOMPARE(font.pointSizeF(), box->font().pointSizeF());
            QCOMPARE(font.family(), box->font().family());
        }
    }
}

void HelpTest::showHelpBringsTheHelpBack()
{
    TestApp app;
    writeHelp(app, fixture(QStringLiteral("formatted.rtf")));
    app.open();
    app.trigger(QStringLiteral("mnuHelpHelpFile"));
    const QString helpHtml = help(app)->textBox()->toHtml();

    auto *about = help(app)->findChild<QPushButton *>(QStringLiteral("cmdAbout"));
    auto *showHelp = help(app)->findChild<QPushButton *>(QStringLiteral("cmdHelp"));
    QVERIFY(about && showHelp);
    about->click();
    QCOMPARE(shown(app), asShown(HelpWindow::aboutText()));
    showHelp->click();
    QCOMPARE(shown(app), QStringLiteral("Garden shed\nOrder the timber before Friday."));
    QCOMPARE(help(app)->textBox()->toHtml(), helpHtml);
    showHelp->click();
    QCOMPARE(help(app)->textBox()->toHtml(), helpHtml);

    // Without a help file "Show Help" brings the not-found text back instead.
    QFile::remove(app.folder() + QStringLiteral("/help.rtf"));
    about->click();
    showHelp->click();
    QCOMPARE(shown(app), asShown(HelpWindow::notFoundText()));
}

void HelpTest::everyOpeningReadsTheFileAgain()
{
    TestApp app;
    writeHelp(app, fixture(QStringLiteral("formatted.rtf")));
    app.open();
    app.trigger(QStringLiteral("mnuHelpHelpFile"));
    QPointer<HelpWindow> first = help(app);
    first->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
    QTRY_VERIFY(!first);

    writeHelp(app, fixture(QStringLiteral("changed.rtf")));
    app.trigger(QStringLiteral("mnuHelpHelpFile"));
    QVERIFY(help(app));
    QCOMPARE(shown(app), QStringLiteral("Second edition of the help."));
    help(app)->cmdOK_Click();

    QFile::remove(app.folder() + QStringLiteral("/help.rtf"));
    app.trigger(QStringLiteral("mnuHelpHelpFile"));
    QCOMPARE(shown(app), asShown(HelpWindow::notFoundText()));
}

void HelpTest::opensAtTheMainWindowsCorner()
{
    TestApp app;
    app.open();
    app.window().move(140, 90);
    QTRY_COMPARE(app.window().pos(), QPoint(140, 90));
    app.trigger(QStringLiteral("mnuHelpHelpFile"));
    QVERIFY(help(app));
    QTRY_COMPARE(help(app)->pos(), QPoint(140, 90));

    // Wherever the help window was moved to, the next opening puts it on the main window's corner.
    help(app)->move(400, 300);
    QTRY_COMPARE(help(app)->pos(), QPoint(400, 300));
    help(app)->cmdOK_Click();
    app.window().move(220, 150);
    QTRY_COMPARE(app.window().pos(), QPoint(220, 150));
    app.trigger(QStringLiteral("mnuHelpHelpFile"));
    QTRY_COMPARE(help(app)->pos(), QPoint(220, 150));
    // The main window stays where it was while hidden.
    help(app)->cmdOK_Click();
    QCOMPARE(app.window().pos(), QPoint(220, 150));
}

void HelpTest::mainWindowReturnsHoweverTheHelpCloses_data()
{
    QTest::addColumn<bool>("byCloseBox");
    QTest::newRow("OK") << false;
    QTest::newRow("close box") << true;
}

void HelpTest::mainWindowReturnsHoweverTheHelpCloses()
{
    QFETCH(bool, byCloseBox);
    TestApp app;
    app.open();
    QVERIFY(app.window().isVisible());
    app.trigger(QStringLiteral("mnuHelpHelpFile"));
    QPointer<HelpWindow> window = help(app);
    QVERIFY(window && window->isVisible());
    QVERIFY(!app.window().isVisible());

    if (byCloseBox)
        window->windowHandle()->close(); // the desktop's close request, as from the close box
    else
        window->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();

    QVERIFY(app.window().isVisible());
    QCOMPARE(app.window().helpMenu().helpWindow(), nullptr);
    QTRY_VERIFY(!window); // discarded, not only hidden
    QCOMPARE(app.quitCount, 0);
}

void HelpTest::windowCannotBeResizedMinimisedOrMaximised()
{
    TestApp app;
    app.open();
    app.trigger(QStringLiteral("mnuHelpHelpFile"));
    HelpWindow *window = help(app);
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Help & About This Software"));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QCOMPARE(window->size(), window->minimumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(window->isWindow());
    QCOMPARE(window->windowModality(), Qt::NonModal);
}

void HelpTest::f1InTheProjectEditorOpensHelp()
{
    TestApp app;
    writeHelp(app, fixture(QStringLiteral("formatted.rtf")));
    MainWindow &main = app.open();
    main.move(60, 40);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    RichTextBox *editor = app.editor();
    QVERIFY(editor);
    editor->setEnabled(true);
    editor->setFocus();
    QTRY_VERIFY(editor->hasFocus());

    QTest::keyClick(editor, Qt::Key_F1);
    QVERIFY(help(app));
    QVERIFY(help(app)->isVisible());
    QCOMPARE(shown(app), QStringLiteral("Garden shed\nOrder the timber before Friday."));
    QTRY_COMPARE(help(app)->pos(), QPoint(60, 40));
    QVERIFY(!main.isVisible());
    // F1 typed nothing into the note.
    QCOMPARE(editor->toPlainText(), QString());
}

void HelpTest::realCloseWhileHelpIsOpenEndsWithoutTheMainWindow()
{
    TestApp app;
    app.open();
    app.trigger(QStringLiteral("mnuHelpHelpFile"));
    QPointer<HelpWindow> window = help(app);
    QVERIFY(window);
    QSignalSpy unloads(window.data(), &HelpWindow::Form_Unload);
    ShowCounter counter;
    app.window().installEventFilter(&counter);

    // A close request from the desktop (a logout, say) reaches the hidden main window.
    app.window().windowHandle()->close();

    QCOMPARE(app.quitCount, 1);
    QVERIFY(!window); // gone at once, before the program ends
    QCOMPARE(unloads.count(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCOMPARE(counter.shows, 0);
    QVERIFY(!app.window().isVisible());
}

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
