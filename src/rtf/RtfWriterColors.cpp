#include "rtf/RtfWriterColors.h"

#include "rtf/RtfOutput.h"

int RtfWriterColors::index(QRgb color)
{
    color = qRgb(qRed(color), qGreen(color), qBlue(color));
    const auto found = m_indexes.constFind(color);
    if (found != m_indexes.constEnd())
        return found.value();
    m_colors.append(color);
    const int number = int(m_colors.size());
    m_indexes.insert(color, number);
    return number;
}

void RtfWriterColors::write(RtfOutput &output) const
{
    output.openGroup();
    output.word("colortbl");
    output.raw(" ;");
    for (const QRgb color : m_colors) {
        output.word("red", qRed(color));
        output.word("green", qGreen(color));
        output.word("blue", qBlue(color));
        output.raw(';');
    }
    output.closeGroup();
}
