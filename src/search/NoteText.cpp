#include "search/NoteText.h"

#include "rtf/RtfParser.h"
#include "rtf/RtfReader.h"

QString NoteText::fromRtf(const QByteArray &rtf)
{
    QString text;
    if (!RtfReader::looksLikeRtf(rtf))
        return text;
    RtfParser parser(rtf, &text);
    parser.parse();
    // The characters toPlainText turns into line ends and spaces.
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (u == QChar::LineSeparator || u == QChar::ParagraphSeparator)
            c = QLatin1Char('\n');
        else if (u == QChar::Nbsp)
            c = QLatin1Char(' ');
    }
    return text;
}
