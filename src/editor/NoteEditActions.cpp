#include "editor/NoteEditActions.h"

#include "editor/NoteFormat.h"
#include "editor/RichTextBox.h"
#include "rtf/RtfListFormat.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QColorDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaEnum>
#include <QMimeData>
#include <QTextList>

NoteEditActions::NoteEditActions(RichTextBox *box)
    : QObject(box)
    , m_box(box)
    , m_chooseColour([](const QColor &initial, const QString &title, QWidget *parent) {
        return QColorDialog::getColor(initial, parent, title);
    })
{
    using Key = QKeySequence;
    const auto ctrl = [](int key) { return Key(Qt::CTRL | key); };
    RichTextBox &edit = *box;

    make(Undo, tr("&Undo"), { ctrl(Qt::Key_Z) }, [&edit] { edit.undo(); });
    make(Redo, tr("&Redo"), { ctrl(Qt::Key_Y), Key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) },
        [&edit] { edit.redo(); });
    make(Cut, tr("Cu&t"), Key::keyBindings(Key::Cut), [&edit] { edit.cut(); });
    make(Copy, tr("&Copy"), Key::keyBindings(Key::Copy), [&edit] { edit.copy(); });
    make(Paste, tr("&Paste"), Key::keyBindings(Key::Paste), [&edit] { edit.paste(); });
    make(Delete, tr("&Delete"), { Key(Qt::Key_Delete) },
        [&edit] { edit.textCursor().removeSelectedText(); });
    make(SelectAll, tr("Select &All"), Key::keyBindings(Key::SelectAll),
        [&edit] { edit.selectAll(); });
    make(Find, tr("&Find..."), { ctrl(Qt::Key_F) }, [&edit] { edit.openFindBar(); });

    make(
        Bold, tr("&Bold"), { ctrl(Qt::Key_B) }, [&edit] { NoteFormat::toggleBold(edit); }, true);
    make(
        Italic, tr("&Italic"), { ctrl(Qt::Key_I) }, [&edit] { NoteFormat::toggleItalic(edit); },
        true);
    make(
        Underline, tr("U&nderline"), { ctrl(Qt::Key_U) },
        [&edit] { NoteFormat::toggleUnderline(edit); }, true);
    make(
        Strikethrough, tr("&Strikethrough"), {}, [&edit] { NoteFormat::toggleStrikethrough(edit); },
        true);
    make(TextColour, tr("Te&xt colour..."), {}, [this] { chooseTextColour(); });
    make(Highlight, tr("&Highlight..."), {}, [this] { chooseHighlight(); });
    make(Bigger, tr("Bi&gger"), { ctrl(Qt::Key_BracketRight) },
        [&edit] { NoteFormat::makeBigger(edit); });
    make(Smaller, tr("S&maller"), { ctrl(Qt::Key_BracketLeft) },
        [&edit] { NoteFormat::makeSmaller(edit); });
    make(
        AlignLeft, tr("Align &left"), { ctrl(Qt::Key_L) },
        [&edit] { NoteFormat::setAlignment(edit, Qt::AlignLeft); }, true);
    make(
        AlignCentre, tr("Align c&entre"), {},
        [&edit] { NoteFormat::setAlignment(edit, Qt::AlignHCenter); }, true);
    make(
        AlignRight, tr("Align &right"), { ctrl(Qt::Key_R) },
        [&edit] { NoteFormat::setAlignment(edit, Qt::AlignRight); }, true);
    make(
        AlignJustify, tr("&Justify"), { ctrl(Qt::Key_J) },
        [&edit] { NoteFormat::setAlignment(edit, Qt::AlignJustify); }, true);
    make(
        BulletedList, tr("B&ulleted list"), {},
        [&edit] { NoteFormat::toggleList(edit, QTextListFormat::ListDisc); }, true);
    make(
        NumberedList, tr("Numbered li&st"), {},
        [&edit] { NoteFormat::toggleList(edit, QTextListFormat::ListDecimal); }, true);
    make(PastePlainText, tr("Paste as plain te&xt"), { Key(Qt::CTRL | Qt::SHIFT | Qt::Key_V) },
        [&edit] { NoteFormat::pastePlainText(edit); });
    make(ClearFormatting, tr("Clear f&ormatting"), { ctrl(Qt::Key_Backslash) },
        [&edit] { NoteFormat::clearFormatting(edit); });

    // The Delete key keeps its own meaning (the next character goes without a selection); the
    // menu shows it only as a reminder.
    m_keyed.removeOne(action(Delete));

    auto *alignments = new QActionGroup(this);
    for (Command command : { AlignLeft, AlignCentre, AlignRight, AlignJustify })
        alignments->addAction(action(command));
}

