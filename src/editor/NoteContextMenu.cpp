#include "editor/NoteContextMenu.h"

#include "editor/NoteEditActions.h"
#include "editor/RichTextBox.h"
#include "editor/SpellChecker.h"
#include "editor/SpellHighlighter.h"

#include <QAction>
#include <QMenu>

namespace {
void addSpelling(QMenu *menu, RichTextBox *box, const QPoint &pos)
{
    SpellHighlighter *spelling = box->spellHighlighter();
    if (!spelling->isActive())
        return;
    const QTextCursor word = spelling->misspeltWordAt(box->cursorForPosition(pos).position());
    if (word.isNull())
        return;
    const QString text = word.selectedText();
    const QStringList suggestions = spelling->checker()->suggestions(text);
    for (const QString &suggestion : suggestions) {
        QAction *replace = menu->addAction(suggestion);
        replace->setObjectName(QStringLiteral("actSuggestion"));
        QObject::connect(replace, &QAction::triggered, box, [box, word, suggestion] {
            QTextCursor replacing = word;
            replacing.insertText(suggestion);
            box->setTextCursor(replacing);
        });
    }
    if (suggestions.isEmpty()) {
        QAction *none = menu->addAction(QObject::tr("(No suggestions)"));
        none->setEnabled(false);
    }
    menu->addSeparator();
    QAction *add = menu->addAction(QObject::tr("Add to dictionary"));
    add->setObjectName(QStringLiteral("actAddToDictionary"));
    QObject::connect(add, &QAction::triggered, box, [box, text] {
        if (SpellChecker *checker = box->spellHighlighter()->checker())
            checker->addWord(text);
    });
}
} // namespace

QMenu *NoteContextMenu::create(RichTextBox *box, const QPoint &pos)
{
    auto *menu = new QMenu(box);
    menu->setObjectName(QStringLiteral("noteContextMenu"));
    addSpelling(menu, box, pos);
    box->editActions()->updateStates();
    box->editActions()->addToMenu(menu);
    return menu;
}
