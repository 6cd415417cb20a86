#include "rtf/RtfDocumentWriter.h"

#include "rtf/RtfListFormat.h"
#include "rtf/RtfWriter.h"
#include "rtf/Twips.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <QTextTable>
#include <cmath>

namespace {

// Paragraph and table measures.
long twips(double pixels)
{
    return Twips::fromPixels(pixels, -31680000L, 31680000L);
}

// A list level is written as 720 twips of indent (half an inch, as WordPad and Word indent their
// lists), with the label hanging 360 twips to the left of the text; RtfWriterLists agrees.
constexpr long listLevelIndent = 720;
constexpr long listLabelHang = 360;
// Room kept in front of the body for the header, which is known only once the body has numbered
// the fonts, colours and lists: one that fits is put there instead of copying the body behind it.
constexpr qsizetype headerRoom = 8192;
// The width tables are laid out in when the document has no text width: a letter page's.
constexpr long pageTextWidth = 9360;

long textWidthOf(const QTextDocument &document)
{
    // A note box lays its document out at the box's width, inside the document's margins.
    const double width = document.textWidth() - 2 * document.documentMargin();
    return document.textWidth() > 0 && width > 0 ? twips(width) : pageTextWidth;
}

// \ql and \qr are the start and the end of the paragraph, in its direction.
const char *alignmentWord(Qt::Alignment alignment, bool rightToLeft)
{
    Qt::Alignment h = alignment & Qt::AlignHorizontal_Mask;
    if (rightToLeft && (h & Qt::AlignAbsolute) && (h & (Qt::AlignLeft | Qt::AlignRight)))
        h ^= Qt::AlignLeft | Qt::AlignRight; // the left edge is the end
    switch (h & ~Qt::AlignAbsolute) {
    case Qt::AlignRight:
        return "qr";
    case Qt::AlignHCenter:
        return "qc";
    case Qt::AlignJustify:
        return "qj";
    default:
        return "ql";
    }
}

} // namespace

RtfDocumentWriter::RtfDocumentWriter(const QTextDocument &document, const QString &defaultFamily,
    double defaultPointSize, RtfWriterPictureCache &pictureCache)
    : m_document(document)
    , m_pictureCache(pictureCache)
    , m_defaultPointSize(defaultPointSize)
    , m_textWidth(textWidthOf(document))
    , m_body(document.characterCount() + document.characterCount() / 8 + 4096, headerRoom)
    , m_fonts(defaultFamily)
{ }

template <typename FormatOf>
const RtfDocumentWriter::Run &RtfDocumentWriter::run(int formatIndex, FormatOf formatOf)
{
    if (formatIndex < 0) {
        static const Run none;
        return none;
    }
    if (size_t(formatIndex) >= m_runs.size())
        m_runs.resize(size_t(formatIndex) + 1);
    Run &entry = m_runs[size_t(formatIndex)];
    if (entry.known)
        return entry;
    QTextCharFormat format = formatOf();
    // The first paragraph mark of a table cell carries the cell's format, whose background is the
    // cell's (written as \clcbpat), not the text's.
    if (format.isTableCellFormat())
        format.clearProperty(QTextFormat::BackgroundBrush);
    entry.image = format.isImageFormat();
    // A picture writes no character format, so it must not number fonts or colours either.
    if (!entry.image)
        entry.state = RtfWriterRunState::fromFormat(format, m_defaultPointSize, m_fonts, m_colors);
    if (format.isAnchor())
        entry.href = format.anchorHref();
    entry.known = true;
    return entry;
}

QByteArray RtfDocumentWriter::write()
{
    return RtfOutput::joined(writePieces());
}

QList<QByteArray> RtfDocumentWriter::writePieces()
{
    writeFrameContent(m_document.rootFrame()->begin(), Place(), "par");

    RtfOutput header(1024);
    header.raw("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033");
    m_fonts.write(header);
    header.newline();
    m_colors.write(header);
    header.newline();
    if (!m_lists.isEmpty()) {
        m_lists.write(header, m_fonts);
        header.newline();
    }
    header.raw("{\\*\\generator Quillmark;}");
    header.word("viewkind", 4);
    header.word("uc", 1);
    header.word("deftab", qMax(1L, twips(m_document.defaultTextOption().tabStopDistance())));
    header.newline();

    m_body.raw("}\n");
    return m_body.takePiecesBehind(header.take());
}

