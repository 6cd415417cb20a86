// Where the document builder stands in the document it builds: the cursor, and what the block
// under it holds. Shared by the builder of paragraphs and the builder of tables.
#pragma once

#include <QTextCursor>

struct RtfCursorState
{
    QTextCursor cursor;
    bool blockPending = false; // a paragraph ended: the next content starts a new block
    bool paragraphHasContent = false;
    int inheritedFormat = -1; // the generation of the block format the current block has
};