QAction *NoteEditActions::make(Command command, const QString &text,
    const QList<QKeySequence> &shortcuts, std::function<void()> run, bool checkable)
{
    auto *action = new QAction(text, this);
    action->setObjectName(QStringLiteral("act")
        + QString::fromLatin1(QMetaEnum::fromType<Command>().valueToKey(command)));
    action->setShortcuts(shortcuts);
    // The box answers its keys itself (see actionForKey), so the shortcut never competes with the
    // window's own: it is shown in the menu and acts only where the box has the focus.
    action->setShortcutContext(Qt::WidgetShortcut);
    action->setCheckable(checkable);
    connect(action, &QAction::triggered, this, [this, command, run = std::move(run)] {
        // A key or a stale menu could reach a command the box does not offer now.
        updateStates();
        if (this->action(command)->isEnabled())
            run();
    });
    m_actions.insert(command, action);
    if (!shortcuts.isEmpty())
        m_keyed.append(action);
    return action;
}

QAction *NoteEditActions::actionForKey(const QKeyEvent *event) const
{
    const QKeySequence pressed(
        QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
    for (QAction *action : m_keyed) {
        for (const QKeySequence &shortcut : action->shortcuts()) {
            if (shortcut == pressed)
                return action;
        }
    }
    return nullptr;
}

bool NoteEditActions::isReadOnlyCommand(Command command)
{
    return command == Copy || command == SelectAll || command == Find;
}

void NoteEditActions::updateStates()
{
    const bool editable = !m_box->isReadOnly();
    const QTextCursor cursor = m_box->textCursor();
    const bool selection = cursor.hasSelection();
    const QMimeData *clipboard = QGuiApplication::clipboard()->mimeData();
    const bool clipboardText = clipboard && clipboard->hasText();

    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        it.value()->setEnabled(editable || isReadOnlyCommand(Command(it.key())));
    action(Undo)->setEnabled(editable && m_box->document()->isUndoAvailable());
    action(Redo)->setEnabled(editable && m_box->document()->isRedoAvailable());
    action(Cut)->setEnabled(editable && selection);
    action(Delete)->setEnabled(editable && selection);
    action(Copy)->setEnabled(selection);
    action(Paste)->setEnabled(editable && m_box->canPaste());
    action(PastePlainText)->setEnabled(editable && clipboardText);
    action(SelectAll)->setEnabled(!m_box->document()->isEmpty());

    const QTextCharFormat format = m_box->currentCharFormat();
    action(Bold)->setChecked(format.fontWeight() > QFont::Normal);
    action(Italic)->setChecked(format.fontItalic());
    action(Underline)->setChecked(format.fontUnderline());
    action(Strikethrough)->setChecked(format.fontStrikeOut());
    const Qt::Alignment alignment = cursor.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    action(AlignCentre)->setChecked(alignment & Qt::AlignHCenter);
    action(AlignRight)->setChecked(alignment & (Qt::AlignRight | Qt::AlignTrailing));
    action(AlignJustify)->setChecked(alignment & Qt::AlignJustify);
    action(AlignLeft)->setChecked(!action(AlignCentre)->isChecked()
        && !action(AlignRight)->isChecked() && !action(AlignJustify)->isChecked());
    const QTextList *list = cursor.currentList();
    const QTextListFormat::Style style
        = list ? RtfListFormat::style(list->format()) : QTextListFormat::ListStyleUndefined;
    action(BulletedList)->setChecked(style == QTextListFormat::ListDisc);
    action(NumberedList)->setChecked(style == QTextListFormat::ListDecimal);
}

void NoteEditActions::addToMenu(QMenu *menu) const
{
    const QList<QList<Command>> groups {
        { Undo, Redo },
        { Cut, Copy, Paste, Delete },
        { SelectAll, Find },
        { Bold, Italic, Underline, Strikethrough },
        { TextColour, Highlight, Bigger, Smaller },
        { AlignLeft, AlignCentre, AlignRight, AlignJustify },
        { BulletedList, NumberedList },
        { PastePlainText, ClearFormatting },
    };
    const bool editable = !m_box->isReadOnly();
    for (const QList<Command> &group : groups) {
        QList<QAction *> shown;
        for (Command command : group) {
            if (editable || isReadOnlyCommand(command))
                shown.append(action(command));
        }
        if (group.contains(Find))
            shown.append(m_noteCommands);
        if (shown.isEmpty())
            continue;
        if (!menu->isEmpty())
            menu->addSeparator();
        menu->addActions(shown);
    }
}

void NoteEditActions::chooseTextColour()
{
    const QColor initial = m_box->currentCharFormat().foreground().color();
    NoteFormat::setTextColour(*m_box, m_chooseColour(initial, tr("Text colour"), m_box));
}

void NoteEditActions::chooseHighlight()
{
    const QBrush background = m_box->currentCharFormat().background();
    const QColor initial
        = background.style() == Qt::NoBrush ? QColor(Qt::yellow) : background.color();
    NoteFormat::setHighlight(*m_box, m_chooseColour(initial, tr("Highlight"), m_box));
}
