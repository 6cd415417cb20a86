#include "rtf/RtfTableBuilder.h"

#include "rtf/RtfHeaderTables.h"
#include "rtf/Twips.h"

#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>

RtfTableBuilder::RtfTableBuilder(QTextDocument *document, RtfCursorState &at,
    const RtfRowDef *rowDefs, const RtfHeaderTables &header)
    : m_document(document)
    , m_at(at)
    , m_rowDefs(rowDefs)
    , m_header(header)
{ }

void RtfTableBuilder::advanceCell()
{
    if (!m_tables.empty())
        advanceCell(m_tables.back());
}

bool RtfTableBuilder::cellOpen() const
{
    const OpenTable &table = m_tables.back();
    return !table.cellEnded && !table.rowEnded;
}

void RtfTableBuilder::closeAll()
{
    while (!m_tables.empty())
        closeTable();
}

void RtfTableBuilder::sync(int level)
{
    level = std::clamp(level, 0, MaxTableDepth);
    while (int(m_tables.size()) > level)
        closeTable();
    while (int(m_tables.size()) < level)
        openTable();
}

void RtfTableBuilder::openTable()
{
    if (!m_tables.empty())
        advanceCell(m_tables.back());
    // After a paragraph the table follows it directly; no empty paragraph in between.
    m_at.blockPending = false;
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setCellSpacing(0);
    format.setCellPadding(
        Twips::toPixels(m_rowDefs[std::min<int>(int(m_tables.size()) + 1, MaxTableDepth)].gap));
    OpenTable table;
    table.table = m_at.cursor.insertTable(1, 1, format);
    table.level = std::min<int>(int(m_tables.size()) + 1, MaxTableDepth);
    m_at.inheritedFormat = -1;
    table.verticalStart.append(-1);
    layoutRow(table);
    m_tables.push_back(table);
    m_at.paragraphHasContent = false;
}

void RtfTableBuilder::layoutRow(OpenTable &table)
{
    // A row with fewer cells than the table has columns (LibreOffice and Word write a cell
    // spanning columns as one wide cell) puts each cell at the column its edges match.
    table.starts.clear();
    table.spans.clear();
    const RtfRowDef &def = m_rowDefs[table.level];
    if (def.cells.isEmpty())
        return;
    if (table.boundaries.isEmpty()) {
        for (const RtfCellDef &cell : def.cells)
            table.boundaries.append(cell.right);
        return;
    }
    if (def.cells.size() >= table.boundaries.size())
        return;
    int start = 0;
    for (const RtfCellDef &cell : def.cells) {
        // The column whose right edge is nearest to the cell's right edge, within 1/8 inch.
        int end = -1;
        int best = 181;
        for (int c = start; c < table.boundaries.size(); ++c) {
            const int distance = std::abs(table.boundaries.at(c) - cell.right);
            if (distance < best) {
                best = distance;
                end = c;
            }
        }
        if (end < start) {
            table.starts.clear(); // edges that match no column: cells follow one another
            table.spans.clear();
            return;
        }
        table.starts.append(start);
        table.spans.append(end - start + 1);
        start = end + 1;
    }
}

void RtfTableBuilder::advanceCell(OpenTable &table)
{
    // The cursor is always at the end of the current cell: everything is written in order. An
    // empty cell takes one position, so the next cell's place is found by counting, without
    // QTextTable::cellAt(), which rebuilds the table's grid after every change of its shape.
    QTextTable *t = table.table;
    int position = m_at.cursor.position();
    if (table.rowEnded) {
        const int rest = t->columns() - 1 - table.column; // empty cells left in this row
        if (table.row + 1 >= t->rows()) {
            // Rows are added in growing chunks; the spare ones go when the table closes.
            t->appendRows(std::clamp(t->rows(), 1, 1024));
        }
        ++table.row;
        table.cellIndex = 0;
        layoutRow(table);
        table.column = table.starts.value(0, 0);
        position += rest + 1 + table.column;
    } else if (table.cellEnded) {
        const int next = std::max(table.column + 1, table.starts.value(table.cellIndex + 1, 0));
        if (next >= MaxColumns) {
            // Cells past the cap become paragraphs of the last one: a row of a million \cell
            // must not make a million columns.
            table.cellEnded = false;
            m_at.blockPending = true;
            return;
        }
        ++table.cellIndex;
        if (next >= t->columns()) {
            const int added = next + 1 - t->columns();
            t->appendColumns(added);
            for (int i = 0; i < added; ++i)
                table.verticalStart.append(-1);
            table.column = next;
            position = t->cellAt(table.row, table.column).firstPosition();
        } else {
            position += next - table.column;
            table.column = next;
        }
    } else {
        return;
    }
    const int span = table.spans.value(table.cellIndex, 1);
    if (span > 1)
        table.merges.append({ table.row, table.column, 1, span });
    table.rowEnded = false;
    table.cellEnded = false;
    m_at.cursor.setPosition(position);
    m_at.inheritedFormat = -1;
    m_at.blockPending = false;
    m_at.paragraphHasContent = false;
}

