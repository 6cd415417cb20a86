#include "rtf/RtfDocumentBuilder.h"

#include "rtf/RtfFields.h"
#include "rtf/RtfHeaderTables.h"
#include "rtf/RtfPicture.h"
#include "rtf/Twips.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <utility>

namespace {

// 128 bits of a fast hash over an image's size and pixels (32 bits each, rows without padding).
QString pixelHash(const QImage &pixels)
{
    const qint32 dimensions[2] = { pixels.width(), pixels.height() };
    QString text;
    for (const size_t seed : { size_t(0x51f15e), size_t(0x9e3779b9) }) {
        size_t hash = qHashBits(dimensions, sizeof(dimensions), seed);
        hash = qHashBits(pixels.constBits(), size_t(pixels.sizeInBytes()), hash);
        text += QString::number(quint64(hash), 16).rightJustified(16, QLatin1Char('0'));
    }
    return text;
}

} // namespace

RtfDocumentBuilder::RtfDocumentBuilder(const RtfReadContext &context, QTextDocument *document)
    : RtfBuilder(context)
    , m_document(document)
    , m_at { QTextCursor(document) }
    , m_tables(document, m_at, context.rowDefs, context.header)
    , m_lists(context.header)
{
    m_at.cursor.beginEditBlock();
}

void RtfDocumentBuilder::flushRun()
{
    if (m_endedInRun > 0) {
        // The run starts with whole paragraphs, each ended by a paragraph separator (see
        // joinParagraph()). The last separator stands for the block the next content starts.
        const bool alone = m_endedInRun == m_run.size();
        if (alone || paragraphLevel() != 0 || m_tables.count() > 0) {
            // They go in by themselves: what follows them belongs to a table, or to nothing yet.
            if (m_at.blockPending)
                m_at.cursor.insertBlock();
            if (alone) {
                m_run.chop(1);
                m_at.cursor.insertText(m_run, charFormat(m_runProps));
                m_run.truncate(0); // keeps its buffer for the next run
            } else {
                m_at.cursor.insertText(m_run.first(m_endedInRun - 1), charFormat(m_runProps));
                m_run.remove(0, m_endedInRun);
            }
            m_endedInRun = 0;
            m_at.blockPending = true;
            m_at.paragraphHasContent = false;
        }
    }
    if (m_run.isEmpty())
        return;
    m_afterBox = false;
    prepareContent();
    m_at.cursor.insertText(m_run, charFormat(m_runProps));
    m_run.truncate(0); // keeps its buffer for the next run
    m_endedInRun = 0;
    m_at.paragraphHasContent = true;
}

void RtfDocumentBuilder::flushParagraphText(bool bytesWaited)
{
    if (bytesWaited || m_run.size() > m_endedInRun)
        flushRun();
}

QTextCharFormat RtfDocumentBuilder::charFormat(const RtfCharProps &props)
{
    const auto found = m_charFormats.constFind(props);
    if (found != m_charFormats.constEnd())
        return found.value();
    QTextCharFormat format;
    const QString family = m_context.header.fontName(props.font);
    if (!family.isEmpty())
        format.setFontFamilies(QStringList(family));
    format.setFontPointSize(props.halfPoints / 2.0);
    if (props.bold)
        format.setFontWeight(QFont::Bold);
    if (props.italic)
        format.setFontItalic(true);
    switch (props.underline) {
    case RtfCharProps::Single:
        format.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        break;
    case RtfCharProps::Dotted:
        format.setUnderlineStyle(QTextCharFormat::DotLine);
        break;
    case RtfCharProps::Dashed:
        format.setUnderlineStyle(QTextCharFormat::DashUnderline);
        break;
    case RtfCharProps::DashDot:
        format.setUnderlineStyle(QTextCharFormat::DashDotLine);
        break;
    case RtfCharProps::DashDotDot:
        format.setUnderlineStyle(QTextCharFormat::DashDotDotLine);
        break;
    case RtfCharProps::Wave:
        format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        break;
    default:
        break;
    }
    if (props.strike)
        format.setFontStrikeOut(true);
    if (props.caps == RtfCharProps::AllCaps)
        format.setFontCapitalization(QFont::AllUppercase);
    else if (props.caps == RtfCharProps::SmallCaps)
        format.setFontCapitalization(QFont::SmallCaps);
    if (props.vertical == RtfCharProps::Super)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (props.vertical == RtfCharProps::Sub)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (const QColor colour = m_context.header.colour(props.foreground); colour.isValid())
        format.setForeground(colour);
    if (const QColor colour = m_context.header.colour(props.background); colour.isValid())
        format.setBackground(colour);
    if (const QString link = m_context.fields.link(props.link); !link.isEmpty()) {
        format.setAnchor(true);
        format.setAnchorHref(link);
    }
    if (m_charFormats.size() < 10000)
        m_charFormats.insert(props, format);
    return format;
}

