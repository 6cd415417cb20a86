// File > "Print..." and "Export as PDF..." of the current note: its title above every page and
// "Page N of M" below. Both are off while the current note is the empty, disabled project editor.
#pragma once

#include <QObject>
#include <functional>

class CurrentNote;
class FileStore;
class Prompter;
class QAction;
class RichTextBox;

class NotePrintCommands : public QObject
{
    Q_OBJECT
public:
    NotePrintCommands(QAction *print, QAction *exportPdf, CurrentNote &current,
        RichTextBox *projectBox, std::function<QString()> title, Prompter &prompter,
        FileStore &files, QObject *parent = nullptr);

    // The text of the message a failed print or PDF export shows.
    static QString printFailedText();
    static QString exportFailedText(const QString &path, const QString &error);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool canPrint() const;
    void updateCommands();
    void print();
    void exportPdf();

    QAction *m_print;
    QAction *m_exportPdf;
    CurrentNote &m_current;
    RichTextBox *m_projectBox;
    std::function<QString()> m_title;
    Prompter &m_prompter;
    FileStore &m_files;
};
