// The window's own shortcuts (File > Save, File > Exit, Help > Help File) act the same from every
// control of the window. A text field would otherwise claim some of them for its key bindings
// first: on X11 a line edit takes Ctrl+E to the end of the line.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

class WindowShortcuts : public QObject
{
public:
    // Watches the key events of every control of window (the application's filter: the find
    // field and other controls made later are covered too).
    WindowShortcuts(QWidget &window, const QList<QAction *> &actions);
    ~WindowShortcuts() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
    QList<QPointer<QAction>> m_actions;
};
