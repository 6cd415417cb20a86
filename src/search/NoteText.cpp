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
    // The characters toPlainText turns into line ends and spaces; rare, and looked for quickly.
    if (text.contains(QChar::LineSeparator))
        text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    if (text.contains(QChar::ParagraphSeparator))
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    if (text.contains(QChar::Nbsp))
        text.replace(QChar::Nbsp, QLatin1Char(' '));
    return text;
}
