#include "editor/ListLabelPainter.h"

#include "editor/LaidOutBlocks.h"
#include "rtf/RtfListFormat.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>

QString ListLabelPainter::labelOf(const QTextBlock &block)
{
    const QTextList *list = block.textList();
    // Qt draws every label of a list that has a style of its own.
    if (!list || list->format().style() != QTextListFormat::ListStyleUndefined)
        return QString();
    return RtfListFormat::itemText(block);
}

void ListLabelPainter::paint(
    QPainter &painter, const QTextDocument &document, const QRectF &clip, const QBrush &text)
{
    if (!document.documentLayout() || clip.isEmpty())
        return;
    // Only the blocks from the clip's top to its bottom, found among those laid out: a long note
    // pays for what is shown, and one still being laid out is not laid out further for it.
    QTextBlock block = LaidOutBlocks::atHeight(document, clip.top());
    const QTextBlock end = LaidOutBlocks::atHeight(document, clip.bottom()).next();
    for (; block.isValid() && block != end; block = block.next()) {
        const QString label = labelOf(block);
        if (!label.isEmpty())
            paintBlock(painter, document, block, label, text);
    }
}

void ListLabelPainter::paintBlock(QPainter &painter, const QTextDocument &document,
    const QTextBlock &block, const QString &label, const QBrush &text)
{
    const QTextLayout *blockLayout = block.layout();
    if (!blockLayout || blockLayout->lineCount() == 0)
        return;
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    const QTextCharFormat format = block.charFormat();
    QFont font = format.font();
    if (layout->paintDevice())
        font = QFont(font, layout->paintDevice());
    const QFontMetricsF metrics(font);

    // Beside the first line: a space before its start (after its end, right to left).
    const QTextLine firstLine = blockLayout->lineAt(0);
    const QRectF line = firstLine.naturalTextRect();
    QPointF at = layout->blockBoundingRect(block).topLeft() + line.topLeft();
    const Qt::LayoutDirection direction = block.textDirection();
    const qreal width = metrics.horizontalAdvance(label);
    const qreal space = metrics.horizontalAdvance(QLatin1Char(' '));
    if (direction == Qt::RightToLeft)
        at.rx() += line.width() + space;
    else
        at.rx() -= space + width;

    QTextLayout labelLayout(label, font, layout->paintDevice());
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(direction);
    labelLayout.setTextOption(option);
    labelLayout.beginLayout();
    QTextLine labelLine = labelLayout.createLine();
    if (labelLine.isValid())
        labelLine.setLeadingIncluded(true);
    labelLayout.endLayout();

    painter.save();
    painter.setPen(
        QPen(format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground() : text, 0));
    labelLayout.draw(&painter, at);
    painter.restore();
}
