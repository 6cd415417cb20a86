// The window's own shortcuts reach their menu entries from any control, the note boxes included.
#include "editor/RichTextBox.h"
#include "mainwindow/MainWindow.h"
#include "support/TestApp.h"

#include <QAction>
#include <QSignalSpy>
#include <QtTest>

class WindowKeysTest : public QObject
{
    Q_OBJECT
private slots:
    void shortcutsReachMenusFromNoteBoxes_data();
    void shortcutsReachMenusFromNoteBoxes();
};

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

QTEST_MAIN(WindowKeysTest)
#include "tst_windowkeys.moc"
