#include "mainwindow/WindowShortcuts.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

WindowShortcuts::WindowShortcuts(QWidget &window, const QList<QAction *> &actions)
    : QObject(&window)
    , m_window(window)
{
    for (QAction *action : actions)
        m_actions.append(action);
    qApp->installEventFilter(this);
}

WindowShortcuts::~WindowShortcuts()
{
    qApp->removeEventFilter(this);
}

bool WindowShortcuts::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType()
        || static_cast<QWidget *>(watched)->window() != &m_window)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const QKeySequence pressed(key->keyCombination());
    for (const QPointer<QAction> &action : std::as_const(m_actions)) {
        if (action && action->isEnabled() && action->shortcuts().contains(pressed)) {
            // Not claimed by the control: the shortcut goes to its menu entry.
            event->ignore();
            return true;
        }
    }
    return false;
}
