// The note boxes inside the real window: the window's own keys still reach their menu entries from
// a box and from its find field, Ctrl+click hands web and mail links to the desktop and nothing
// else, and the help text offers only what a read-only text can do.
#include "editor/FindBar.h"
#include "editor/NoteContextMenu.h"
#include "editor/RichTextBox.h"
#include "help/HelpMenu.h"
#include "help/HelpWindow.h"
#include "mainwindow/MainWindow.h"
#include "support/TestApp.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

namespace {
// Today in TestApp is a Wednesday: its box is the one shown.
RichTextBox *focusedDayBox(TestApp &app)
{
    MainWindow &window = app.open();
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window))
        return nullptr;
    auto *box = app.find<RichTextBox>(QStringLiteral("rtfWednesday"));
    box->setFocus();
    return box;
}

QPoint viewportPointOf(RichTextBox *box, int position)
{
    QTextCursor cursor(box->document());
    cursor.setPosition(position);
    return box->cursorRect(cursor).center() + QPoint(2, 0);
}

void sendMove(QWidget *viewport, const QPoint &pos, Qt::KeyboardModifiers modifiers)
{
    QMouseEvent move(
        QEvent::MouseMove, pos, viewport->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, modifiers);
    QApplication::sendEvent(viewport, &move);
}
} // namespace

class EditingWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void ctrlSSavesTheDaysFromInsideABox();
    void ctrlEExitsAndNeverCentres();
    void windowKeysReachMenusFromTheFindField_data();
    void windowKeysReachMenusFromTheFindField();
    void ctrlClickOpensWebAndMailLinksOnly_data();
    void ctrlClickOpensWebAndMailLinksOnly();
    void plainClickOnALinkOnlyMovesTheCaret();
    void pointerShowsALinkWhileCtrlIsHeld();
    void helpTextOffersTheReadOnlyActions();
};

void EditingWindowTest::ctrlSSavesTheDaysFromInsideABox()
{
    TestApp app;
    RichTextBox *box = focusedDayBox(app);
    QVERIFY(box);
    QTest::keyClicks(box, "bring the plans");
    QTest::keyClick(box, Qt::Key_B, Qt::ControlModifier); // a box key, then the window's
    QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(app.rtfFileText(app.dayPath("wednesday.rtf")), QStringLiteral("bring the plans"));
    QCOMPARE(app.quitCount, 0);
    QVERIFY(app.window().isVisible());
}

void EditingWindowTest::ctrlEExitsAndNeverCentres()
{
    TestApp app;
    RichTextBox *box = focusedDayBox(app);
    QVERIFY(box);
    QTest::keyClicks(box, "left as it is");
    QTest::keyClick(box, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(app.quitCount, 1);
    QCOMPARE(box->document()->firstBlock().blockFormat().alignment() & Qt::AlignHCenter,
        Qt::Alignment());
    // The day was written by the close, uncentred.
    RichTextBox reread;
    QVERIFY(reread.loadFile(app.dayPath("wednesday.rtf")));
    QCOMPARE(reread.toPlainText(), QStringLiteral("left as it is"));
    QCOMPARE(reread.document()->firstBlock().blockFormat().alignment() & Qt::AlignHCenter,
        Qt::Alignment());
}

void EditingWindowTest::windowKeysReachMenusFromTheFindField_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("action");
    QTest::newRow("Ctrl+S") << int(Qt::Key_S) << int(Qt::ControlModifier) << "mnuSave";
    QTest::newRow("Ctrl+E") << int(Qt::Key_E) << int(Qt::ControlModifier) << "mnuClose";
    QTest::newRow("F1") << int(Qt::Key_F1) << int(Qt::NoModifier) << "mnuHelpHelpFile";
}

void EditingWindowTest::windowKeysReachMenusFromTheFindField()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, action);
    TestApp app;
    RichTextBox *box = focusedDayBox(app);
    QVERIFY(box);
    QTest::keyClick(box, Qt::Key_F, Qt::ControlModifier);
    QLineEdit *field = box->findBar()->field();
    QVERIFY(field->hasFocus());
    QSignalSpy triggered(app.find<QAction>(action), &QAction::triggered);
    QTest::keyClick(field, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(triggered.count(), 1);
}

void EditingWindowTest::ctrlClickOpensWebAndMailLinksOnly_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<bool>("opens");
    QTest::newRow("https") << "https://example.org/plans?week=2" << true;
    QTest::newRow("http") << "http://example.org/" << true;
    QTest::newRow("mailto") << "mailto:someone@example.org" << true;
    QTest::newRow("upper-case scheme") << "HTTPS://example.org/" << true;
    QTest::newRow("file") << "file:///etc/passwd" << false;
    QTest::newRow("javascript") << "javascript:alert(1)" << false;
    QTest::newRow("ftp") << "ftp://example.org/" << false;
    QTest::newRow("no scheme") << "notes/plan.rtf" << false;
    QTest::newRow("http without host") << "http:plan" << false;
}

