// The colour table of an RTF document being written: an empty first entry (the automatic colour),
// then the colours in order of first use.
#pragma once

#include <QHash>
#include <QList>
#include <QRgb>

class RtfOutput;

class RtfWriterColors
{
public:
    // The number of an opaque colour (1 or more), added on first use.
    int index(QRgb color);

    // {\colortbl ;...}
    void write(RtfOutput &output) const;

private:
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_indexes;
};
