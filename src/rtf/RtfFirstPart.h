// Where the start of an RTF document can be cut off and read on its own: right after a paragraph or
// a table row that ends in the body itself, outside every group, so that no picture, field or
// formatted run is cut through. Read alone, the start gives the same first paragraphs as the
// whole document.
#pragma once

#include <QByteArray>

class RtfFirstPart
{
public:
    // The end of the first \par or \row of the body's own level that ends at or after atLeast
    // bytes and before before bytes; -1 when there is none, or when binary data (\bin, whose bytes
    // could look like braces) comes first.
    static qsizetype end(const QByteArray &data, qsizetype atLeast, qsizetype before);
};
