// Finds blocks by their height in a note without making Qt lay the note out further: a hit test or
// the place of a block not laid out yet makes Qt lay the note out up to it, which for a long note
// just opened is most of it.
#pragma once

#include <QTextBlock>

class QTextDocument;

namespace LaidOutBlocks {

// The first block that ends below y, or the first not laid out yet.
QTextBlock atHeight(const QTextDocument &document, qreal y);

} // namespace LaidOutBlocks
