#include "editor/ScrollBarHold.h"

#include "editor/LayoutPacer.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <limits>

namespace {
// Half the height at which Qt's sum overflows, for the growth between two of its reports.
constexpr qreal tallHeight = std::numeric_limits<int>::max() / 100 / 2;
} // namespace

ScrollBarHold::ScrollBarHold(QTextEdit *box, const LayoutPacer &pacer)
    : QObject(box)
    , m_box(box)
    , m_pacer(pacer)
{ }

void ScrollBarHold::prepare(QTextDocument *incoming, bool overflows)
{
    hold(Hold::None);
    // Connected before the box's own: the value is known before Qt sets a range that cuts it.
    connect(incoming->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
        &ScrollBarHold::rememberValue);
    if (!m_box->isVisible() || m_box->verticalScrollBarPolicy() != Qt::ScrollBarAsNeeded)
        return;
    // Known without a pass over every block of the incoming document.
    if (overflows) {
        hold(Hold::UntilOverflow);
        return;
    }
    // Whether the text overflows the box at the width it has beside a scroll bar: only the
    // blocks of the first screen are laid out to know it.
    const int extent = m_box->verticalScrollBar()->isVisible()
        ? 0
        : m_box->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_box);
    incoming->setTextWidth(m_box->viewport()->width() - extent);
    QAbstractTextDocumentLayout *layout = incoming->documentLayout();
    const int height = m_box->viewport()->height();
    for (QTextBlock block = incoming->begin(); block.isValid(); block = block.next()) {
        if (layout->blockBoundingRect(block).bottom() > height) {
            hold(Hold::UntilOverflow);
            return;
        }
    }
}

void ScrollBarHold::follow(QTextDocument *document)
{
    if (m_document && m_document != document)
        m_document->documentLayout()->disconnect(this);
    m_document = document;
    // Connected after the box's own, which sets the range first.
    connect(document->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
        &ScrollBarHold::sizeChanged, Qt::UniqueConnection);
}

void ScrollBarHold::hold(Hold hold)
{
    if (hold == m_hold)
        return;
    // Only a bar held here is let go: a policy set by the box's owner stays.
    if (hold == Hold::None)
        m_box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    else if (m_hold == Hold::None)
        m_box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_hold = hold;
    m_range = 0;
}

void ScrollBarHold::rememberValue()
{
    m_value = m_box->verticalScrollBar()->value();
}

void ScrollBarHold::sizeChanged(const QSizeF &documentSize)
{
    if (m_hold == Hold::UntilOverflow && documentSize.height() > m_box->viewport()->height())
        hold(Hold::None);
    if (m_hold != Hold::WhileShown && documentSize.height() > tallHeight
        && m_box->verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded)
        hold(Hold::WhileShown);
    if (m_hold == Hold::WhileShown)
        setTallRange(documentSize);
    m_value.reset();
}

void ScrollBarHold::setTallRange(const QSizeF &documentSize)
{
    if (!m_document)
        return;
    // A new width lays the note out again from its start.
    if (m_document->textWidth() != m_width) {
        m_width = m_document->textWidth();
        m_range = 0;
    }
    // The part laid out so far stands for the whole in proportion to its characters, as in Qt.
    const bool growing = m_pacer.isPacing();
    const qreal laidOut = growing
        ? qMax(1, m_pacer.laidOutCharacters()) / qreal(m_document->characterCount())
        : 1.0;
    const qreal whole = documentSize.height() / laidOut - m_box->viewport()->height();
    // Past about 33 million pixels Qt's layout positions wrap round: while the layout grows, the
    // range does not shrink.
    if (whole > (growing ? m_range : 0))
        m_range = int(qMin<qreal>(whole, std::numeric_limits<int>::max()));
    QScrollBar *bar = m_box->verticalScrollBar();
    bar->setRange(0, m_range);
    if (m_value)
        bar->setValue(*m_value);
}
