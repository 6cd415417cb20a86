#include "mainwindow/EarlierVersionsWindow.h"

#include "editor/RichTextBox.h"
#include "rtf/RtfReader.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {
constexpr int firstWordCount = 8;
constexpr double previewFontPoints = 10.0;
const QSize smallest(620, 440);

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

EarlierVersionsWindow::EarlierVersionsWindow(
    const QString &noteName, Entries entries, Restore restore, QWidget *parent)
    : QDialog(parent)
    , m_entries(std::move(entries))
    , m_restore(std::move(restore))
{
    setObjectName(QStringLiteral("frmEarlierVersions"));
    setWindowTitle(caption(noteName));
    setModal(true);

    auto *versionsLabel = new QLabel(QStringLiteral("&Versions, newest first:"), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstVersions"));
    versionsLabel->setBuddy(m_list);
    m_empty = new QLabel(QStringLiteral("This note has no earlier versions yet."), this);
    m_preview = new RichTextBox(this);
    m_preview->setObjectName(QStringLiteral("rtfVersion"));
    m_preview->setReadOnly(true);
    m_preview->setFontSize(previewFontPoints);

    m_restoreButton = new QPushButton(QStringLiteral("&Restore"), this);
    m_restoreButton->setObjectName(QStringLiteral("cmdRestore"));
    m_copyButton = new QPushButton(QStringLiteral("&Copy"), this);
    m_copyButton->setObjectName(QStringLiteral("cmdCopy"));
    auto *closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("cmdCloseVersions"));
    for (QPushButton *button : { m_restoreButton, m_copyButton, closeButton }) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_restoreButton);
    buttons->addWidget(m_copyButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(versionsLabel);
    layout->addWidget(m_list, 2);
    layout->addWidget(m_empty);
    layout->addWidget(m_preview, 3);
    layout->addLayout(buttons);

    connect(m_list, &QListWidget::currentRowChanged, this, &EarlierVersionsWindow::showChosen);
    connect(m_restoreButton, &QPushButton::clicked, this, &EarlierVersionsWindow::cmdRestore_Click);
    connect(m_copyButton, &QPushButton::clicked, this, &EarlierVersionsWindow::cmdCopy_Click);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    fill();
    // Wide enough for the list's lines, never wider or taller than the screen.
    QSize size = sizeHint().expandedTo(smallest);
    size.setWidth(std::max(size.width(), m_list->sizeHintForColumn(0) + 48));
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
    m_list->setFocus();
}

QString EarlierVersionsWindow::firstWords(const QByteArray &rtf)
{
    QTextDocument document;
    RtfReader().read(rtf, &document);
    const QStringList words = document.toPlainText().simplified().split(QLatin1Char(' '));
    QString text = words.mid(0, firstWordCount).join(QLatin1Char(' '));
    if (words.size() > firstWordCount)
        text += QStringLiteral("...");
    return text;
}

QString EarlierVersionsWindow::describe(const NoteHistory::Entry &entry, const QString &words)
{
    const QLocale locale;
    QString line = locale.toString(entry.time.toLocalTime(), QLocale::ShortFormat)
        + QStringLiteral("   ") + locale.formattedDataSize(entry.size);
    if (entry.kind == NoteHistory::Entry::Kind::KeptCopy)
        line += QStringLiteral("   (kept copy)");
    else if (entry.kind == NoteHistory::Entry::Kind::Removed)
        line += QStringLiteral("   (removed note)");
    return line + QStringLiteral("   ") + words;
}

void EarlierVersionsWindow::fill()
{
    m_shown = m_entries();
    m_list->clear();
    for (const NoteHistory::Entry &entry : std::as_const(m_shown))
        m_list->addItem(describe(entry, firstWords(readAll(entry.path))));
    const bool any = !m_shown.isEmpty();
    m_empty->setVisible(!any);
    m_restoreButton->setEnabled(any);
    m_copyButton->setEnabled(any);
    if (any)
        m_list->setCurrentRow(0);
    else
        m_preview->setText(QString());
}

QByteArray EarlierVersionsWindow::chosenRtf() const
{
    const int row = m_list->currentRow();
    return row >= 0 && row < m_shown.size() ? readAll(m_shown[row].path) : QByteArray();
}

void EarlierVersionsWindow::showChosen()
{
    m_preview->loadRtf(chosenRtf());
}

void EarlierVersionsWindow::cmdRestore_Click()
{
    if (m_list->currentRow() < 0)
        return;
    if (m_restore(chosenRtf()))
        accept();
}

void EarlierVersionsWindow::cmdCopy_Click()
{
    if (m_list->currentRow() < 0)
        return;
    // The preview's own copy puts the rich text and the plain text on the clipboard.
    m_preview->selectAll();
    m_preview->copy();
    QTextCursor cursor = m_preview->textCursor();
    cursor.clearSelection();
    m_preview->setTextCursor(cursor);
}
