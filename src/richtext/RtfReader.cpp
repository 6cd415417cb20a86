#include "RtfReader.h"

#include <QTextDocument>

bool RtfReader::looksLikeRtf(const QByteArray &data)
{
    return data.startsWith("{\\rtf");
}

bool RtfReader::read(const QByteArray &data, QTextDocument *document)
{
    if (!looksLikeRtf(data) || !document)
        return false;
    document->clear();
    return true;
}
