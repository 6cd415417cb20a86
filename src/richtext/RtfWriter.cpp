#include "RtfWriter.h"

#include <QTextDocument>
#include <cmath>

RtfWriter::RtfWriter(double defaultPointSize)
    : m_defaultPointSize(defaultPointSize)
{
}

QByteArray RtfWriter::write(const QTextDocument &document) const
{
    Q_UNUSED(document);
    const long halfPoints = std::lround(m_defaultPointSize * 2);
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil MS Sans Serif;}}\n"
           "{\\*\\generator Quillmark;}\\viewkind4\\uc1\\pard\\f0\\fs"
        + QByteArray::number(static_cast<qlonglong>(halfPoints)) + "\\par\n}\n";
}
