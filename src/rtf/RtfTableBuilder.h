// The tables of an RTF body as QTextTables: opens and closes them by the paragraphs' table level,
// moves the cursor from cell to cell as \cell and \row arrive, and gives each table the widths,
// merges and cell backgrounds its row definitions say.
#pragma once

#include "rtf/RtfCursorState.h"
#include "rtf/RtfTableDefs.h"

#include <QList>

#include <vector>

class QTextDocument;
class QTextTable;
class RtfHeaderTables;

class RtfTableBuilder
{
public:
    static constexpr int MaxTableDepth = RtfMaxTableDepth;
    static constexpr int MaxColumns = 64;

    RtfTableBuilder(QTextDocument *document, RtfCursorState &at, const RtfRowDef *rowDefs,
        const RtfHeaderTables &header);

    int count() const { return int(m_tables.size()); }
    // Opens or closes tables until level are open.
    void sync(int level);
    // Puts the cursor in the cell the next content goes to, after a \cell or a \row.
    void advanceCell();
    // The innermost table's current cell has not been ended by \cell or \row.
    bool cellOpen() const;
    void endCell() { m_tables.back().cellEnded = true; }
    // The innermost table's row ends: its widths, merges and backgrounds from the row defined at
    // level.
    void endRow(int level);
    void closeAll();

private:
    struct Merge
    {
        int row, column, rows, columns;
    };
    struct OpenTable
    {
        QTextTable *table = nullptr;
        int level = 1;
        int row = 0;
        int column = 0;
        int cellIndex = 0; // the cell's number in its row, which can differ from its column
        QList<int> boundaries; // the right edges of the columns (twips), from the first row
        QList<int> starts; // the current row's column of each cell, when it has wide cells
        QList<int> spans; // and how many columns each of them covers
        bool cellEnded = false;
        bool rowEnded = false;
        QList<int> widths; // twips, from the row with the most cells
        int gap = 108;
        bool rightToLeft = false;
        int percentWidth = 0; // fiftieths of a percent of the text's width, 0 for fixed widths
        QList<int> verticalStart; // per column, the row a vertical merge started at, or -1
        QList<Merge> merges;
        QList<int> rowEnds; // per ended row, the column after its last cell
        int definedColumns = 0; // the most columns the \cellx edges of any row make
    };

    void openTable();
    void closeTable();
    void advanceCell(OpenTable &table);
    void layoutRow(OpenTable &table);
    void layoutMerges(OpenTable &table, const RtfRowDef &def);
    void setColumnWidths(const OpenTable &table);
    void spanExtraColumns(OpenTable &table);
    void removeSpareRows(QTextTable *table, int from);

    QTextDocument *m_document;
    RtfCursorState &m_at;
    const RtfRowDef *m_rowDefs;
    const RtfHeaderTables &m_header;
    std::vector<OpenTable> m_tables;
};
