#include "rtf/RtfReader.h"

#include "rtf/RtfParser.h"

#include <QTextDocument>

bool RtfReader::looksLikeRtf(const QByteArray &data)
{
    return data.startsWith("{\\rtf");
}

bool RtfReader::read(const QByteArray &data, QTextDocument *document)
{
    return read(data, document, Progress());
}

bool RtfReader::read(const QByteArray &data, QTextDocument *document, const Progress &progress)
{
    m_leftOutContent = false;
    if (!document || !looksLikeRtf(data))
        return false;
    // Reading is not an undoable step: build without undo, and start its history empty.
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->clear();
    RtfParser parser(data, document);
    if (progress)
        parser.setProgress(progress);
    const bool whole = parser.parse();
    m_leftOutContent = parser.leftOutContent();
    document->setUndoRedoEnabled(undo);
    return whole;
}

QString RtfReader::plainText(const QByteArray &data)
{
    if (!looksLikeRtf(data))
        return QString();
    RtfParser parser(data, nullptr);
    parser.parse();
    return parser.text();
}
