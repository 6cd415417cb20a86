// The find field of a note box: a small bar over the box's top right corner (the window's layout
// does not change), every match highlighted, Enter and Shift+Enter step through them, Escape
// closes.
#pragma once

#include <QFrame>
#include <QList>
#include <QTextCursor>
#include <QTimer>

class QLabel;
class QLineEdit;
class QToolButton;
class RichTextBox;

class FindBar : public QFrame
{
    Q_OBJECT
public:
    explicit FindBar(RichTextBox *box);

    // Shows the bar with the focus in its field, the selected text (one line of it) as the text
    // to find.
    void open();
    // Hides the bar, drops the highlights and gives the focus back to the box.
    void close();
    void findNext();
    void findPrevious();
    void setText(const QString &text);
    QString text() const;

    const QList<QTextCursor> &matches() const { return m_matches; }
    // The match selected in the box, -1 when there is none.
    int currentIndex() const { return m_current; }
    QLineEdit *field() const { return m_field; }

    // Keeps the bar in the box's top right corner; the box calls it when it is resized.
    void place();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Finds every match again; the current one is the first at or after from.
    void search(int from);
    void select(int index);
    void showHighlights();
    void showCount();

    RichTextBox *m_box;
    QLineEdit *m_field;
    QLabel *m_count;
    QToolButton *m_previous;
    QToolButton *m_next;
    QToolButton *m_close;
    QList<QTextCursor> m_matches;
    int m_current = -1;
    QTimer m_refresh;
};
