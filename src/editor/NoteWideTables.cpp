#include "editor/NoteWideTables.h"

#include "rtf/RtfWriter.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace {

// The width a table has of its own, or 0 when its width follows the box.
double ownWidth(const QTextTable &table)
{
    const QTextTableFormat format = table.format();
    if (format.hasProperty(RtfWriter::OwnTableWidth))
        return 0; // shrunk already
    if (format.width().type() == QTextLength::FixedLength)
        return format.width().rawValue();
    if (format.width().type() == QTextLength::PercentageLength)
        return 0;
    const QList<QTextLength> columns = format.columnWidthConstraints();
    if (columns.size() < table.columns())
        return 0;
    double width = 0;
    for (const QTextLength &column : columns) {
        if (column.type() != QTextLength::FixedLength)
            return 0;
        width += column.rawValue();
    }
    return width;
}

void fitFrame(QTextFrame *frame, double room)
{
    const QList<QTextFrame *> children = frame->childFrames();
    for (QTextFrame *child : children) {
        if (auto *table = qobject_cast<QTextTable *>(child)) {
            const double own = ownWidth(*table);
            if (own > room) {
                QTextTableFormat format = table->format();
                QList<QTextLength> columns = format.columnWidthConstraints();
                for (QTextLength &column : columns) {
                    if (column.type() == QTextLength::FixedLength)
                        column = QTextLength(
                            QTextLength::PercentageLength, column.rawValue() * 100 / own);
                }
                format.setColumnWidthConstraints(columns);
                format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
                format.setProperty(RtfWriter::OwnTableWidth, own);
                table->setFormat(format);
            }
        }
        fitFrame(child, room);
    }
}

} // namespace

void NoteWideTables::fit(QTextDocument *document, double room)
{
    if (room > 0)
        fitFrame(document->rootFrame(), room);
}
