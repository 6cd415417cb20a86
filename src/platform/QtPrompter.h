// The Prompter of the real program: Qt message boxes, input box, file and print dialogs.
#pragma once

#include "platform/Prompter.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QtPrompter : public Prompter
{
public:
    // parentWindow gives the window the dialogs belong to (the active window when it gives none).
    explicit QtPrompter(std::function<QWidget *()> parentWindow = {});

    void message(const QString &text, const QString &caption) override;
    Answer question(const QString &text, const QString &caption, Answer defaultButton) override;
    QString input(
        const QString &prompt, const QString &caption, const QString &defaultText) override;
    QString openFile(const QString &title, const QString &filter) override;
    QString saveFile(
        const QString &title, const QString &filter, const QString &suggestedName) override;
    bool choosePrinter(QPrinter &printer) override;
    void notice(const QString &text, const QString &caption) override;

    // "Name|pattern|Name|pattern" as Qt's filter list ("Name (pattern)"); "*.*" matches every file.
    static QStringList qtFilters(const QString &filter);
    // How wide a box must be for the window manager to show its whole caption.
    static int widthForCaption(const QString &caption, const QFont &font);

private:
    QWidget *parent() const;

    std::function<QWidget *()> m_parentWindow;
};