void RtfDocumentWriter::writeFrameContent(
    QTextFrame::iterator it, const Place &place, const char *lastEnd)
{
    // Each paragraph is written once the next item is known, so the last one of a table cell can
    // end the cell instead of the paragraph.
    QTextBlock pending;
    for (; !it.atEnd(); ++it) {
        if (pending.isValid()) {
            writeBlock(pending, place, "par");
            pending = QTextBlock();
        }
        if (QTextFrame *frame = it.currentFrame()) {
            if (auto *table = qobject_cast<QTextTable *>(frame))
                writeTable(table, place.depth + 1);
            else
                writeFrameContent(frame->begin(), place, "par");
        } else {
            pending = it.currentBlock();
        }
    }
    if (pending.isValid()) {
        writeBlock(pending, place, lastEnd);
    } else if (qstrcmp(lastEnd, "par") != 0) {
        // A cell must end with its end word even when nothing else is in it.
        writeBlock(QTextBlock(), place, lastEnd);
    }
}

void RtfDocumentWriter::writeTable(QTextTable *table, int depth)
{
    // Nested tables (depth 2 and more) give their row definitions at the end of the row, inside
    // \nesttableprops; the outer table's paragraphs then need their level spelled out to return to
    // it.
    const Place place { depth, depth > 1 || !table->childFrames().isEmpty() };
    const char *cellEnd = depth > 1 ? "nestcell" : "cell";
    const std::vector<long> rightEdges = cellRightEdges(table);
    for (int row = 0; row < table->rows(); ++row) {
        if (depth == 1) {
            writeRowDefinition(table, row, rightEdges);
            m_body.newline();
        }
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.isValid() && cell.row() == row && cell.column() == column)
                writeFrameContent(cell.begin(), place, cellEnd);
            else
                writeBlock(QTextBlock(), place, cellEnd); // covered by a merged cell
        }
        if (depth == 1) {
            m_body.word("row");
        } else {
            m_body.raw("{\\*\\nesttableprops");
            writeRowDefinition(table, row, rightEdges);
            m_body.word("nestrow");
            m_body.raw("}{\\nonesttables\\par}");
        }
        m_body.newline();
    }
}

std::vector<long> RtfDocumentWriter::cellRightEdges(QTextTable *table) const
{
    const QTextTableFormat format = table->format();
    const int columns = table->columns();
    const QTextLength tableWidth = format.width();
    const double ownWidth = format.doubleProperty(RtfWriter::OwnTableWidth);
    long available = m_textWidth;
    if (ownWidth > 0)
        available = twips(ownWidth);
    else if (tableWidth.type() == QTextLength::FixedLength && tableWidth.rawValue() > 0)
        available = twips(tableWidth.rawValue());
    else if (const long relative = relativeWidth(*table))
        available = std::lround(m_textWidth * relative / 5000.0);

    const QList<QTextLength> constraints = format.columnWidthConstraints();
    std::vector<long> widths(size_t(qMax(columns, 0)), 0);
    long used = 0;
    int variable = 0;
    for (int column = 0; column < columns; ++column) {
        const QTextLength length
            = column < constraints.size() ? constraints.at(column) : QTextLength();
        long width = 0;
        if (length.type() == QTextLength::FixedLength)
            width = twips(length.rawValue());
        else if (length.type() == QTextLength::PercentageLength)
            width = std::lround(available * qBound(0.0, length.rawValue(), 100.0) / 100);
        if (width <= 0) {
            ++variable;
            continue;
        }
        widths[size_t(column)] = width;
        used += width;
    }
    if (variable > 0) {
        const long share = (available - used) / variable;
        for (long &width : widths) {
            if (width <= 0)
                width = share >= 360 ? share : 1440;
        }
    }
    std::vector<long> edges;
    edges.reserve(widths.size());
    long right = 0;
    for (const long width : widths) {
        right += width;
        edges.push_back(right);
    }
    // A table that follows the box is read back as each column's share of the last edge: its
    // edges end exactly at its width, so that the shares give the same edges again.
    if (relativeWidth(*table) > 0 && right > 0 && right != available) {
        for (long &edge : edges)
            edge = std::lround(double(edge) * available / right);
    }
    return edges;
}

