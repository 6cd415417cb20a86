#include "search/NoteText.h"

#include "rtf/RtfReader.h"

QString NoteText::fromRtf(const QByteArray &rtf)
{
    QString text = RtfReader::plainText(rtf);
    // The characters toPlainText turns into line ends and spaces; rare, and looked for quickly.
    if (text.contains(QChar::ParagraphSeparator))
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    if (text.contains(QChar::Nbsp))
        text.replace(QChar::Nbsp, QLatin1Char(' '));
    return text;
}