void RtfDocumentBuilder::prepareContent()
{
    m_tables.sync(paragraphLevel());
    m_tables.advanceCell();
    if (m_at.blockPending) {
        // The new block takes the format of the one before: applyParagraphFormat() skips
        // setting it again when it is the same.
        m_at.cursor.insertBlock();
        m_at.blockPending = false;
    }
}

void RtfDocumentBuilder::endParagraph()
{
    if (m_afterBox && m_run.size() <= m_endedInRun && !m_at.paragraphHasContent) {
        m_afterBox = false;
        return;
    }
    if (joinParagraph())
        return;
    flushRun();
    prepareContent();
    applyParagraphFormat();
    m_at.blockPending = true;
    m_at.paragraphHasContent = false;
}

void RtfDocumentBuilder::endOpenParagraph()
{
    if (m_run.size() > m_endedInRun || m_at.paragraphHasContent)
        endParagraph();
}

bool RtfDocumentBuilder::joinParagraph()
{
    // A paragraph of text formatted like the one before it, outside tables and lists, needs no
    // work of its own at its end: a paragraph separator in the run makes its block when the run
    // goes in, and the next paragraph's text can join the same run. Long notes are mostly such
    // paragraphs, and one insertion instead of two per paragraph is what reads them fast.
    if (m_run.size() <= m_endedInRun || m_pageBreakPending || m_tables.count() > 0
        || paragraphLevel() != 0)
        return false;
    const RtfParaProps &props = state().para;
    if (props.listOverride > 0 || props.pnStyle != RtfParaProps::PnNone || m_lists.inPnRun())
        return false;
    // The same test applyParagraphFormat() makes before leaving the block's format alone.
    const QTextBlockFormat format = blockFormat(props);
    if (format.hasProperty(QTextFormat::PageBreakPolicy)
        || m_at.inheritedFormat != m_blockFormatGeneration)
        return false;
    m_run.append(QChar::ParagraphSeparator);
    m_endedInRun = m_run.size();
    m_at.paragraphHasContent = false;
    return true;
}

void RtfDocumentBuilder::applyParagraphFormat()
{
    const RtfParaProps &props = state().para;
    QTextBlockFormat format = blockFormat(props);
    if (m_pageBreakPending) {
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        m_pageBreakPending = false;
    }
    const bool inList = props.listOverride > 0 || props.pnStyle != RtfParaProps::PnNone;
    const bool continues = props.listOverride == 0 && props.pnKind == RtfParaProps::PnContinued;
    if (inList && (!continues || m_lists.lastList())) {
        // Qt indents list items itself, by their level; a paragraph that goes on with a list
        // without a number, outside it, is indented as far as the list's text.
        format.setLeftMargin(
            continues ? m_document->indentWidth() * m_lists.lastList()->format().indent() : 0);
        format.setTextIndent(0);
    }
    const bool plain = !inList && !format.hasProperty(QTextFormat::PageBreakPolicy);
    if (!plain || m_at.inheritedFormat != m_blockFormatGeneration)
        m_at.cursor.setBlockFormat(format);
    m_at.inheritedFormat = plain ? m_blockFormatGeneration : -1;
    if (!m_at.paragraphHasContent && m_at.cursor.block().length() <= 1)
        m_at.cursor.setBlockCharFormat(charFormat(state().chars));
    m_lists.apply(props, m_at.cursor);
}

QTextBlockFormat RtfDocumentBuilder::blockFormat(const RtfParaProps &props)
{
    if (m_hasLastBlockFormat && props == m_lastParaProps)
        return m_lastBlockFormat;
    QTextBlockFormat format;
    switch (props.align) {
    case RtfParaProps::Center:
        format.setAlignment(Qt::AlignHCenter);
        break;
    case RtfParaProps::Right:
        format.setAlignment(Qt::AlignRight);
        break;
    case RtfParaProps::Justify:
        format.setAlignment(Qt::AlignJustify);
        break;
    default:
        break;
    }
    // \ql and \qr are the paragraph's start and end, as Qt's alignments without AlignAbsolute.
    if (props.rightToLeft)
        format.setLayoutDirection(Qt::RightToLeft);
    if (props.leftIndent)
        format.setLeftMargin(Twips::toPixels(props.leftIndent));
    if (props.rightIndent)
        format.setRightMargin(Twips::toPixels(props.rightIndent));
    if (props.firstIndent)
        format.setTextIndent(Twips::toPixels(props.firstIndent));
    if (props.spaceBefore)
        format.setTopMargin(Twips::toPixels(props.spaceBefore));
    if (props.spaceAfter)
        format.setBottomMargin(Twips::toPixels(props.spaceAfter));
    if (props.lineSpacing != 0) {
        if (props.lineMultiple) {
            // \slN\slmult1: N/240 of single spacing; exactly single is left as the default.
            const double percent = std::abs(props.lineSpacing) * 100.0 / 240.0;
            if (std::abs(percent - 100.0) > 0.01)
                format.setLineHeight(percent, QTextBlockFormat::ProportionalHeight);
        } else if (props.lineSpacing > 0) {
            format.setLineHeight(
                Twips::toPixels(props.lineSpacing), QTextBlockFormat::MinimumHeight);
        } else {
            format.setLineHeight(
                Twips::toPixels(-props.lineSpacing), QTextBlockFormat::FixedHeight);
        }
    }
    if (!props.tabs.isEmpty()) {
        QList<QTextOption::Tab> tabs;
        tabs.reserve(props.tabs.size());
        for (QTextOption::Tab tab : props.tabs) {
            tab.position = Twips::toPixels(int(tab.position));
            tabs.append(tab);
        }
        format.setTabPositions(tabs);
    }
    if (props.pageBreakBefore)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    m_lastParaProps = props;
    m_lastBlockFormat = format;
    m_hasLastBlockFormat = true;
    ++m_blockFormatGeneration;
    return format;
}

