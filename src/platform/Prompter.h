// Every question and notice the program puts to the user: message boxes, the input box, the
// open-file and save-file dialogs and the print dialog. Tests script the answers; the program shows
// Qt dialogs (QtPrompter).
#pragma once

#include <QString>

class QPrinter;

class Prompter
{
public:
    enum class Answer { Yes, No };

    virtual ~Prompter() = default;

    // A modal message with an OK button and no icon.
    virtual void message(const QString &text, const QString &caption) = 0;
    // A modal question with Yes and No, no icon; Enter gives defaultButton. A question whose Yes
    // throws something away has No as its default.
    virtual Answer question(const QString &text, const QString &caption, Answer defaultButton) = 0;
    // A modal input box; an empty text when the user cancels.
    virtual QString input(const QString &prompt, const QString &caption, const QString &defaultText)
        = 0;
    // The open-file dialog; filter is in the form "Name|pattern|Name|pattern". Empty when
    // cancelled.
    virtual QString openFile(const QString &title, const QString &filter) = 0;
    // The save-file dialog, filter as openFile's, offering suggestedName in the last folder used.
    // Empty when cancelled.
    virtual QString saveFile(
        const QString &title, const QString &filter, const QString &suggestedName)
        = 0;
    // The print dialog: the user chooses the printer and its settings. False when cancelled.
    virtual bool choosePrinter(QPrinter &printer) = 0;
    // A notice: a non-modal message box that leaves the keyboard where it was (NoticeBox).
    virtual void notice(const QString &text, const QString &caption) = 0;
};
