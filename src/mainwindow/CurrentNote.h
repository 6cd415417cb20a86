// The note that the window's commands on "the current note" act on (earlier versions, print):
// the note box that has the keyboard focus, else the one that had it last; before any box had it,
// the project note.
#pragma once

#include <QList>
#include <QObject>

class QWidget;
class RichTextBox;

class CurrentNote : public QObject
{
    Q_OBJECT
public:
    // dayBoxes in day order, Monday first.
    CurrentNote(
        RichTextBox *projectBox, const QList<RichTextBox *> &dayBoxes, QObject *parent = nullptr);

    RichTextBox *box() const { return m_current; }
    bool isProjectNote() const { return m_current == m_projectBox; }
    // The day index (0 Monday to 6 Sunday) of the current day box; -1 for the project note.
    int dayIndex() const { return m_dayBoxes.indexOf(m_current); }

signals:
    void changed();

private:
    void focusChanged(QWidget *now);

    RichTextBox *m_projectBox;
    QList<RichTextBox *> m_dayBoxes;
    RichTextBox *m_current;
};