void RtfTableBuilder::endRow(int level)
{
    OpenTable &table = m_tables.back();
    const RtfRowDef &def = m_rowDefs[level];
    const int columns = table.table->columns();
    // Column widths come from the row with the most cells.
    if (def.cells.size() > table.widths.size()
        || (table.widths.isEmpty() && !def.cells.isEmpty())) {
        table.widths.clear();
        int left = def.left;
        for (const RtfCellDef &cell : def.cells) {
            table.widths.append(std::max(0, cell.right - left));
            left = cell.right;
        }
        table.gap = def.gap;
        // \trftsWidth2: the width is in fiftieths of a percent of the text's width.
        table.percentWidth = def.widthUnit == 2 ? qMin(def.width, 5000) : 0;
        table.rightToLeft = def.rightToLeft != 0;
    }
    // Each cell's column: its own number, unless the row was laid out with wide cells.
    QList<const RtfCellDef *> byColumn(columns, nullptr);
    for (int i = 0; i < def.cells.size(); ++i) {
        const int column = table.starts.value(i, i);
        if (column >= columns)
            break;
        byColumn[column] = &def.cells.at(i);
        const RtfCellDef &cell = def.cells.at(i);
        if (cell.background > 0 && cell.background < m_header.colourCount()) {
            QTextTableCell c = table.table->cellAt(table.row, column);
            QTextCharFormat format = c.format();
            format.setBackground(m_header.colour(cell.background));
            c.setFormat(format);
        }
        if (cell.mergeFirst) {
            int span = 1;
            while (i + span < def.cells.size() && column + span < columns
                && def.cells.at(i + span).merged)
                ++span;
            if (span > 1)
                table.merges.append({ table.row, column, 1, span });
        }
    }
    for (int i = 0; i < columns && i < table.verticalStart.size(); ++i) {
        const bool first = byColumn.at(i) && byColumn.at(i)->verticalFirst;
        const bool merged = byColumn.at(i) && byColumn.at(i)->verticalMerged;
        int &start = table.verticalStart[i];
        if (merged && start >= 0)
            continue; // the merge goes on
        if (start >= 0 && table.row - 1 > start)
            table.merges.append({ start, i, table.row - start, 1 });
        start = first ? table.row : -1;
    }
    // Where the row ends, for the columns only another row's surplus cells made.
    const int defined
        = table.starts.isEmpty() ? int(def.cells.size()) : table.starts.last() + table.spans.last();
    table.definedColumns = std::max(table.definedColumns, std::min(defined, columns));
    if (table.rowEnds.size() <= table.row)
        table.rowEnds.resize(table.row + 1, 0);
    int &rowEnd = table.rowEnds[table.row];
    rowEnd = std::max({ rowEnd, defined, table.column + table.spans.value(table.cellIndex, 1) });
    table.rowEnded = true;
    table.cellEnded = false;
}

