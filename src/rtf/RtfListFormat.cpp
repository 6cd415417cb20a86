#include "rtf/RtfListFormat.h"

#include "rtf/RtfWriterLists.h"

#include <QTextBlock>
#include <QTextList>

namespace RtfListFormat {

void setStart(QTextListFormat &format, int start)
{
    if (start == 1)
        return;
    format.setProperty(StartProperty, start);
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    format.setStart(start);
#else
    const QTextListFormat::Style own = style(format);
    if (own != QTextListFormat::ListStyleUndefined && !RtfWriterLists::isBullet(own)) {
        format.setProperty(StyleProperty, int(own));
        format.setStyle(QTextListFormat::ListStyleUndefined);
    }
#endif
}

QString itemText(const QTextBlock &block)
{
    const QTextList *list = block.textList();
    if (!list)
        return QString();
    const QTextListFormat format = list->format();
    const QTextListFormat::Style own = style(format);
    if (RtfWriterLists::isBullet(own))
        return QString();
    // A list without a number shows its fixed text, if it has one.
    if (own == QTextListFormat::ListStyleUndefined
        && !format.hasProperty(QTextFormat::ListNumberPrefix)
        && !format.hasProperty(QTextFormat::ListNumberSuffix))
        return QString();
    const QString number = RtfWriterLists::numberText(own, start(format) + list->itemNumber(block));
    const QString prefix = format.numberPrefix();
    // Qt's own labels end in a full stop unless the list says otherwise.
    const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                                             : QStringLiteral(".");
    if (block.textDirection() == Qt::RightToLeft)
        return suffix + number + prefix;
    return prefix + number + suffix;
}

} // namespace RtfListFormat
