// The help and about window: the help file "help.rtf" (beside the program, or in its installed data
// folder), or the about text.
// It is made afresh for every opening, so every opening reads the help file again.
#pragma once

#include <QPoint>
#include <QString>
#include <QWidget>
#include <memory>

namespace Ui {
class frmHelp;
}
class FileStore;
class RichTextBox;

class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    HelpWindow(const QString &helpFile, FileStore &files, QWidget *parent = nullptr);
    ~HelpWindow() override;

    // The opening: the help file (or the not-found text), the window's top-left corner on
    // topLeft (frame positions, as the main window's pos()), then shown modeless.
    void Form_Load(const QPoint &topLeft);

    // "About": the about text in place of whatever the box showed.
    void cmdAbout_Click();
    // "Show Help": the help file again (or the not-found text).
    void cmdHelp_Click();
    // "OK": closes the window, as its close box does.
    void cmdOK_Click();

    RichTextBox *textBox() const;
    QString helpFilePath() const;

    // Shown when the help file is missing: three lines, no line end after the last.
    static QString notFoundText();
    // Seven lines, each ending in CR LF.
    static QString aboutText();

signals:
    // The window is closing, by "OK" or by its close box. Whoever opened it shows the main window
    // again and lets the window go.
    void Form_Unload();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showHelpFile();
    void setPlainText(const QString &text);

    std::unique_ptr<Ui::frmHelp> ui;
    QString m_helpFile;
    FileStore &m_files;
};
