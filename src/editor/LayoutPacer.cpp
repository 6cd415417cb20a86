#include "editor/LayoutPacer.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QEvent>
#include <QTextBlock>
#include <QTextDocument>

namespace {
// Below this many characters Qt's own steps stay short.
constexpr int pacedCharacters = 200000;
constexpr int firstStep = 4000;
// The time a slice aims at, in milliseconds.
constexpr qint64 sliceMs = 8;
// How often the laid-out size is reported, in milliseconds.
constexpr qint64 reportMs = 100;
// Qt's layout keeps its heights in 26.6 fixed point in an int: past 33,554,431 pixels (about
// 2.2 million lines) they wrap round and its layout never ends. The layout stops short of it.
constexpr qreal tallestLayout = 30'000'000;
} // namespace

LayoutPacer::LayoutPacer(QObject *parent)
    : QObject(parent)
{
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &LayoutPacer::step);
}

void LayoutPacer::start(QTextDocument *document)
{
    stop();
    if (!document || document->characterCount() < pacedCharacters)
        return;
    m_document = document;
    m_position = 0;
    m_stepSize = firstStep;
    m_sinceReported.invalidate();
    m_width = document->textWidth();
    document->documentLayout()->installEventFilter(this);
    m_slices.start();
}

void LayoutPacer::stop()
{
    m_slices.stop();
    if (m_document)
        m_document->documentLayout()->removeEventFilter(this);
    m_document = nullptr;
}

bool LayoutPacer::eventFilter(QObject *watched, QEvent *event)
{
    // Qt's timers repeat until they are served: the one held back now comes again once the
    // pacing ends, and the document's final size is reported then. For a note laid out as far as
    // Qt can, they stay held back.
    if (event->type() == QEvent::Timer && m_document && watched == m_document->documentLayout())
        return true;
    return QObject::eventFilter(watched, event);
}

void LayoutPacer::step()
{
    if (!m_document) {
        stop();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    QAbstractTextDocumentLayout *layout = m_document->documentLayout();
    // A new width has Qt lay the document out again from its start.
    if (m_document->textWidth() != m_width) {
        m_width = m_document->textWidth();
        m_position = 0;
        m_stepSize = firstStep;
    }
    const int end = m_document->characterCount() - 1;
    m_position = qMin(end, m_position + m_stepSize);
    // Asking where a block stands lays the document out up to it.
    const QTextBlock block = m_document->findBlock(m_position);
    const QRectF laidOut = layout->blockBoundingRect(block);
    m_position = block.position() + block.length();
    const qint64 spent = clock.elapsed();
    if (spent < sliceMs / 2)
        m_stepSize *= 2;
    else if (spent > sliceMs && m_stepSize > 500)
        m_stepSize /= 2;
    if (m_position >= end) {
        stop();
        return;
    }
    if (laidOut.bottom() > tallestLayout) {
        m_slices.stop();
        emit layout->documentSizeChanged(QSizeF(m_document->textWidth(), laidOut.bottom()));
        return;
    }
    // The scroll bar reaches as far as the text is laid out, followed a few times a second.
    if (m_sinceReported.isValid() && m_sinceReported.elapsed() < reportMs)
        return;
    m_sinceReported.start();
    emit layout->documentSizeChanged(QSizeF(m_document->textWidth(), laidOut.bottom()));
}
