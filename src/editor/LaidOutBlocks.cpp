#include "editor/LaidOutBlocks.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QTextLayout>

namespace LaidOutBlocks {

QTextBlock atHeight(const QTextDocument &document, qreal y)
{
    // Qt lays a note out from its start, so the blocks laid out come first: the search gallops
    // from the start and stops at the first block ending below y or not laid out yet.
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    const auto above = [&](int number) {
        const QTextBlock block = document.findBlockByNumber(number);
        return block.layout() && block.layout()->lineCount() > 0
            && layout->blockBoundingRect(block).bottom() < y;
    };
    const int count = document.blockCount();
    int low = 0;
    int high = 1;
    while (high < count && above(high)) {
        low = high + 1;
        high *= 2;
    }
    high = qMin(high, count - 1);
    while (low < high) {
        const int middle = (low + high) / 2;
        if (above(middle))
            low = middle + 1;
        else
            high = middle;
    }
    return document.findBlockByNumber(low);
}

} // namespace LaidOutBlocks
