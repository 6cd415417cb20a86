#include "support/DocumentDump.h"

#include "rtf/RtfListFormat.h"

#include <QCryptographicHash>
#include <QHash>
#include <QImage>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

namespace {

QString number(double value)
{
    // Six significant digits hide the noise of twips/pixel conversions but keep every real step.
    if (qAbs(value) < 1e-9)
        value = 0;
    return QString::number(value, 'g', 6);
}

QString colour(const QBrush &brush)
{
    if (brush.style() == Qt::NoBrush)
        return QStringLiteral("none");
    return brush.color().name(QColor::HexArgb);
}

QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const ushort u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (c == QLatin1Char('\t')) {
            out += QLatin1String("\\t");
        } else if (c == QLatin1Char('\n')) {
            out += QLatin1String("\\n");
        } else if (u < 0x20 || (u >= 0x7f && u <= 0xa0) || u == 0xad || (u >= 0x2000 && u <= 0x200f)
            || u == 0x2011 || u == 0x2028 || u == 0x2029 || u == 0xfeff || u == 0xfffc
            || c.isSurrogate() || (u >= 0xe000 && u <= 0xf8ff) || !c.isPrint()) {
            out += QStringLiteral("\\u{%1}").arg(u, 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString alignment(Qt::Alignment align)
{
    const Qt::Alignment h = align & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignHCenter)
        return QStringLiteral("center");
    if (h & Qt::AlignJustify)
        return QStringLiteral("justify");
    if (h & (Qt::AlignRight | Qt::AlignTrailing))
        return QStringLiteral("right");
    return QStringLiteral("left");
}

QString underline(const QTextCharFormat &format)
{
    switch (format.underlineStyle()) {
    case QTextCharFormat::NoUnderline:
        return format.fontUnderline() ? QStringLiteral("single") : QString();
    case QTextCharFormat::SingleUnderline:
        return QStringLiteral("single");
    case QTextCharFormat::DashUnderline:
        return QStringLiteral("dash");
    case QTextCharFormat::DotLine:
        return QStringLiteral("dot");
    case QTextCharFormat::DashDotLine:
        return QStringLiteral("dashdot");
    case QTextCharFormat::DashDotDotLine:
        return QStringLiteral("dashdotdot");
    case QTextCharFormat::WaveUnderline:
        return QStringLiteral("wave");
    case QTextCharFormat::SpellCheckUnderline:
        return QStringLiteral("spellcheck");
    }
    return QString();
}

QString listStyle(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDisc:
        return QStringLiteral("disc");
    case QTextListFormat::ListCircle:
        return QStringLiteral("circle");
    case QTextListFormat::ListSquare:
        return QStringLiteral("square");
    case QTextListFormat::ListDecimal:
        return QStringLiteral("decimal");
    case QTextListFormat::ListLowerAlpha:
        return QStringLiteral("lower-alpha");
    case QTextListFormat::ListUpperAlpha:
        return QStringLiteral("upper-alpha");
    case QTextListFormat::ListLowerRoman:
        return QStringLiteral("lower-roman");
    case QTextListFormat::ListUpperRoman:
        return QStringLiteral("upper-roman");
    case QTextListFormat::ListStyleUndefined:
        return QStringLiteral("none");
    }
    return QString::number(int(style));
}

QString families(const QTextCharFormat &format)
{
    QStringList names;
    const QVariant list = format.property(QTextFormat::FontFamilies);
    if (list.isValid())
        names = list.toStringList();
    if (names.isEmpty() && format.hasProperty(QTextFormat::FontFamily))
        names << format.stringProperty(QTextFormat::FontFamily);
    return names.join(QLatin1Char(','));
}

QString charFormat(const QTextCharFormat &format)
{
    QStringList parts;
    const QString family = families(format);
    parts << QStringLiteral("font=") + (family.isEmpty() ? QStringLiteral("-") : family);
    parts << QStringLiteral("size=")
            + (format.hasProperty(QTextFormat::FontPointSize) ? number(format.fontPointSize())
                                                              : QStringLiteral("-"));
    if (format.fontWeight() >= QFont::DemiBold)
        parts << QStringLiteral("bold");
    if (format.fontItalic())
        parts << QStringLiteral("italic");
    const QString ul = underline(format);
    if (!ul.isEmpty())
        parts << QStringLiteral("underline=") + ul;
    if (format.fontStrikeOut())
        parts << QStringLiteral("strike");
    if (format.fontOverline())
        parts << QStringLiteral("overline");
    switch (format.fontCapitalization()) {
    case QFont::AllUppercase:
        parts << QStringLiteral("caps");
        break;
    case QFont::SmallCaps:
        parts << QStringLiteral("smallcaps");
        break;
    default:
        break;
    }
    switch (format.verticalAlignment()) {
    case QTextCharFormat::AlignSuperScript:
        parts << QStringLiteral("super");
        break;
    case QTextCharFormat::AlignSubScript:
        parts << QStringLiteral("sub");
        break;
    default:
        break;
    }
    if (format.hasProperty(QTextFormat::ForegroundBrush))
        parts << QStringLiteral("fg=") + colour(format.foreground());
    if (format.hasProperty(QTextFormat::BackgroundBrush))
        parts << QStringLiteral("bg=") + colour(format.background());
    if (format.isAnchor() || !format.anchorHref().isEmpty())
        parts << QStringLiteral("href=") + escaped(format.anchorHref());
    const QStringList names = format.anchorNames();
    if (!names.isEmpty())
        parts << QStringLiteral("anchors=") + escaped(names.join(QLatin1Char(',')));
    return parts.join(QLatin1Char(' '));
}

QString blockFormat(const QTextBlockFormat &format)
{
    QStringList parts;
    parts << QStringLiteral("align=") + alignment(format.alignment());
    parts << QStringLiteral("margins=%1,%2,%3,%4")
                 .arg(number(format.leftMargin()), number(format.rightMargin()),
                     number(format.topMargin()), number(format.bottomMargin()));
    parts << QStringLiteral("first=") + number(format.textIndent());
    if (format.indent() != 0)
        parts << QStringLiteral("indent=") + QString::number(format.indent());
    if (format.hasProperty(QTextFormat::LineHeightType)
        && format.lineHeightType() != QTextBlockFormat::SingleHeight) {
        static const char *const kinds[]
            = { "single", "proportional", "fixed", "minimum", "distance" };
        const int type = format.lineHeightType();
        parts << QStringLiteral("line=%1:%2")
                     .arg(QLatin1String(type >= 0 && type < 5 ? kinds[type] : "?"),
                         number(format.lineHeight()));
    }
    const QList<QTextOption::Tab> tabs = format.tabPositions();
    if (!tabs.isEmpty()) {
        QStringList stops;
        for (const QTextOption::Tab &tab : tabs) {
            static const char *const kinds[] = { "left", "right", "center", "decimal" };
            const int type = tab.type;
            stops << number(tab.position) + QLatin1Char(':')
                    + QLatin1String(type >= 0 && type < 4 ? kinds[type] : "?");
        }
        parts << QStringLiteral("tabs=") + stops.join(QLatin1Char(','));
    }
    const QTextFormat::PageBreakFlags pageBreak = format.pageBreakPolicy();
    if (pageBreak & QTextFormat::PageBreak_AlwaysBefore)
        parts << QStringLiteral("break-before");
    if (pageBreak & QTextFormat::PageBreak_AlwaysAfter)
        parts << QStringLiteral("break-after");
    if (format.hasProperty(QTextFormat::BackgroundBrush))
        parts << QStringLiteral("bg=") + colour(format.background());
    if (format.layoutDirection() == Qt::RightToLeft)
        parts << QStringLiteral("rtl");
    return parts.join(QLatin1Char(' '));
}

QString imageHash(const QTextDocument &doc, const QString &name)
{
    QVariant resource = doc.resource(QTextDocument::ImageResource, QUrl(name));
    QImage image;
    if (resource.typeId() == QMetaType::QImage)
        image = resource.value<QImage>();
    else if (resource.typeId() == QMetaType::QPixmap)
        image = resource.value<QPixmap>().toImage();
    else if (resource.typeId() == QMetaType::QByteArray)
        image.loadFromData(resource.toByteArray());
    if (image.isNull())
        return QStringLiteral("missing");
    // The pixels, not the encoded bytes: a picture written back as PNG must still compare equal.
    image = image.convertToFormat(QImage::Format_ARGB32);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int y = 0; y < image.height(); ++y)
        hash.addData(QByteArrayView(
            reinterpret_cast<const char *>(image.constScanLine(y)), qsizetype(image.width()) * 4));
    return QStringLiteral("%1x%2:%3")
        .arg(image.width())
        .arg(image.height())
        .arg(QString::fromLatin1(hash.result().toHex().left(16)));
}

} // namespace

