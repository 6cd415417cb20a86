#include "platform/QtPrompter.h"

#include "platform/NoticeBox.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

QtPrompter::QtPrompter(std::function<QWidget *()> parentWindow)
    : m_parentWindow(std::move(parentWindow))
{ }

QWidget *QtPrompter::parent() const
{
    QWidget *window = m_parentWindow ? m_parentWindow() : nullptr;
    if (!window || !window->isVisible())
        window = QApplication::activeWindow();
    return window;
}

void QtPrompter::message(const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent());
    box.exec();
}

Prompter::Answer QtPrompter::question(
    const QString &text, const QString &caption, Answer defaultButton)
{
    QMessageBox box(
        QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, parent());
    box.setDefaultButton(defaultButton == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::No ? Answer::No : Answer::Yes;
}

int QtPrompter::widthForCaption(const QString &caption, const QFont &font)
{
    // The window manager draws the caption in its own font, often bold and a little larger, beside
    // an icon and three buttons: the box is made wide enough for that, or the caption is cut.
    QFont titleFont = font;
    titleFont.setBold(true);
    const int captionWidth = QFontMetrics(titleFont).horizontalAdvance(caption);
    constexpr int titleBarRoom = 140;
    return captionWidth * 5 / 4 + titleBarRoom;
}

QString QtPrompter::input(const QString &prompt, const QString &caption, const QString &defaultText)
{
    QInputDialog dialog(parent());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    // The dialog takes its size from its layout: the field carries the width.
    if (auto *field = dialog.findChild<QLineEdit *>())
        field->setMinimumWidth(widthForCaption(caption, dialog.font()));
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

QStringList QtPrompter::qtFilters(const QString &filter)
{
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts.at(i + 1);
        // "*.*" names every file, also one without a dot, as on the desktop the filter comes from.
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        // Qt takes the patterns from the last brackets; the name keeps its own ("All Files (*.*)").
        filters.append(QStringLiteral("%1 (%2)").arg(parts.at(i), pattern));
    }
    return filters;
}

QString QtPrompter::openFile(const QString &title, const QString &filter)
{
    QFileDialog dialog(parent(), title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The dialog shows each filter by its name alone, as the names were written to be read.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(qtFilters(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPrompter::saveFile(
    const QString &title, const QString &filter, const QString &suggestedName)
{
    QFileDialog dialog(parent(), title);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(qtFilters(filter));
    // A name typed without its ending gets the one the filter names ("*.pdf").
    const QString pattern = filter.section(QLatin1Char('|'), 1, 1);
    if (pattern.startsWith(QStringLiteral("*.")) && pattern != QStringLiteral("*.*"))
        dialog.setDefaultSuffix(pattern.mid(2));
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool QtPrompter::choosePrinter(QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent());
    return dialog.exec() == QDialog::Accepted;
}

void QtPrompter::notice(const QString &text, const QString &caption)
{
    // A notice raised while the window is still opening belongs to it all the same: it waits for
    // the window and is shown over it, not under it.
    QWidget *window = m_parentWindow ? m_parentWindow() : nullptr;
    (new NoticeBox(caption, text, window ? window : parent()))->showNotice();
}
