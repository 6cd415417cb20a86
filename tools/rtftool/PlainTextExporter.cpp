#include "PlainTextExporter.h"

#include <QTextBlock>
#include <QTextDocument>

QString PlainTextExporter::text(const QTextDocument &document)
{
    QString result;
    result.reserve(document.characterCount() + 16);
    // Blocks come in document order, table cells row by row, so each cell's paragraphs follow
    // one another; merged cells have no blocks of their own.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        for (const QChar c : text) {
            switch (c.unicode()) {
            case 0x2028:
                result += QLatin1Char('\n');
                break;
            case 0xFFFC:
                break; // a picture
            default:
                result += c;
                break;
            }
        }
        result += QLatin1Char('\n');
    }
    return result;
}
