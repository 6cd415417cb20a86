// Underlines the misspelt words of a note box. The underlines are display only: they live in the
// box's extra selections, never in the document, so they are never saved and never count as an
// edit.
#pragma once

#include "editor/SpellChecker.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

class RichTextBox;

class SpellHighlighter : public QObject
{
    Q_OBJECT
public:
    explicit SpellHighlighter(RichTextBox *box);

    // No checker (or one without a dictionary) means no underlines.
    void setChecker(SpellChecker *checker);
    SpellChecker *checker() const { return m_checker; }
    bool isActive() const;

    // The words underlined now.
    const QList<QTextCursor> &misspellings() const { return m_misspellings; }
    // The underlined word at a document position, or a null cursor.
    QTextCursor misspeltWordAt(int position) const;
    // Checks again at once rather than when the event loop comes round.
    void recheckNow();
    // Checks again when the event loop comes round; many calls make one check.
    void scheduleRecheck();

signals:
    void underlinesChanged();

private:
    // The part of the document worth checking: all of a short note, else the shown part with a
    // margin either side.
    void rangeToCheck(int *from, int *to) const;
    // Follows the box's document, also when the box is given a new one.
    void followDocument();

    RichTextBox *m_box;
    QPointer<SpellChecker> m_checker;
    QList<QTextCursor> m_misspellings;
    QTimer m_recheck;
    QMetaObject::Connection m_contentsChange;
    QMetaObject::Connection m_sizeChange;
};
