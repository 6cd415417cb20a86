#include "mainwindow/NotePrintCommands.h"

#include "editor/NotePrinter.h"
#include "editor/RichTextBox.h"
#include "mainwindow/CurrentNote.h"
#include "platform/Prompter.h"
#include "storage/FileStore.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QEvent>
#include <QPdfWriter>
#include <QPrinter>

NotePrintCommands::NotePrintCommands(QAction *print, QAction *exportPdf, CurrentNote &current,
    RichTextBox *projectBox, std::function<QString()> title, Prompter &prompter, FileStore &files,
    QObject *parent)
    : QObject(parent)
    , m_print(print)
    , m_exportPdf(exportPdf)
    , m_current(current)
    , m_projectBox(projectBox)
    , m_title(std::move(title))
    , m_prompter(prompter)
    , m_files(files)
{
    connect(print, &QAction::triggered, this, &NotePrintCommands::print);
    connect(exportPdf, &QAction::triggered, this, &NotePrintCommands::exportPdf);
    connect(&current, &CurrentNote::changed, this, &NotePrintCommands::updateCommands);
    projectBox->installEventFilter(this);
    updateCommands();
}

QString NotePrintCommands::printFailedText()
{
    return QStringLiteral("The note could not be printed.");
}

QString NotePrintCommands::exportFailedText(const QString &path, const QString &error)
{
    return QStringLiteral("The PDF could not be written to %1.  %2")
        .arg(QDir::toNativeSeparators(path), error);
}

bool NotePrintCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_projectBox && event->type() == QEvent::EnabledChange)
        updateCommands();
    return QObject::eventFilter(watched, event);
}

bool NotePrintCommands::canPrint() const
{
    return !(m_current.isProjectNote() && !m_projectBox->isEnabled());
}

void NotePrintCommands::updateCommands()
{
    const bool enabled = canPrint();
    m_print->setEnabled(enabled);
    m_exportPdf->setEnabled(enabled);
}

void NotePrintCommands::print()
{
    if (!canPrint())
        return;
    const QString title = m_title();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    if (!m_prompter.choosePrinter(printer))
        return;
    if (!NotePrinter::print(*m_current.box()->document(), title, printer))
        m_prompter.message(printFailedText(), QStringLiteral("Print"));
}

void NotePrintCommands::exportPdf()
{
    if (!canPrint())
        return;
    const QString title = m_title();
    const QString path = m_prompter.saveFile(QStringLiteral("Export as PDF"),
        QStringLiteral("PDF Files|*.pdf"), title + QStringLiteral(".pdf"));
    if (path.isEmpty())
        return;
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    bool printed = false;
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Quillmark"));
        printed = NotePrinter::print(*m_current.box()->document(), title, writer);
    }
    // Written whole or not at all, as every file of the program.
    if (!printed)
        m_prompter.message(
            exportFailedText(path, printFailedText()), QStringLiteral("Export as PDF"));
    else if (!m_files.writeFileAtomic(path, pdf.data()))
        m_prompter.message(
            exportFailedText(path, m_files.errorString()), QStringLiteral("Export as PDF"));
}
