#include "platform/NoticeBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

namespace {
// An activation this soon after the show, without a click in the notice, was not the user's.
constexpr qint64 unaskedActivationMs = 1000;
} // namespace

NoticeBox::NoticeBox(const QString &caption, const QString &text, QWidget *parent)
    : QMessageBox(QMessageBox::Information, caption, text, QMessageBox::Ok, parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowModality(Qt::NonModal);
    // Enter and Space reach no button: the notice is never closed by a key meant for the note.
    QAbstractButton *ok = button(QMessageBox::Ok);
    if (auto *push = qobject_cast<QPushButton *>(ok)) {
        push->setAutoDefault(false);
        push->setDefault(false);
    }
    ok->setFocusPolicy(Qt::NoFocus);
    setEscapeButton(ok);
}

void NoticeBox::showEvent(QShowEvent *event)
{
    QMessageBox::showEvent(event);
    // The button box makes its first button the default as it is shown: take that back.
    if (auto *ok = qobject_cast<QPushButton *>(button(QMessageBox::Ok)))
        ok->setDefault(false);
}

void NoticeBox::showNotice()
{
    QWidget *window = parentWidget() ? parentWidget()->window() : nullptr;
    if (window && !window->isVisible()) {
        window->installEventFilter(this);
        return;
    }
    showNow();
}

void NoticeBox::showNow()
{
    m_previousWindow = QApplication::activeWindow();
    m_previousFocus = QApplication::focusWidget();
    // A click anywhere in the notice (its text, its icon, its button) is the user's own activation.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
    installEventFilter(this);
    m_shown.start();
    show();
}

bool NoticeBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && parentWidget() && watched == parentWidget()->window()
        && !isVisible()) {
        watched->removeEventFilter(this);
        // Once the window is on the screen, so that the notice lies over it.
        QTimer::singleShot(0, this, &NoticeBox::showNow);
    }
    if (event->type() == QEvent::MouseButtonPress)
        m_clicked = true;
    return QMessageBox::eventFilter(watched, event);
}

bool NoticeBox::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && !m_clicked && m_shown.isValid()
        && m_shown.elapsed() < unaskedActivationMs
        && QGuiApplication::mouseButtons() == Qt::NoButton)
        // After the activation has been delivered: the window manager may still be busy with it.
        QTimer::singleShot(0, this, &NoticeBox::handBackActivation);
    return QMessageBox::event(event);
}

void NoticeBox::handBackActivation()
{
    if (m_clicked || !m_previousWindow || !m_previousWindow->isVisible())
        return;
    m_previousWindow->activateWindow();
    if (m_previousFocus)
        m_previousFocus->setFocus(Qt::ActiveWindowFocusReason);
}
