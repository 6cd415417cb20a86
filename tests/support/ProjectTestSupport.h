// Helpers for the tests of the project area: a file store that counts note reads and fails on
// purpose (full disk, folder not creatable, no backup possible), and typing into the note editor.
#pragma once

#include "editor/RichTextBox.h"
#include "storage/FileStore.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QSet>
#include <QtTest>
#include <optional>

class ProjectFileStore : public FileStore
{
public:
    QStringList listFiles(const QString &folder) const override
    {
        return listing ? *listing : FileStore::listFiles(folder);
    }
    bool readFile(const QString &path, QByteArray *contents) const override
    {
        readNames.append(QFileInfo(path).fileName());
        return FileStore::readFile(path, contents);
    }
    bool createFolder(const QString &path) override
    {
        if (failCreateFolder) {
            setErrorString(QStringLiteral("The folder could not be created."));
            return false;
        }
        return FileStore::createFolder(path);
    }
    bool writeFileAtomic(const QString &path, const QByteArray &contents) override
    {
        if (failAllWrites || failWrites.contains(QFileInfo(path).fileName())) {
            setErrorString(QStringLiteral("No space left on device"));
            return false;
        }
        writtenNames.append(QFileInfo(path).fileName());
        return FileStore::writeFileAtomic(path, contents);
    }
    QString moveAside(const QString &path, const QString &tag) override
    {
        if (failMoveAside) {
            setErrorString(QStringLiteral("Permission denied"));
            return {};
        }
        return FileStore::moveAside(path, tag);
    }

protected:
    // The day files are written in one batch, which does not go through writeFileAtomic.
    bool stageWrite(PendingWrite &write, const QByteArray &contents) override
    {
        if (failAllWrites || failWrites.contains(QFileInfo(write.path).fileName())) {
            setErrorString(QStringLiteral("No space left on device"));
            return false;
        }
        return FileStore::stageWrite(write, contents);
    }

public:
    // A listing in this order instead of the folder's own.
    std::optional<QStringList> listing;
    QSet<QString> failWrites; // file names (without folder) whose writes fail
    bool failAllWrites = false;
    bool failCreateFolder = false;
    bool failMoveAside = false;
    mutable QStringList readNames;
    QStringList writtenNames;
};

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

// One key pressed and released in the note editor: a character is typed and one release counts.
inline void typeKey(TestApp &app, char key)
{
    QTest::keyClick(app.editor(), key);
}

// Every character pressed and released in turn; characters outside ASCII too.
inline void typeText(TestApp &app, const QString &text)
{
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