void EditingWindowTest::ctrlClickOpensWebAndMailLinksOnly()
{
    QFETCH(QString, href);
    QFETCH(bool, opens);
    TestApp app;
    RichTextBox *box = focusedDayBox(app);
    QVERIFY(box);
    // A link as a note file holds it.
    const QByteArray rtf = "{\\rtf1\\ansi see {\\field{\\*\\fldinst{HYPERLINK \"" + href.toLatin1()
        + "\"}}{\\fldrslt{the link}}} here\\par}";
    QVERIFY(box->loadRtf(rtf));
    QCOMPARE(box->anchorAt(viewportPointOf(box, 6)), href);
    box->setCaretPosition(0);

    QTest::mouseClick(
        box->viewport(), Qt::LeftButton, Qt::ControlModifier, viewportPointOf(box, 6));
    if (opens)
        QCOMPARE(app.shell.opened, QList<QUrl> { QUrl(href) });
    else
        QVERIFY(app.shell.opened.isEmpty());
    QCOMPARE(box->textCursor().position(), 0); // the click was the link's
    QVERIFY(app.window().isVisible());
}

void EditingWindowTest::plainClickOnALinkOnlyMovesTheCaret()
{
    TestApp app;
    RichTextBox *box = focusedDayBox(app);
    QVERIFY(box);
    QVERIFY(
        box->loadRtf("{\\rtf1\\ansi see {\\field{\\*\\fldinst{HYPERLINK \"https://example.org/\"}}"
                     "{\\fldrslt{the link}}} here\\par}"));
    QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::NoModifier, viewportPointOf(box, 6));
    QVERIFY(app.shell.opened.isEmpty());
    QVERIFY(box->textCursor().position() >= 5 && box->textCursor().position() <= 7);
    // Ctrl+click beside the link is an ordinary click.
    QTest::mouseClick(
        box->viewport(), Qt::LeftButton, Qt::ControlModifier, viewportPointOf(box, 1));
    QVERIFY(app.shell.opened.isEmpty());
}

void EditingWindowTest::pointerShowsALinkWhileCtrlIsHeld()
{
    TestApp app;
    RichTextBox *box = focusedDayBox(app);
    QVERIFY(box);
    QVERIFY(
        box->loadRtf("{\\rtf1\\ansi see {\\field{\\*\\fldinst{HYPERLINK \"https://example.org/\"}}"
                     "{\\fldrslt{the link}}} here\\par}"));
    QWidget *viewport = box->viewport();
    sendMove(viewport, viewportPointOf(box, 6), Qt::NoModifier);
    QCOMPARE(viewport->cursor().shape(), Qt::IBeamCursor);
    sendMove(viewport, viewportPointOf(box, 6), Qt::ControlModifier);
    QCOMPARE(viewport->cursor().shape(), Qt::PointingHandCursor);
    sendMove(viewport, viewportPointOf(box, 1), Qt::ControlModifier);
    QCOMPARE(viewport->cursor().shape(), Qt::IBeamCursor);
    // Pressing and letting go of Ctrl with the pointer resting on the link.
    QCursor::setPos(viewport->mapToGlobal(viewportPointOf(box, 6)));
    sendMove(viewport, viewportPointOf(box, 6), Qt::NoModifier);
    QTest::keyPress(box, Qt::Key_Control);
    QCOMPARE(viewport->cursor().shape(), Qt::PointingHandCursor);
    QTest::keyRelease(box, Qt::Key_Control, Qt::ControlModifier);
    QCOMPARE(viewport->cursor().shape(), Qt::IBeamCursor);
}

void EditingWindowTest::helpTextOffersTheReadOnlyActions()
{
    TestApp app;
    app.open();
    app.trigger(QStringLiteral("mnuHelpHelpFile"));
    HelpWindow *help = app.window().helpMenu().helpWindow();
    QVERIFY(help);
    QApplication::setActiveWindow(help);
    QVERIFY(QTest::qWaitForWindowActive(help));
    RichTextBox *box = help->textBox();
    box->setFocus();
    const QString text = box->toPlainText();
    QVERIFY(!text.isEmpty());
    QSignalSpy changes(box, &RichTextBox::Change);

    std::unique_ptr<QMenu> menu(NoteContextMenu::create(box, QPoint(2, 2)));
    QStringList entries;
    for (const QAction *action : menu->actions())
        entries << (action->isSeparator() ? QStringLiteral("-")
                                          : action->text().remove(QLatin1Char('&')));
    QCOMPARE(entries, (QStringList { "Copy", "-", "Select All", "Find..." }));

    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(box->textCursor().selectedText().size(), text.size());
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
    QTest::keyClick(box, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClicks(box, "typed");
    QCOMPARE(box->toPlainText(), text);
    QCOMPARE(changes.count(), 0);
    QTest::keyClick(box, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(box->findBar()->isVisible());
}

QTEST_MAIN(EditingWindowTest)
#include "tst_editing_window.moc"