long RtfDocumentWriter::relativeWidth(const QTextTable &table)
{
    const QTextTableFormat format = table.format();
    if (format.doubleProperty(RtfWriter::OwnTableWidth) > 0)
        return 0;
    const QTextLength width = format.width();
    if (width.type() == QTextLength::PercentageLength && width.rawValue() > 0)
        return qBound(1L, std::lround(width.rawValue() * 50), 5000L);
    if (width.type() == QTextLength::FixedLength)
        return 0;
    // Without a width of its own, a table of fixed columns is as wide as they are; any other
    // column takes its share of the box.
    const QList<QTextLength> constraints = format.columnWidthConstraints();
    for (int column = 0; column < table.columns(); ++column) {
        if (column >= constraints.size()
            || constraints.at(column).type() != QTextLength::FixedLength)
            return 5000;
    }
    return 0;
}

void RtfDocumentWriter::writeRowDefinition(
    QTextTable *table, int row, const std::vector<long> &rightEdges)
{
    const QTextTableFormat format = table->format();
    m_body.word("trowd");
    m_body.word("trgaph", twips(qMax(0.0, format.cellPadding())));
    m_body.word("trleft", 0);
    if (format.layoutDirection() == Qt::RightToLeft)
        m_body.word("rtlrow");
    if (const long relative = relativeWidth(*table)) {
        m_body.word("trftsWidth", 2);
        m_body.word("trwWidth", relative);
    }
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        m_body.word("trqc");
    else if (alignment & Qt::AlignRight)
        m_body.word("trqr");
    const long border = format.border() > 0 ? qBound(1L, twips(format.border()), 75L) : 0;
    for (int column = 0; column < table->columns(); ++column) {
        const QTextTableCell cell = table->cellAt(row, column);
        if (cell.isValid()) {
            // Merges are read from the grid, not the spans: a cell's span lives in the format of
            // its first paragraph mark, which an edit of that mark's format can reset.
            const auto sameCell = [&](int r, int c) {
                return r < table->rows() && c < table->columns()
                    && table->cellAt(r, c).firstPosition() == cell.firstPosition();
            };
            if (cell.row() != row)
                m_body.word("clvmrg");
            else if (sameCell(row + 1, column))
                m_body.word("clvmgf");
            if (cell.column() != column)
                m_body.word("clmrg");
            else if (sameCell(row, column + 1))
                m_body.word("clmgf");
            const QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
            if (cellFormat.verticalAlignment() == QTextCharFormat::AlignMiddle)
                m_body.word("clvertalc");
            else if (cellFormat.verticalAlignment() == QTextCharFormat::AlignBottom)
                m_body.word("clvertalb");
            if (cellFormat.hasProperty(QTextFormat::BackgroundBrush)) {
                const QBrush background = cellFormat.background();
                if (background.style() != Qt::NoBrush && background.color().alpha() > 0)
                    m_body.word("clcbpat", m_colors.index(background.color().rgb()));
            }
        }
        if (border > 0) {
            for (const char *side : { "clbrdrt", "clbrdrl", "clbrdrb", "clbrdrr" }) {
                m_body.word(side);
                m_body.word("brdrs");
                m_body.word("brdrw", border);
            }
        }
        m_body.word("cellx", rightEdges[size_t(column)]);
    }
}

