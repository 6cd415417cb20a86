// A notice: a message box that tells the user something without taking the keyboard from the note
// being typed in. It is shown without activation, has no default button and no button that takes
// the focus, so neither Enter nor Space closes it unread; it closes by its OK, or by Esc once the
// user has clicked into it. A window manager that activates it anyway gets the activation handed
// back to the window that had it.
#pragma once

#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>

class NoticeBox : public QMessageBox
{
    Q_OBJECT
public:
    NoticeBox(const QString &caption, const QString &text, QWidget *parent = nullptr);

    // Shows the notice, over its parent window; one whose parent is not shown yet waits for it. It
    // deletes itself when closed.
    void showNotice();

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showNow();
    void handBackActivation();

    QPointer<QWidget> m_previousWindow;
    QPointer<QWidget> m_previousFocus;
    QElapsedTimer m_shown;
    bool m_clicked = false;
};
