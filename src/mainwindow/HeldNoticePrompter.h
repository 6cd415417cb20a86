// The prompter of the main window's handlers: it passes every question and notice to the
// program's own, except that while it holds, notices wait. The closing holds them: a notice shown
// by a program that then ends is never seen, so the close names them in one message instead.
#pragma once

#include "platform/Prompter.h"

#include <QList>

class HeldNoticePrompter : public Prompter
{
public:
    explicit HeldNoticePrompter(Prompter &shown);

    void message(const QString &text, const QString &caption) override;
    Answer question(const QString &text, const QString &caption, Answer defaultButton) override;
    QString input(
        const QString &prompt, const QString &caption, const QString &defaultText) override;
    QString openFile(const QString &title, const QString &filter) override;
    QString saveFile(
        const QString &title, const QString &filter, const QString &suggestedName) override;
    bool choosePrinter(QPrinter &printer) override;
    void notice(const QString &text, const QString &caption) override;

    // From now on notices wait.
    void hold();
    // Shows the waiting notices as notices and stops holding.
    void release();
    struct Notice
    {
        QString text;
        QString caption;
    };
    // The waiting notices, which are forgotten; holding stops.
    QList<Notice> takeHeld();

private:
    Prompter &m_shown;
    bool m_holding = false;
    QList<Notice> m_held;
};
