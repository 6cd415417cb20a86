// Draws the list labels Qt's own layout leaves out: those of a list that does not start at one
// where Qt cannot start a list elsewhere, and the fixed labels of lists without a number (Word's
// own label of a kind Qt cannot count, a level that shows only a text). Drawn as Qt draws its own:
// right-aligned before the item's first line, in the block's character format.
#pragma once

#include <QBrush>
#include <QString>

class QPainter;
class QRectF;
class QTextBlock;
class QTextDocument;

class ListLabelPainter
{
public:
    // The label a block needs drawn here; empty where Qt draws it or it has none.
    static QString labelOf(const QTextBlock &block);
    // Draws the labels of the blocks in clip (document coordinates, the painter's own).
    static void paint(
        QPainter &painter, const QTextDocument &document, const QRectF &clip, const QBrush &text);

private:
    static void paintBlock(QPainter &painter, const QTextDocument &document,
        const QTextBlock &block, const QString &label, const QBrush &text);
};
