// Find in a note box: Ctrl+F opens a field over the box without moving anything in the window,
// every match is highlighted, Enter and Shift+Enter step through the matches, Escape closes.
#include "editor/FindBar.h"
#include "editor/RichTextBox.h"
#include "help/HelpMenu.h"
#include "help/HelpWindow.h"
#include "mainwindow/MainWindow.h"
#include "support/TestApp.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

namespace {
// The highlights find put on the box (spelling underlines have no background).
int foundHighlights(const RichTextBox &box)
{
    int count = 0;
    for (const QTextEdit::ExtraSelection &selection : box.extraSelections())
        count += selection.format.background().style() != Qt::NoBrush;
    return count;
}

int selectionStart(const RichTextBox &box)
{
    return box.textCursor().hasSelection() ? box.textCursor().selectionStart() : -1;
}
} // namespace

class FindTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void ctrlFOpensTheFieldOverTheBox();
    void everyMatchIsHighlightedAndStepped();
    void escapeClosesAndGivesTheBoxBack();
    void searchStartsAtTheCaretAndIgnoresCase();
    void selectedTextIsTheFirstSearch();
    void noMatchSaysSo();
    void matchesFollowEdits();
    void findingChangesNothing();
    void helpTextCanBeSearched();

private:
    std::unique_ptr<TestApp> m_app;
    RichTextBox *m_box = nullptr;
};

void FindTest::init()
{
    m_app = std::make_unique<TestApp>();
    MainWindow &window = m_app->open();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    m_box = m_app->find<RichTextBox>("rtfWednesday");
    m_box->setFocus();
    QTest::keyClicks(m_box, "One plan, two plans. Three PLANS and a planet.");
    m_box->setCaretPosition(0);
}