void RtfDocumentWriter::writeBlock(const QTextBlock &block, const Place &place, const char *end)
{
    m_body.word("pard");
    if (place.depth > 0) {
        m_body.word("intbl");
        if (place.explicitLevel)
            m_body.word("itap", place.depth);
    }
    if (!block.isValid()) {
        m_body.word(end);
        m_body.newline();
        return;
    }
    m_body.words(paragraphWords(block));
    const QTextBlockFormat format = block.blockFormat();
    // A break after a paragraph is a break before the next one.
    const QTextFormat::PageBreakFlags breaks = format.pageBreakPolicy();
    if (m_pageBreakBefore && !breaks.testFlag(QTextFormat::PageBreak_AlwaysBefore))
        m_body.word("pagebb");
    m_pageBreakBefore = breaks.testFlag(QTextFormat::PageBreak_AlwaysAfter);

    // The first run's format (or, in an empty paragraph, the paragraph mark's) comes before the
    // list label so that the label looks like the text it stands before. A link or a picture keeps
    // its format inside its own group.
    const QTextBlock::iterator first = block.begin();
    if (first.atEnd()) {
        m_state.changeTo(
            run(block.charFormatIndex(), [&] { return block.charFormat(); }).state, m_body);
    } else {
        const QTextFragment fragment = first.fragment();
        const Run &firstRun
            = run(fragment.charFormatIndex(), [&] { return fragment.charFormat(); });
        if (firstRun.href.isEmpty() && !firstRun.image)
            m_state.changeTo(firstRun.state, m_body);
    }
    if (QTextList *list = block.textList())
        writeListLabel(list);
    writeRuns(block, first);
    m_body.word(end);
    m_body.newline();
}

const QByteArray &RtfDocumentWriter::paragraphWords(const QTextBlock &block)
{
    const int index = block.blockFormatIndex();
    if (index < 0)
        return m_paragraphWords.emplace_back();
    if (size_t(index) >= m_paragraphWords.size())
        m_paragraphWords.resize(size_t(index) + 1);
    QByteArray &words = m_paragraphWords[size_t(index)];
    if (!words.isEmpty())
        return words;

    const QTextBlockFormat format = block.blockFormat();
    long left = twips(format.leftMargin());
    long firstLine = twips(format.textIndent());
    if (const QTextList *list = block.textList()) {
        left += qMax(1, list->format().indent()) * listLevelIndent;
        firstLine -= listLabelHang;
    } else if (format.indent() > 0) {
        left += format.indent() * twips(m_document.indentWidth());
    }
    RtfOutput out(128);
    const bool rightToLeft = format.layoutDirection() == Qt::RightToLeft;
    out.word(alignmentWord(format.alignment(), rightToLeft));
    if (rightToLeft)
        out.word("rtlpar");
    out.word("li", left);
    out.word("ri", twips(format.rightMargin()));
    out.word("fi", firstLine);
    out.word("sb", twips(format.topMargin()));
    out.word("sa", twips(format.bottomMargin()));
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        out.word("sl", qMax(1L, std::lround(format.lineHeight() * 240 / 100)));
        out.word("slmult", 1);
        break;
    case QTextBlockFormat::FixedHeight:
        out.word("sl", -qMax(1L, twips(format.lineHeight())));
        out.word("slmult", 0);
        break;
    case QTextBlockFormat::MinimumHeight:
        out.word("sl", qMax(1L, twips(format.lineHeight())));
        out.word("slmult", 0);
        break;
    default:
        break;
    }
    for (const QTextOption::Tab &tab : format.tabPositions()) {
        switch (tab.type) {
        case QTextOption::RightTab:
            out.word("tqr");
            break;
        case QTextOption::CenterTab:
            out.word("tqc");
            break;
        case QTextOption::DelimiterTab:
            out.word("tqdec");
            break;
        default:
            break;
        }
        out.word("tx", qMax(0L, twips(tab.position)));
    }
    if (format.pageBreakPolicy().testFlag(QTextFormat::PageBreak_AlwaysBefore))
        out.word("pagebb");
    words = out.take();
    return words;
}

