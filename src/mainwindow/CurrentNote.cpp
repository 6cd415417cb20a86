#include "mainwindow/CurrentNote.h"

#include "editor/RichTextBox.h"

#include <QApplication>

CurrentNote::CurrentNote(
    RichTextBox *projectBox, const QList<RichTextBox *> &dayBoxes, QObject *parent)
    : QObject(parent)
    , m_projectBox(projectBox)
    , m_dayBoxes(dayBoxes)
    , m_current(projectBox)
{
    connect(qApp, &QApplication::focusChanged, this,
        [this](QWidget *, QWidget *now) { focusChanged(now); });
}

void CurrentNote::focusChanged(QWidget *now)
{
    // The focus may sit in a box's own find bar: the box is still the current note.
    for (QWidget *widget = now; widget; widget = widget->parentWidget()) {
        auto *box = qobject_cast<RichTextBox *>(widget);
        if (!box || (box != m_projectBox && !m_dayBoxes.contains(box)))
            continue;
        if (box != m_current) {
            m_current = box;
            emit changed();
        }
        return;
    }
}