QString dumpDocument(const QTextDocument &doc)
{
    QStringList lines;
    QHash<const QTextList *, int> listIds;
    QHash<const QTextTable *, int> tableIds;
    // Pictures by order of first appearance: their resource names are hashes that only have to
    // be the same within one run, and an image's pixels are dumped beside it anyway.
    QHash<QString, QString> imageIds;

    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        QString where;
        if (QTextTable *table = cursor.currentTable()) {
            int id = tableIds.value(table, 0);
            if (id == 0) {
                id = tableIds.size() + 1;
                tableIds.insert(table, id);
                const QTextTableFormat format = table->format();
                QStringList widths;
                for (const QTextLength &length : format.columnWidthConstraints()) {
                    switch (length.type()) {
                    case QTextLength::FixedLength:
                        widths << number(length.rawValue());
                        break;
                    case QTextLength::PercentageLength:
                        widths << number(length.rawValue()) + QLatin1Char('%');
                        break;
                    case QTextLength::VariableLength:
                        widths << QStringLiteral("auto");
                        break;
                    }
                }
                QString parent;
                if (QTextTable *outer = qobject_cast<QTextTable *>(table->parentFrame())) {
                    const QTextTableCell cell = outer->cellAt(table->firstPosition() - 1);
                    parent = QStringLiteral(" in=%1:%2,%3")
                                 .arg(tableIds.value(outer))
                                 .arg(cell.row())
                                 .arg(cell.column());
                }
                if (format.layoutDirection() == Qt::RightToLeft)
                    parent += QStringLiteral(" rtl");
                lines << QStringLiteral("table %1 rows=%2 cols=%3 widths=%4 border=%5 padding=%6 "
                                        "spacing=%7%8")
                             .arg(id)
                             .arg(table->rows())
                             .arg(table->columns())
                             .arg(widths.isEmpty() ? QStringLiteral("-")
                                                   : widths.join(QLatin1Char(',')))
                             .arg(number(format.border()), number(format.cellPadding()),
                                 number(format.cellSpacing()), parent);
                for (int row = 0; row < table->rows(); ++row) {
                    for (int column = 0; column < table->columns(); ++column) {
                        const QTextTableCell cell = table->cellAt(row, column);
                        if (cell.row() != row || cell.column() != column)
                            continue; // covered by a merged cell
                        QString line = QStringLiteral("  cell %1,%2").arg(row).arg(column);
                        if (cell.rowSpan() != 1 || cell.columnSpan() != 1)
                            line += QStringLiteral(" span=%1x%2")
                                        .arg(cell.rowSpan())
                                        .arg(cell.columnSpan());
                        const QTextCharFormat cellFormat = cell.format();
                        if (cellFormat.hasProperty(QTextFormat::BackgroundBrush))
                            line += QStringLiteral(" bg=") + colour(cellFormat.background());
                        lines << line;
                    }
                }
            }
            const QTextTableCell cell = table->cellAt(block.position());
            where = QStringLiteral(" [t%1 %2,%3]").arg(id).arg(cell.row()).arg(cell.column());
        }

        QString line = QStringLiteral("block%1 ").arg(where) + blockFormat(block.blockFormat());
        if (QTextList *list = block.textList()) {
            int id = listIds.value(list, 0);
            if (id == 0) {
                id = listIds.size() + 1;
                listIds.insert(list, id);
            }
            const QTextListFormat format = list->format();
            line += QStringLiteral(" list=%1 style=%2 level=%3 item=%4")
                        .arg(id)
                        .arg(listStyle(RtfListFormat::style(format)))
                        .arg(format.indent())
                        .arg(list->itemNumber(block) + 1);
            // Labels with text of their own, and numbers that do not start at one.
            if (format.hasProperty(QTextFormat::ListNumberPrefix)
                || format.hasProperty(QTextFormat::ListNumberSuffix))
                line += QStringLiteral(" label=") + escaped(RtfListFormat::itemText(block));
            if (format.hasProperty(RtfListFormat::StartProperty))
                line += QStringLiteral(" start=%1").arg(RtfListFormat::start(format));
        }
        lines << line;

        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                const QTextImageFormat image = format.toImageFormat();
                QString &id = imageIds[image.name()];
                if (id.isEmpty()) {
                    const qsizetype dot = image.name().lastIndexOf(QLatin1Char('.'));
                    id = QStringLiteral("image-%1").arg(imageIds.size())
                        + (dot < 0 ? QString() : image.name().mid(dot));
                }
                // One line per image character (a fragment can hold several equal images).
                for (int i = 0; i < fragment.length(); ++i) {
                    QString line = QStringLiteral("  image name=%1 width=%2 height=%3 pixels=%4")
                                       .arg(escaped(id), number(image.width()),
                                           number(image.height()), imageHash(doc, image.name()));
                    if (image.isAnchor() || !image.anchorHref().isEmpty())
                        line += QStringLiteral(" href=") + escaped(image.anchorHref());
                    lines << line;
                }
                continue;
            }
            lines
                << QStringLiteral("  text %1 %2").arg(escaped(fragment.text()), charFormat(format));
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
