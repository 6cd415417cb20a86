#include "mainwindow/HeldNoticePrompter.h"

#include <utility>

HeldNoticePrompter::HeldNoticePrompter(Prompter &shown)
    : m_shown(shown)
{ }

void HeldNoticePrompter::message(const QString &text, const QString &caption)
{
    m_shown.message(text, caption);
}

Prompter::Answer HeldNoticePrompter::question(
    const QString &text, const QString &caption, Answer defaultButton)
{
    return m_shown.question(text, caption, defaultButton);
}

QString HeldNoticePrompter::input(
    const QString &prompt, const QString &caption, const QString &defaultText)
{
    return m_shown.input(prompt, caption, defaultText);
}

QString HeldNoticePrompter::openFile(const QString &title, const QString &filter)
{
    return m_shown.openFile(title, filter);
}

QString HeldNoticePrompter::saveFile(
    const QString &title, const QString &filter, const QString &suggestedName)
{
    return m_shown.saveFile(title, filter, suggestedName);
}

bool HeldNoticePrompter::choosePrinter(QPrinter &printer)
{
    return m_shown.choosePrinter(printer);
}

void HeldNoticePrompter::notice(const QString &text, const QString &caption)
{
    if (m_holding)
        m_held.append({ text, caption });
    else
        m_shown.notice(text, caption);
}

void HeldNoticePrompter::hold()
{
    m_holding = true;
}

void HeldNoticePrompter::release()
{
    m_holding = false;
    const QList<Notice> held = std::exchange(m_held, {});
    for (const Notice &notice : held)
        m_shown.notice(notice.text, notice.caption);
}

QList<HeldNoticePrompter::Notice> HeldNoticePrompter::takeHeld()
{
    m_holding = false;
    return std::exchange(m_held, {});
}
