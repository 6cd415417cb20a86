// A Prompter for tests: answers come from a script, and every dialog shown is recorded with its
// exact text and caption. An unscripted question answers Yes; an unscripted input is cancelled.
#pragma once

#include "platform/Prompter.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <functional>

class ScriptedPrompter : public Prompter
{
public:
    struct Shown
    {
        QString kind; // "message", "question", "input", "openFile", "saveFile", "print", "notice"
        QString text;
        QString caption;
        // The text is the name a save-file dialog offers.
        QString extra; // default text of an input box, filter of a file dialog
        Prompter::Answer defaultButton = Prompter::Answer::Yes; // of a question
    };

    void answerQuestion(Answer answer) { m_answers.enqueue(answer); }
    void answerInput(const QString &text) { m_inputs.enqueue(text); }
    void answerOpenFile(const QString &path) { m_files.enqueue(path); }
    void answerSaveFile(const QString &path) { m_saveFiles.enqueue(path); }
    // Answers the print dialog: sets the printer up (a PDF file, say) and says whether it was
    // accepted. Unscripted, the dialog is cancelled.
    std::function<bool(QPrinter &)> answerPrint;

    void message(const QString &text, const QString &caption) override;
    Answer question(const QString &text, const QString &caption, Answer defaultButton) override;
    QString input(
        const QString &prompt, const QString &caption, const QString &defaultText) override;
    QString openFile(const QString &title, const QString &filter) override;
    QString saveFile(
        const QString &title, const QString &filter, const QString &suggestedName) override;
    bool choosePrinter(QPrinter &printer) override;
    void notice(const QString &text, const QString &caption) override;

    const QList<Shown> &shown() const { return m_shown; }
    QList<Shown> shownOfKind(const QString &kind) const;
    void clear() { m_shown.clear(); }

    // Runs while a question is open, before it is answered (for things that happen meanwhile).
    std::function<void(const QString &text)> duringQuestion;

private:
    QQueue<Answer> m_answers;
    QQueue<QString> m_inputs;
    QQueue<QString> m_files;
    QQueue<QString> m_saveFiles;
    QList<Shown> m_shown;
};
