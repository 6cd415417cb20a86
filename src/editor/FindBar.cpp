#include "editor/FindBar.h"

#include "editor/RichTextBox.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocument>
#include <QToolButton>

namespace {
QToolButton *makeButton(
    QWidget *parent, const QString &name, const QString &glyph, const QString &tip)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    // A glyph of the font rather than a picture: sharp at every scale.
    button->setText(glyph);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
} // namespace

FindBar::FindBar(RichTextBox *box)
    : QFrame(box)
    , m_box(box)
{
    setObjectName(QStringLiteral("findBar"));
    setAccessibleName(tr("Find"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    // The bar lies over the text: it takes the arrow pointer, not the text's I-beam.
    setCursor(Qt::ArrowCursor);

    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("findText"));
    m_field->setAccessibleName(tr("Find"));
    m_field->setPlaceholderText(tr("Find"));
    m_field->setClearButtonEnabled(false);
    m_field->installEventFilter(this);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("findCount"));
    m_count->setAccessibleName(tr("Matches"));

    m_previous = makeButton(this, QStringLiteral("findPrevious"), QStringLiteral("\u25B2"),
        tr("Previous match (Shift+Enter)"));
    m_next = makeButton(
        this, QStringLiteral("findNext"), QStringLiteral("\u25BC"), tr("Next match (Enter)"));
    m_close = makeButton(
        this, QStringLiteral("findClose"), QStringLiteral("\u2715"), tr("Close find (Esc)"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_count);
    layout->addWidget(m_previous);
    layout->addWidget(m_next);
    layout->addWidget(m_close);

    connect(m_field, &QLineEdit::textEdited, this,
        [this] { search(m_box->textCursor().selectionStart()); });
    connect(m_previous, &QToolButton::clicked, this, &FindBar::findPrevious);
    connect(m_next, &QToolButton::clicked, this, &FindBar::findNext);
    connect(m_close, &QToolButton::clicked, this, &FindBar::close);

    // Matches follow the text while it is edited with the bar open.
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    connect(&m_refresh, &QTimer::timeout, this, [this] {
        if (isVisible())
            search(m_current >= 0 && m_current < m_matches.size()
                    ? m_matches.at(m_current).selectionStart()
                    : m_box->textCursor().selectionStart());
    });
    const auto followDocument = [this] {
        connect(m_box->document(), &QTextDocument::contentsChange, this,
            [this](int, int removed, int added) {
                if (isVisible() && (removed || added))
                    m_refresh.start();
            });
    };
    followDocument();
    // A loaded note is a new document: the matches are looked for again in it.
    connect(box, &RichTextBox::documentReplaced, this, [this, followDocument] {
        followDocument();
        m_matches.clear();
        if (isVisible())
            m_refresh.start();
    });
    hide();
}

void FindBar::open()
{
    const QTextCursor selection = m_box->textCursor();
    const QString selected = selection.selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)
        && !selected.contains(QChar::LineSeparator))
        m_field->setText(selected);
    show();
    raise();
    place();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
    search(selection.selectionStart());
}

void FindBar::close()
{
    m_refresh.stop();
    m_matches.clear();
    m_current = -1;
    m_box->setHighlights(RichTextBox::FindHighlights, {});
    hide();
    m_box->setFocus(Qt::OtherFocusReason);
}

void FindBar::setText(const QString &text)
{
    m_field->setText(text);
    search(m_box->textCursor().selectionStart());
}

QString FindBar::text() const
{
    return m_field->text();
}

void FindBar::place()
{
    const QRect area = m_box->viewport()->geometry();
    const int margin = 4;
    const int width = qMin(qMax(sizeHint().width(), 260), area.width() - 2 * margin);
    const int height = sizeHint().height();
    setGeometry(area.right() - margin - width + 1, area.top() + margin, qMax(width, 0), height);
}

void FindBar::search(int from)
{
    m_matches.clear();
    m_current = -1;
    const QString wanted = m_field->text();
    if (!wanted.isEmpty()) {
        QTextDocument *document = m_box->document();
        QTextCursor match = document->find(wanted, 0);
        while (!match.isNull()) {
            m_matches.append(match);
            if (m_current < 0 && match.selectionStart() >= from)
                m_current = int(m_matches.size()) - 1;
            match = document->find(wanted, match.selectionEnd());
        }
        if (m_current < 0 && !m_matches.isEmpty())
            m_current = 0;
    }
    if (m_current >= 0)
        select(m_current);
    else
        showHighlights();
    showCount();
}

void FindBar::findNext()
{
    if (m_matches.isEmpty())
        return;
    select((m_current + 1) % int(m_matches.size()));
    showCount();
}

void FindBar::findPrevious()
{
    if (m_matches.isEmpty())
        return;
    select((m_current - 1 + int(m_matches.size())) % int(m_matches.size()));
    showCount();
}

void FindBar::select(int index)
{
    m_current = index;
    m_box->setTextCursor(m_matches.at(index));
    m_box->ensureCursorVisible();
    showHighlights();
}

void FindBar::showHighlights()
{
    QList<QTextEdit::ExtraSelection> highlights;
    for (int i = 0; i < m_matches.size(); ++i) {
        QTextEdit::ExtraSelection highlight;
        highlight.cursor = m_matches.at(i);
        highlight.format.setBackground(
            i == m_current ? QColor(255, 150, 50) : QColor(255, 230, 110));
        highlight.format.setForeground(QColor(Qt::black));
        highlights.append(highlight);
    }
    m_box->setHighlights(RichTextBox::FindHighlights, highlights);
}

void FindBar::showCount()
{
    if (m_field->text().isEmpty())
        m_count->clear();
    else if (m_matches.isEmpty())
        m_count->setText(tr("No matches"));
    else
        m_count->setText(tr("%1 of %2").arg(m_current + 1).arg(m_matches.size()));
    place();
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier)
                findPrevious();
            else
                findNext();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            close();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}
