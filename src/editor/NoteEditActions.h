// The edit commands of one note box as actions: the standard edit commands, the formatting
// commands and find, each with its shortcut, for the box's keys and its right-click menu.
#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QObject>
#include <functional>

class QAction;
class QKeyEvent;
class QMenu;
class RichTextBox;

class NoteEditActions : public QObject
{
    Q_OBJECT
public:
    enum Command {
        Undo,
        Redo,
        Cut,
        Copy,
        Paste,
        Delete,
        SelectAll,
        Find,
        Bold,
        Italic,
        Underline,
        Strikethrough,
        TextColour,
        Highlight,
        Bigger,
        Smaller,
        AlignLeft,
        AlignCentre,
        AlignRight,
        AlignJustify,
        BulletedList,
        NumberedList,
        PastePlainText,
        ClearFormatting,
    };
    Q_ENUM(Command)

    // Asks the user for a colour; an invalid colour means the user cancelled.
    using ColourChooser
        = std::function<QColor(const QColor &initial, const QString &title, QWidget *parent)>;

    explicit NoteEditActions(RichTextBox *box);

    QAction *action(Command command) const { return m_actions.value(command); }
    // The action whose shortcut this key press is, among those the box answers itself; null for
    // any other key (the window's own shortcuts among them).
    QAction *actionForKey(const QKeyEvent *event) const;
    // Enabled and checked states from the box as it is now (read-only, selection, format, undo,
    // clipboard). Called before a menu shows them and before a key runs one, not on every caret
    // move: asking the clipboard can mean a round trip to another program.
    void updateStates();
    // The edit and format part of the right-click menu.
    void addToMenu(QMenu *menu) const;
    // The window's commands on the current note (the window owns them and their shortcuts); the
    // right-click menu shows them after "&Find...".
    void setNoteCommands(const QList<QAction *> &commands) { m_noteCommands = commands; }

    void setColourChooser(ColourChooser chooser) { m_chooseColour = std::move(chooser); }

    // Commands a read-only box offers.
    static bool isReadOnlyCommand(Command command);

private:
    QAction *make(Command command, const QString &text, const QList<QKeySequence> &shortcuts,
        std::function<void()> run, bool checkable = false);
    void chooseTextColour();
    void chooseHighlight();

    RichTextBox *m_box;
    QHash<int, QAction *> m_actions;
    QList<QAction *> m_keyed;
    QList<QAction *> m_noteCommands;
    ColourChooser m_chooseColour;
};