void RtfDocumentWriter::writeListLabel(QTextList *list)
{
    const QTextListFormat format = list->format();
    const QTextListFormat::Style style = RtfListFormat::style(format);
    const int item = ++m_listItems[list];

    // {\pntext ...} is the label as readers without list support print it; {\*\pn ...} describes
    // the list for the classic box and WordPad; \ls and \ilvl place the item in Word's list table,
    // which Word and LibreOffice prefer and which alone says the level.
    if (RtfWriterLists::isBullet(style)) {
        const RtfWriterLists::Bullet bullet = RtfWriterLists::bulletOf(style);
        const int font = m_fonts.index(QLatin1String(bullet.family));
        m_body.openGroup();
        m_body.word("pntext");
        m_body.word("f", font);
        writeSymbol(bullet.symbol);
        m_body.word("tab");
        m_body.raw("}{\\*\\pn");
        m_body.word("pnlvlblt");
        m_body.word("pnf", font);
        m_body.word("pnindent", 0);
        m_body.openGroup();
        m_body.word("pntxtb");
        writeSymbol(bullet.symbol);
        m_body.raw("}}");
    } else {
        const QString prefix = RtfWriterLists::prefixOf(format);
        const QString suffix = RtfWriterLists::suffixOf(format);
        m_body.openGroup();
        m_body.word("pntext");
        const int start = RtfListFormat::start(format);
        m_body.text(prefix + RtfWriterLists::numberText(style, item + start - 1) + suffix);
        m_body.word("tab");
        m_body.raw("}{\\*\\pn");
        m_body.word("pnlvlbody");
        m_body.word("pnf", m_state.font);
        m_body.word("pnindent", 0);
        m_body.word("pnstart", start);
        m_body.word(RtfWriterLists::legacyNumberingWord(style));
        if (!prefix.isEmpty()) {
            m_body.openGroup();
            m_body.word("pntxtb");
            m_body.text(prefix);
            m_body.closeGroup();
        }
        if (!suffix.isEmpty()) {
            m_body.openGroup();
            m_body.word("pntxta");
            m_body.text(suffix);
            m_body.closeGroup();
        }
        m_body.closeGroup();
    }
    m_body.word("ls", m_lists.number(list));
    m_body.word("ilvl", qBound(0, format.indent() - 1, 8));
}

void RtfDocumentWriter::writeSymbol(unsigned char symbol)
{
    if (symbol < 0x80)
        m_body.text(QString(QLatin1Char(char(symbol))));
    else
        m_body.hexByte(symbol);
}

void RtfDocumentWriter::writeRuns(const QTextBlock &block, QTextBlock::iterator first)
{
    const QString text = block.text();
    // Fragments follow one another through the block: their offsets add up, which is much
    // cheaper than asking each for its position in the document.
    qsizetype offset = 0;
    for (QTextBlock::iterator it = first; !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const qsizetype start = offset;
        const qsizetype length = fragment.length();
        offset += length;
        const Run &current = run(fragment.charFormatIndex(), [&] { return fragment.charFormat(); });
        if (m_linkOpen && current.href.isEmpty())
            closeLink();
        else if (!current.href.isEmpty())
            openLink(current.href);
        if (current.image) {
            writePictures(fragment);
            continue;
        }
        m_state.changeTo(current.state, m_body);
        m_body.text(QStringView(text).mid(start, length), m_fonts.isSymbol(m_state.font));
    }
    if (m_linkOpen)
        closeLink();
}

void RtfDocumentWriter::writePictures(const QTextFragment &fragment)
{
    const QTextImageFormat format = fragment.charFormat().toImageFormat();
    const QString name = format.name();
    auto found = m_pictures.find(name);
    if (found == m_pictures.end())
        found = m_pictures.insert(
            name, RtfWriterPicture::fromFormat(m_document, format, m_pictureCache));
    // Every object replacement character of the fragment is one picture of this format.
    for (int i = 0; i < fragment.length(); ++i)
        found->write(m_body, format);
}

void RtfDocumentWriter::openLink(const QString &href)
{
    if (m_linkOpen) {
        if (m_linkHref == href)
            return;
        closeLink();
    }
    m_linkOpen = true;
    m_linkHref = href;
    // The instruction is read in the font current before the field: in a symbol font its letters
    // would be symbols.
    if (m_fonts.isSymbol(m_state.font)) {
        RtfWriterRunState plain = m_state;
        plain.font = 0;
        m_state.changeTo(plain, m_body);
    }
    m_stateOutsideLink = m_state;
    m_body.raw("{\\field{\\*\\fldinst{HYPERLINK \"");
    // A quote would end the quoted argument and a backslash starts a field switch: both go in
    // their URL escapes, which every reader takes for the same link.
    QString url = href;
    url.replace(QLatin1Char('\\'), QLatin1String("%5C"));
    url.replace(QLatin1Char('"'), QLatin1String("%22"));
    m_body.text(url);
    m_body.raw("\"}}{\\fldrslt{");
}

void RtfDocumentWriter::closeLink()
{
    m_body.raw("}}}");
    m_linkOpen = false;
    m_linkHref.clear();
    m_state = m_stateOutsideLink;
}
