// The window's own shortcuts reach their menu entries from any control, the note boxes included.
#include "editor/RichTextBox.h"
#include "mainwindow/CurrentNote.h"
#include "mainwindow/MainWindow.h"
#include "support/TestApp.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QtTest>

class WindowKeysTest : public QObject
{
    Q_OBJECT
private slots:
    void shortcutsReachMenusFromNoteBoxes_data();
    void shortcutsReachMenusFromNoteBoxes();
    void shortcutsWinOverAFieldThatClaimsThem();
    void currentNoteIsTheLastNoteBoxFocused();
};

namespace {
// A field that claims Ctrl+E for itself, as a line edit does on X11 (the end of the line).
class ClaimingField : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        return QLineEdit::event(event);
    }
};
} // namespace

void WindowKeysTest::shortcutsReachMenusFromNoteBoxes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("action");
    for (const char *box : { "rtfToDo", "rtfWednesday" }) {
        QTest::addRow("%s Ctrl+S", box)
            << box << int(Qt::Key_S) << int(Qt::ControlModifier) << "mnuSave";
        QTest::addRow("%s Ctrl+E", box)
            << box << int(Qt::Key_E) << int(Qt::ControlModifier) << "mnuClose";
        QTest::addRow("%s F1", box)
            << box << int(Qt::Key_F1) << int(Qt::NoModifier) << "mnuHelpHelpFile";
    }
}

void WindowKeysTest::shortcutsReachMenusFromNoteBoxes()
{
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, action);
    TestApp app;
    MainWindow &window = app.open();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *editor = app.find<RichTextBox>(box);
    editor->setEnabled(true);
    editor->setFocus();
    QSignalSpy triggered(app.find<QAction>(action), &QAction::triggered);
    QTest::keyClick(editor, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(triggered.count(), 1);
}

void WindowKeysTest::shortcutsWinOverAFieldThatClaimsThem()
{
    TestApp app;
    MainWindow &window = app.open();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *field = new ClaimingField(&window);
    field->show();
    field->setFocus();
    QSignalSpy exited(app.find<QAction>("mnuClose"), &QAction::triggered);
    QTest::keyClick(field, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(exited.count(), 1);
}

void WindowKeysTest::currentNoteIsTheLastNoteBoxFocused()
{
    TestApp app;
    MainWindow &window = app.open();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    CurrentNote &current = window.currentNote();
    QVERIFY(current.isProjectNote());

    auto *wednesday = app.find<RichTextBox>("rtfWednesday");
    wednesday->setFocus();
    QCOMPARE(current.box(), wednesday);
    QCOMPARE(window.currentNoteTitle(), QStringLiteral("Wednesday"));
    // The focus in the list or in the box's own find bar leaves the note current.
    app.find<QListWidget>("lstToDo")->setFocus();
    QCOMPARE(current.dayIndex(), 2);
    wednesday->openFindBar();
    QCOMPARE(current.box(), wednesday);
}

QTEST_MAIN(WindowKeysTest)
#include "tst_windowkeys.moc"
