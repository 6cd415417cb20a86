// Helpers for the tests of the project area: the notes a test starts from, typing into the note
// editor, selecting and the state of the command buttons. The file store that fails on purpose is
// FaultyFileStore.
#pragma once

#include "editor/RichTextBox.h"
#include "support/FaultyFileStore.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QListWidget>
#include <QtTest>

namespace ProjectTest {

inline void setOrder(TestApp &app, const QString &order)
{
    app.settings->save(QStringLiteral("projects"), QStringLiteral("order"), order);
}

inline QString storedOrder(TestApp &app)
{
    return app.settings->get(
        QStringLiteral("projects"), QStringLiteral("order"), QStringLiteral("<none>"));
}

// A note on disk before the window opens: its title (the file is the title and ".rtf") and text.
struct Note
{
    QString title;
    QString text;
};

// The two notes most tests of the project area start from, A before B.
inline QList<Note> alphaAndBeta()
{
    return { { QStringLiteral("A"), QStringLiteral("alpha") },
        { QStringLiteral("B"), QStringLiteral("beta") } };
}

inline void writeNotes(TestApp &app, const QList<Note> &notes)
{
    for (const Note &note : notes)
        app.writeNote(note.title + QStringLiteral(".rtf"), note.text);
}

// Writes the notes, stores the list order (by default the notes' titles in turn) and opens the
// window on them.
inline MainWindow &openWithNotes(
    TestApp &app, const QList<Note> &notes, const QString &order = QString())
{
    writeNotes(app, notes);
    QStringList titles;
    for (const Note &note : notes)
        titles.append(note.title);
    setOrder(app, order.isNull() ? titles.join(QLatin1Char(':')) : order);
    return app.open();
}

// One key pressed and released in the note editor: a character is typed and one release counts.
inline void typeKey(TestApp &app, char key)
{
    // A disabled editor takes no key: typing into it would prove nothing.
    QVERIFY(app.editor()->isEnabled());
    QTest::keyClick(app.editor(), key);
}

// Every character pressed and released in turn; characters outside ASCII too.
inline void typeText(TestApp &app, const QString &text)
{
    QVERIFY(app.editor()->isEnabled());
    for (const QChar c : text) {
        const int key = c.unicode() < 128 ? QChar(c).toUpper().unicode() : int(Qt::Key_unknown);
        QTest::sendKeyEvent(QTest::Press, app.editor(), Qt::Key(key), QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, app.editor(), Qt::Key(key), QString(c), Qt::NoModifier);
    }
}

// A key held down: the platform repeats press and release, but only the last release is real.
inline void holdKey(TestApp &app, Qt::Key key, const QString &text, int repeats)
{
    RichTextBox *editor = app.editor();
    QVERIFY(editor->isEnabled());
    QKeyEvent first(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(editor, &first);
    for (int i = 0; i < repeats; ++i) {
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text, true);
        QCoreApplication::sendEvent(editor, &release);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text, true);
        QCoreApplication::sendEvent(editor, &press);
    }
    QKeyEvent last(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(editor, &last);
}

inline void select(TestApp &app, int row)
{
    app.list()->setCurrentRow(row);
}

inline QString selectedTitle(TestApp &app)
{
    QListWidgetItem *item = app.list()->currentItem();
    return item && item->isSelected() ? item->text() : QStringLiteral("<none>");
}

inline QStringList commandButtonNames()
{
    return { "cmdNewToDo", "cmdRemToDo", "cmdSaveNote", "cmdUp", "cmdDOWN", "cmdLeads", "cmdClose",
        "cmdSaveAllNow", "cmdClose2" };
}

// The names of the enabled ones among the nine command buttons.
inline QStringList enabledButtons(TestApp &app)
{
    QStringList enabled;
    for (const QString &name : commandButtonNames()) {
        auto *button = app.find<QAbstractButton>(name);
        if (button && button->isEnabled())
            enabled.append(name);
    }
    return enabled;
}

inline QStringList allButtonsBut(const QString &name)
{
    QStringList names = commandButtonNames();
    names.removeAll(name);
    return names;
}

inline QString editorText(TestApp &app)
{
    return app.editor()->toPlainText();
}

} // namespace ProjectTest