void FindTest::ctrlFOpensTheFieldOverTheBox()
{
    const QRect boxPlace = m_box->geometry();
    const QSize windowSize = m_app->window().size();
    QTest::keyClick(m_box, Qt::Key_F, Qt::ControlModifier);
    FindBar *bar = m_box->findBar();
    QVERIFY(bar->isVisible());
    QVERIFY(bar->field()->hasFocus());
    QCOMPARE(bar->parentWidget(), m_box);
    QVERIFY(m_box->rect().contains(bar->geometry()));
    QVERIFY(bar->field()->width() >= 100);
    QCOMPARE(m_box->geometry(), boxPlace);
    QCOMPARE(m_app->window().size(), windowSize);
    // Opening again keeps the field and selects its text for a new search.
    QTest::keyClicks(bar->field(), "plan");
    m_box->setFocus();
    QTest::keyClick(m_box, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(bar->field()->hasFocus());
    QCOMPARE(bar->field()->selectedText(), QStringLiteral("plan"));
}

void FindTest::everyMatchIsHighlightedAndStepped()
{
    QTest::keyClick(m_box, Qt::Key_F, Qt::ControlModifier);
    FindBar *bar = m_box->findBar();
    QTest::keyClicks(bar->field(), "plan");
    const QString text = m_box->toPlainText();
    QCOMPARE(bar->matches().size(), 4);
    QCOMPARE(foundHighlights(*m_box), 4);
    QCOMPARE(bar->currentIndex(), 0);
    QCOMPARE(selectionStart(*m_box), text.indexOf("plan"));
    QCOMPARE(bar->findChild<QLabel *>("findCount")->text(), QStringLiteral("1 of 4"));

    QTest::keyClick(bar->field(), Qt::Key_Return);
    QCOMPARE(bar->currentIndex(), 1);
    QCOMPARE(selectionStart(*m_box), text.indexOf("plans"));
    QTest::keyClick(bar->field(), Qt::Key_Enter);
    QTest::keyClick(bar->field(), Qt::Key_Return);
    QCOMPARE(bar->currentIndex(), 3);
    QCOMPARE(selectionStart(*m_box), text.indexOf("planet"));
    QTest::keyClick(bar->field(), Qt::Key_Return); // round to the first
    QCOMPARE(bar->currentIndex(), 0);
    QTest::keyClick(bar->field(), Qt::Key_Return, Qt::ShiftModifier); // and back to the last
    QCOMPARE(bar->currentIndex(), 3);
    QTest::keyClick(bar->field(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(selectionStart(*m_box), text.indexOf("PLANS"));
    QCOMPARE(bar->findChild<QLabel *>("findCount")->text(), QStringLiteral("3 of 4"));
    QVERIFY(bar->field()->hasFocus());
    QCOMPARE(bar->field()->text(), QStringLiteral("plan"));
}

void FindTest::escapeClosesAndGivesTheBoxBack()
{
    QTest::keyClick(m_box, Qt::Key_F, Qt::ControlModifier);
    FindBar *bar = m_box->findBar();
    QTest::keyClicks(bar->field(), "two");
    QTest::keyClick(bar->field(), Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QCOMPARE(foundHighlights(*m_box), 0);
    QVERIFY(m_box->hasFocus());
    QCOMPARE(m_box->textCursor().selectedText(), QStringLiteral("two")); // the match stays selected
    // Escape in the box closes it too.
    QTest::keyClick(m_box, Qt::Key_F, Qt::ControlModifier);
    m_box->setFocus();
    QTest::keyClick(m_box, Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
}

void FindTest::searchStartsAtTheCaretAndIgnoresCase()
{
    const QString text = m_box->toPlainText();
    m_box->setCaretPosition(text.indexOf("Three"));
    QTest::keyClick(m_box, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(m_box->findBar()->field(), "PLAN");
    QCOMPARE(m_box->findBar()->matches().size(), 4);
    QCOMPARE(selectionStart(*m_box), text.indexOf("PLANS"));
    // Past the last match the search goes round to the first.
    m_box->findBar()->close();
    m_box->setCaretPosition(text.size());
    QTest::keyClick(m_box, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(selectionStart(*m_box), text.indexOf("plan"));
}

void FindTest::selectedTextIsTheFirstSearch()
{
    const QString text = m_box->toPlainText();
    QTextCursor cursor = m_box->textCursor();
    cursor.setPosition(text.indexOf("Three"));
    cursor.setPosition(text.indexOf("Three") + 5, QTextCursor::KeepAnchor);
    m_box->setTextCursor(cursor);
    QTest::keyClick(m_box, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(m_box->findBar()->text(), QStringLiteral("Three"));
    QCOMPARE(m_box->findBar()->matches().size(), 1);
    QCOMPARE(selectionStart(*m_box), text.indexOf("Three"));
}

void FindTest::noMatchSaysSo()
{
    QTest::keyClick(m_box, Qt::Key_F, Qt::ControlModifier);
    FindBar *bar = m_box->findBar();
    QTest::keyClicks(bar->field(), "planz");
    QVERIFY(bar->matches().isEmpty());
    QCOMPARE(bar->currentIndex(), -1);
    QCOMPARE(foundHighlights(*m_box), 0);
    QCOMPARE(bar->findChild<QLabel *>("findCount")->text(), QStringLiteral("No matches"));
    QTest::keyClick(bar->field(), Qt::Key_Return); // nothing to step to, nothing breaks
    bar->field()->clear();
    bar->setText(QString());
    QCOMPARE(bar->findChild<QLabel *>("findCount")->text(), QString());
}

void FindTest::matchesFollowEdits()
{
    QTest::keyClick(m_box, Qt::Key_F, Qt::ControlModifier);
    FindBar *bar = m_box->findBar();
    QTest::keyClicks(bar->field(), "plan");
    QTextCursor edit(m_box->document());
    edit.movePosition(QTextCursor::End);
    edit.insertText(" Last plan.");
    QTRY_COMPARE(bar->matches().size(), 5);
    QCOMPARE(foundHighlights(*m_box), 5);
    edit.setPosition(0);
    edit.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    edit.removeSelectedText();
    QTRY_COMPARE(bar->matches().size(), 0);
    QCOMPARE(foundHighlights(*m_box), 0);
}

void FindTest::findingChangesNothing()
{
    const QByteArray before = m_box->textRTF();
    QSignalSpy changes(m_box, &RichTextBox::Change);
    QTest::keyClick(m_box, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(m_box->findBar()->field(), "plan");
    QTest::keyClick(m_box->findBar()->field(), Qt::Key_Return);
    QTest::keyClick(m_box->findBar()->field(), Qt::Key_Escape);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(m_box->textRTF(), before);
}

void FindTest::helpTextCanBeSearched()
{
    m_app->trigger("mnuHelpHelpFile");
    HelpWindow *help = m_app->window().helpMenu().helpWindow();
    QVERIFY(help);
    QApplication::setActiveWindow(help);
    QVERIFY(QTest::qWaitForWindowActive(help));
    RichTextBox *box = help->textBox();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(box->findBar()->isVisible());
    QTest::keyClicks(box->findBar()->field(), "help");
    QVERIFY(!box->findBar()->matches().isEmpty());
    QCOMPARE(foundHighlights(*box), box->findBar()->matches().size());
}

QTEST_MAIN(FindTest)
#include "tst_find.moc"
