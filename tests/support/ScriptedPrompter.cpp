#include "support/ScriptedPrompter.h"

void ScriptedPrompter::message(const QString &text, const QString &caption)
{
    m_shown.append({ QStringLiteral("message"), text, caption, {} });
}

Prompter::Answer ScriptedPrompter::question(
    const QString &text, const QString &caption, Answer defaultButton)
{
    m_shown.append({ QStringLiteral("question"), text, caption, {}, defaultButton });
    if (duringQuestion)
        duringQuestion(text);
    return m_answers.isEmpty() ? Answer::Yes : m_answers.dequeue();
}

QString ScriptedPrompter::input(
    const QString &prompt, const QString &caption, const QString &defaultText)
{
    m_shown.append({ QStringLiteral("input"), prompt, caption, defaultText });
    return m_inputs.isEmpty() ? QString() : m_inputs.dequeue();
}

QString ScriptedPrompter::openFile(const QString &title, const QString &filter)
{
    m_shown.append({ QStringLiteral("openFile"), title, title, filter });
    return m_files.isEmpty() ? QString() : m_files.dequeue();
}

QString ScriptedPrompter::saveFile(
    const QString &title, const QString &filter, const QString &suggestedName)
{
    m_shown.append({ QStringLiteral("saveFile"), suggestedName, title, filter });
    return m_saveFiles.isEmpty() ? QString() : m_saveFiles.dequeue();
}

bool ScriptedPrompter::choosePrinter(QPrinter &printer)
{
    m_shown.append({ QStringLiteral("print"), {}, {}, {} });
    return answerPrint && answerPrint(printer);
}

void ScriptedPrompter::notice(const QString &text, const QString &caption)
{
    m_shown.append({ QStringLiteral("notice"), text, caption, {} });
}

QList<ScriptedPrompter::Shown> ScriptedPrompter::shownOfKind(const QString &kind) const
{
    QList<Shown> result;
    for (const Shown &shown : m_shown)
        if (shown.kind == kind)
            result.append(shown);
    return result;
}