void RtfDocumentBuilder::pageBreak()
{
    flushRun();
    if (m_at.paragraphHasContent)
        endParagraph();
    m_pageBreakPending = true;
}

void RtfDocumentBuilder::endCell(int level)
{
    flushRun();
    if (m_tables.count() == 0 && paragraphLevel() == 0) {
        endParagraph(); // a \cell outside any table ends a paragraph, nothing more
        return;
    }
    m_tables.sync(std::min(level, m_tables.count() + 1));
    m_tables.advanceCell();
    // After a text box the cell ends with the box's last paragraph, formatted as the box has it.
    if (!std::exchange(m_afterBox, false)) {
        if (m_at.blockPending) {
            // "\par\cell": the cell ends with an empty paragraph.
            m_at.cursor.insertBlock();
            m_at.blockPending = false;
        }
        applyParagraphFormat();
    }
    m_tables.endCell();
    m_at.paragraphHasContent = false;
}

void RtfDocumentBuilder::endRow(int level)
{
    flushRun();
    level = std::clamp(level, 1, MaxTableDepth);
    if (m_tables.count() < level)
        return; // a stray \row
    m_tables.sync(level);
    if (m_tables.cellOpen() && m_at.paragraphHasContent)
        applyParagraphFormat(); // a last cell without its \cell
    m_at.blockPending = false;
    m_at.paragraphHasContent = false;

    m_tables.endRow(level);
}

void RtfDocumentBuilder::picture(const RtfPicture &picture)
{
    QImage image = picture.kind == RtfPicture::Metafile ? QImage() : picture.image(m_imageBudget);
    m_imageBudget -= image.sizeInBytes();
    const bool original
        = !image.isNull() && (picture.kind == RtfPicture::Png || picture.kind == RtfPicture::Jpeg);
    if (image.isNull()) {
        image = picture.placeholder();
        // The placeholder is all a save would keep of the picture.
        if (!picture.bytes().isEmpty())
            m_leftOutContent = true;
    }
    const QSizeF size = picture.displaySize(image.size());
    const bool jpeg = original && picture.kind == RtfPicture::Jpeg;
    // Named after the picture's pixels: the same picture twice is one resource, a picture read
    // back from our own output (a DIB written as PNG) keeps its name, and pictures of two
    // documents never take each other's name (a paste keeps its own pictures apart). The name
    // lives only as long as the document, so a fast hash that differs between machines will do.
    QImage pixels = image;
    if (pixels.format() != QImage::Format_RGB32 && pixels.format() != QImage::Format_ARGB32)
        pixels = pixels.convertToFormat(QImage::Format_ARGB32);
    const QString name
        = QStringLiteral("rtf-image-%1.%2")
              .arg(pixelHash(pixels), jpeg ? QLatin1String("jpg") : QLatin1String("png"));
    m_document->addResource(QTextDocument::ImageResource, QUrl(name), image);
    if (original) {
        // The writer gives back these bytes as they were, never a re-encoded picture.
        m_document->addResource(QTextDocument::UserResource,
            QUrl(QStringLiteral("rtf-original:") + name), picture.bytes());
    }
    flushRun();
    prepareContent();
    m_afterBox = false;
    QTextImageFormat format;
    const int link = state().chars.link;
    if (const QString href = m_context.fields.link(link); !href.isEmpty()) {
        // A picture as a field's result: a linked picture.
        format.setAnchor(true);
        format.setAnchorHref(href);
    }
    format.setName(name);
    format.setWidth(size.width());
    format.setHeight(size.height());
    m_at.cursor.insertImage(format);
    m_at.paragraphHasContent = true;
}

void RtfDocumentBuilder::finish()
{
    flushRun();
    if (m_at.paragraphHasContent) {
        prepareContent();
        applyParagraphFormat();
    }
    m_tables.closeAll();
    m_at.cursor.endEditBlock();
}