void RtfTableBuilder::closeTable()
{
    OpenTable table = m_tables.back();
    m_tables.pop_back();
    QTextTable *t = table.table;
    if (t->rows() > table.row + 1)
        removeSpareRows(t, table.row + 1);
    const int rows = t->rows();
    for (int i = 0; i < table.verticalStart.size(); ++i) {
        const int start = table.verticalStart.at(i);
        if (start >= 0 && rows - 1 > start)
            table.merges.append({ start, i, rows - start, 1 });
    }
    spanExtraColumns(table);
    for (const Merge &merge : std::as_const(table.merges)) {
        if (merge.row + merge.rows > rows || merge.column + merge.columns > t->columns())
            continue;
        // Qt merges an empty covered cell by joining its block to the block before it, which
        // then takes the covered block's format: give that block the format it must keep.
        for (int row = merge.row; row < merge.row + merge.rows; ++row) {
            for (int column = merge.column; column < merge.column + merge.columns; ++column) {
                if (row == merge.row && column == merge.column)
                    continue;
                const QTextTableCell cell = t->cellAt(row, column);
                if (cell.row() != row || cell.column() != column
                    || cell.firstPosition() != cell.lastPosition())
                    continue;
                const QTextBlock covered = m_document->findBlock(cell.firstPosition());
                const QTextBlock before = covered.previous();
                if (before.isValid()) {
                    QTextCursor cursor(covered);
                    cursor.setBlockFormat(before.blockFormat());
                    cursor.setBlockCharFormat(before.charFormat());
                }
            }
        }
        t->mergeCells(merge.row, merge.column, merge.rows, merge.columns);
    }
    if (!table.widths.isEmpty()) {
        QTextTableFormat format = t->format();
        if (table.rightToLeft)
            format.setLayoutDirection(Qt::RightToLeft);
        // A table that follows the text's width keeps to it: its columns are their shares of the
        // \cellx edges.
        int total = 0;
        for (const int width : std::as_const(table.widths))
            total += width;
        const bool relative = table.percentWidth > 0 && total > 0;
        if (relative)
            format.setWidth(QTextLength(QTextLength::PercentageLength, table.percentWidth / 50.0));
        QList<QTextLength> widths;
        for (int i = 0; i < t->columns(); ++i) {
            if (i < table.widths.size() && table.widths.at(i) > 0)
                widths.append(relative ? QTextLength(
                                  QTextLength::PercentageLength, table.widths.at(i) * 100.0 / total)
                                       : QTextLength(QTextLength::FixedLength,
                                           Twips::toPixels(table.widths.at(i))));
            else
                widths.append(QTextLength(QTextLength::VariableLength, 0));
        }
        format.setColumnWidthConstraints(widths);
        format.setCellPadding(Twips::toPixels(table.gap));
        t->setFormat(format);
    }
    m_at.cursor.setPosition(t->lastPosition() + 1);
    m_at.inheritedFormat = -1;
    m_at.blockPending = false;
    m_at.paragraphHasContent = false;
}

void RtfTableBuilder::spanExtraColumns(OpenTable &table)
{
    // A row can end with more \cell than it has \cellx edges (LibreOffice writes one more in a
    // row that holds a nested table). The surplus cells belong to that row alone: in the rows
    // that do not reach those columns, the last cell spans them, as no edge of theirs made them.
    const int columns = table.table->columns();
    if (table.definedColumns <= 0 || table.definedColumns >= columns)
        return;
    QHash<std::pair<int, int>, qsizetype> across; // (row, last column) of merges in one row
    QSet<std::pair<int, int>> down; // the cells of merges over several rows
    for (qsizetype i = 0; i < table.merges.size(); ++i) {
        const Merge &merge = table.merges.at(i);
        if (merge.rows == 1) {
            across.insert({ merge.row, merge.column + merge.columns - 1 }, i);
        } else {
            for (int row = merge.row; row < merge.row + merge.rows; ++row) {
                for (int column = merge.column; column < merge.column + merge.columns; ++column)
                    down.insert({ row, column });
            }
        }
    }
    const int rows = std::min<int>(table.table->rows(), int(table.rowEnds.size()));
    for (int row = 0; row < rows; ++row) {
        const int end = std::max(table.rowEnds.at(row), table.definedColumns);
        if (end >= columns)
            continue;
        const std::pair<int, int> last(row, end - 1);
        if (down.contains(last))
            continue; // a cell merged down keeps its width
        const auto found = across.constFind(last);
        if (found != across.constEnd())
            table.merges[found.value()].columns += columns - end;
        else
            table.merges.append({ row, end - 1, 1, columns - end + 1 });
    }
}

void RtfTableBuilder::removeSpareRows(QTextTable *table, int from)
{
    // Qt joins the block before the removed rows with the first removed cell's block, and an
    // empty block then takes that cell's formats: the last cell's last paragraph keeps its own.
    const auto lastBlock = [this, table, from] {
        return m_document->findBlock(table->cellAt(from - 1, table->columns() - 1).lastPosition());
    };
    const QTextBlock before = lastBlock();
    const QTextBlockFormat blockFormat = before.blockFormat();
    const QTextCharFormat charFormat = before.charFormat();
    table->removeRows(from, table->rows() - from);
    QTextCursor cursor(lastBlock());
    cursor.setBlockFormat(blockFormat);
    cursor.setBlockCharFormat(charFormat);
}
