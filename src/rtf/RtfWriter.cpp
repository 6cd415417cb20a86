#include "rtf/RtfWriter.h"

#include "rtf/RtfDocumentWriter.h"
#include "rtf/RtfOutput.h"
#include "rtf/RtfWriterPictureCache.h"

#include <QTextDocument>

namespace {
// The font \f0 stands for when the document's default font has no family name.
const char fallbackFamily[] = "MS Sans Serif";
} // namespace

RtfWriter::RtfWriter(double defaultPointSize)
    : m_defaultPointSize(defaultPointSize)
{ }

QByteArray RtfWriter::write(const QTextDocument &document) const
{
    return RtfOutput::joined(writePieces(document));
}

QList<QByteArray> RtfWriter::writePieces(const QTextDocument &document) const
{
    QString family = document.defaultFont().family();
    if (family.isEmpty())
        family = QLatin1String(fallbackFamily);
    const double pointSize = m_defaultPointSize > 0 ? m_defaultPointSize : 10.0;
    return RtfDocumentWriter(document, family, pointSize, RtfWriterPictureCache::shared())
        .writePieces();
}
