// A table row as its \trowd ... \cellx words define it: the cells' right edges and merges, the
// row's indent, gap and width. Plain ints, so the keyword table can name each field.
#pragma once

#include <QList>

// Tables nested deeper than this are read as this deep.
inline constexpr int RtfMaxTableDepth = 16;

struct RtfCellDef
{
    int right = 0; // \cellx, twips
    int mergeFirst = 0;
    int merged = 0;
    int verticalFirst = 0;
    int verticalMerged = 0;
    int background = -1;
};

struct RtfRowDef
{
    QList<RtfCellDef> cells;
    RtfCellDef pending; // properties read before the cell's \cellx
    int left = 0; // \trleft
    int gap = 108; // \trgaph: half the space between cells
    int widthUnit = 0; // \trftsWidth: 2 for fiftieths of a percent
    int width = 0; // \trwWidth
    int rightToLeft = 0; // \rtlrow: the first cell on the right
};
