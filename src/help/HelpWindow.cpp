#include "help/HelpWindow.h"

#include "editor/RichTextBox.h"
#include "forms/ui_frmHelp.h"
#include "help/Links.h"
#include "storage/FileStore.h"

#include <QCloseEvent>
#include <QTextCharFormat>

namespace {
const QString crlf = QStringLiteral("\r\n");
}

HelpWindow::HelpWindow(const QString &helpFile, FileStore &files, QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::frmHelp>())
    , m_helpFile(helpFile)
    , m_files(files)
{
    ui->setupUi(this);
    // A fixed dialog border with a close box only: the user can neither resize, minimise nor
    // maximise it.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(size());
    // The help text is read, not edited: its box offers copy, select all and find only.
    ui->rtfText->setReadOnly(true);

    connect(ui->cmdOK, &QAbstractButton::clicked, this, &HelpWindow::cmdOK_Click);
    connect(ui->cmdAbout, &QAbstractButton::clicked, this, &HelpWindow::cmdAbout_Click);
    connect(ui->cmdHelp, &QAbstractButton::clicked, this, &HelpWindow::cmdHelp_Click);
}

HelpWindow::~HelpWindow() = default;

QString HelpWindow::notFoundText()
{
    return QStringLiteral("Help file not found.") + crlf + crlf + QStringLiteral("Please see ")
        + Links::siteRoot() + QStringLiteral("/ for assistance.");
}

QString HelpWindow::aboutText()
{
    return QStringLiteral("Application by: Vennick") + crlf + QStringLiteral("Name: Quillmark")
        + crlf
        + QStringLiteral("Purpose: Easily track your 'todo' projects, tasks, and keep daily notes.")
        + crlf + crlf + QStringLiteral("Online: ") + Links::siteHost() + crlf
        + QStringLiteral("Support: ") + Links::siteRoot() + QStringLiteral("/supportform.php")
        + crlf + crlf;
}

RichTextBox *HelpWindow::textBox() const
{
    return ui->rtfText;
}

QString HelpWindow::helpFilePath() const
{
    return m_helpFile;
}

void HelpWindow::Form_Load(const QPoint &topLeft)
{
    showHelpFile();
    move(topLeft);
    show();
}

void HelpWindow::showHelpFile()
{
    // A file that is there but is not RTF leaves the box as it was.
    if (m_files.fileExists(helpFilePath()))
        ui->rtfText->loadFile(helpFilePath());
    else
        setPlainText(notFoundText());
}

void HelpWindow::setPlainText(const QString &text)
{
    // Plain text takes the format of the caret, which after the help file is that of its heading:
    // start from the box's own font instead.
    ui->rtfText->setCurrentCharFormat(QTextCharFormat());
    ui->rtfText->setText(text);
}

void HelpWindow::cmdAbout_Click()
{
    setPlainText(aboutText());
}

void HelpWindow::cmdHelp_Click()
{
    showHelpFile();
}

void HelpWindow::cmdOK_Click()
{
    close();
}

void HelpWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit Form_Unload();
}
