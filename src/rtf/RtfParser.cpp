#include "rtf/RtfParser.h"

#include "rtf/RtfKeywords.h"
#include "rtf/Twips.h"

#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <bit>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

int clampInt(int value, int low, int high)
{
    return std::clamp(value, low, high);
}

// Characters Qt's document must not receive inside a run: they would split blocks or fake
// frame boundaries.
inline bool isUnsafe(char16_t c)
{
    if (c >= 0x20 && c < 0x7f)
        return false;
    return (c < 0x20 && c != '\t') || c == 0x7f || c == 0x2029 || c == 0xfffc || c == 0xfdd0
        || c == 0xfdd1 || c == 0xfffe || c == 0xffff;
}

bool isBlank(QByteArrayView text)
{
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\0')
            return false;
    }
    return true;
}

QTextListFormat::Style styleForNumberFormat(int nfc)
{
    switch (nfc) {
    case 0:
        return QTextListFormat::ListDecimal;
    case 1:
        return QTextListFormat::ListUpperRoman;
    case 2:
        return QTextListFormat::ListLowerRoman;
    case 3:
        return QTextListFormat::ListUpperAlpha;
    case 4:
        return QTextListFormat::ListLowerAlpha;
    case 23:
        return QTextListFormat::ListDisc;
    case 255:
        return QTextListFormat::ListStyleUndefined;
    default:
        return QTextListFormat::ListDecimal; // the many other numberings Qt cannot show
    }
}

QTextListFormat::Style styleForPn(int pnStyle)
{
    switch (pnStyle) {
    case RtfParaProps::PnDecimal:
        return QTextListFormat::ListDecimal;
    case RtfParaProps::PnUpperLetter:
        return QTextListFormat::ListUpperAlpha;
    case RtfParaProps::PnLowerLetter:
        return QTextListFormat::ListLowerAlpha;
    case RtfParaProps::PnUpperRoman:
        return QTextListFormat::ListUpperRoman;
    case RtfParaProps::PnLowerRoman:
        return QTextListFormat::ListLowerRoman;
    case RtfParaProps::PnCircle:
        return QTextListFormat::ListCircle;
    case RtfParaProps::PnSquare:
        return QTextListFormat::ListSquare;
    default:
        return QTextListFormat::ListDisc;
    }
}

// The bullet style a bullet character shows: 'o' (in Courier New, as Word writes it) and the
// white bullets are circles; Wingdings' square (0xA7) and the black squares are squares.
QTextListFormat::Style bulletStyle(char16_t c)
{
    switch (c) {
    case u'o':
    case 0x25e6:
    case 0x25cb:
    case 0xf06f:
        return QTextListFormat::ListCircle;
    case 0xa7:
    case 0xf0a7:
    case 0x25aa:
    case 0x25a0:
    case 0xf06e:
        return QTextListFormat::ListSquare;
    default:
        return QTextListFormat::ListDisc;
    }
}

} // namespace

RtfParser::RtfParser(QByteArrayView data, QTextDocument *document)
    : m_tokenizer(data)
    , m_document(document)
    , m_cursor(document)
    , m_header(m_codePages)
    , m_fields(m_codePages)
{
    m_stack.reserve(64);
    m_stack.emplace_back();
}

RtfParser::~RtfParser() = default;

void RtfParser::parse()
{
    m_cursor.beginEditBlock();
    for (;;) {
        const RtfToken token = m_tokenizer.next();
        if (token.type == RtfToken::End)
            break;
        if (token.type == RtfToken::GroupOpen) {
            m_skipUnits = 0;
            m_groupJustOpened = openGroup();
            continue;
        }
        const bool justOpened = m_groupJustOpened;
        m_groupJustOpened = false;
        if (token.type == RtfToken::GroupClose) {
            m_skipUnits = 0;
            closeGroup();
            continue;
        }
        if (m_skipUnits > 0) {
            // The fallback of a \uN: a character, a \'hh, a control word or a \bin each count once.
            if (token.type == RtfToken::Text) {
                const qsizetype n = std::min<qsizetype>(m_skipUnits, token.data.size());
                m_skipUnits -= int(n);
                if (n < token.data.size())
                    handleText(token.data.sliced(n), token.printable);
            } else {
                --m_skipUnits;
            }
            continue;
        }
        switch (token.type) {
        case RtfToken::ControlWord:
            handleWord(token);
            break;
        case RtfToken::ControlSymbol:
            m_groupJustOpened = justOpened;
            handleSymbol(token.symbol);
            m_groupJustOpened = false;
            break;
        case RtfToken::HexByte:
            m_optionalDestination = false;
            handleText(QByteArrayView(reinterpret_cast<const char *>(&token.byte), 1),
                (token.byte >= 0x20 && token.byte < 0x7f) || token.byte == '\t');
            break;
        case RtfToken::Text:
            m_optionalDestination = false;
            handleText(token.data, token.printable);
            break;
        case RtfToken::Binary:
            m_optionalDestination = false;
            handleBinary(token.data);
            break;
        default:
            break;
        }
    }
    // Open groups are closed at the end of the input.
    while (m_stack.size() > 1)
        closeGroup();
    flushRun();
    if (m_paragraphHasContent) {
        prepareContent();
        applyParagraphFormat();
    }
    while (!m_tables.empty())
        closeTable();
    m_cursor.endEditBlock();
}

// ---------------------------------------------------------------------------------------------
// Groups and destinations

bool RtfParser::openGroup()
{
    m_optionalDestination = false;
    if (m_stack.size() > size_t(MaxGroupDepth)) {
        // Deeper groups are read past, not followed.
        m_tokenizer.skipGroup();
        return false;
    }
    m_stack.push_back(m_stack.back());
    return true;
}

void RtfParser::closeGroup()
{
    m_optionalDestination = false;
    if (m_stack.size() <= 1)
        return; // a stray closing brace
    const RtfGroupState closing = m_stack.back();
    m_stack.pop_back();
    const RtfGroupState::Destination parent = m_stack.back().destination;
    switch (closing.destination) {
    case RtfGroupState::FontTable:
    case RtfGroupState::LevelText:
    case RtfGroupState::ListOverride:
        m_header.closeGroup(closing.destination, parent);
        m_lastFontForCodePage = -2;
        break;
    case RtfGroupState::Picture:
        if (parent != RtfGroupState::Picture)
            insertPicture();
        break;
    case RtfGroupState::PnDefinition:
        if (parent != RtfGroupState::PnDefinition) {
            // The numbering a {\*\pn} group sets lasts for the paragraph around it.
            RtfParaProps &para = state().para;
            para.pnStyle = closing.para.pnStyle;
            para.pnLevel = closing.para.pnLevel;
            para.pnKind = closing.para.pnKind;
        }
        break;
    case RtfGroupState::PnBulletText:
        if (parent == RtfGroupState::PnDefinition)
            state().para.pnStyle = closing.para.pnStyle;
        break;
    default:
        break;
    }
}

bool RtfParser::skipDestination(QByteArrayView word)
{
    // The group's rest is read past; its state goes with it.
    const bool found = m_tokenizer.skipGroup(word);
    m_optionalDestination = false;
    if (m_stack.size() > 1)
        m_stack.pop_back();
    return found;
}

void RtfParser::enter(RtfGroupState::Destination destination)
{
    m_optionalDestination = false;
    state().destination = destination;
}

// ---------------------------------------------------------------------------------------------
// Control words

void RtfParser::handleSymbol(char symbol)
{
    if (symbol == '*') {
        // Only "{\*" marks an optional destination; a stray \* elsewhere must not make the
        // rest of its group (maybe the whole document) be skipped.
        m_optionalDestination = m_groupJustOpened;
        m_groupJustOpened = false;
        return;
    }
    m_optionalDestination = false;
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        handleText(QByteArrayView(&symbol, 1), true);
        break;
    case '~':
        appendCharacter(0x00a0);
        break;
    case '-':
        appendCharacter(0x00ad);
        break;
    case '_':
        appendCharacter(0x2011);
        break;
    case '\t':
        appendCharacter('\t');
        break;
    default:
        break; // \: \| and unknown symbols
    }
}

void RtfParser::handleWord(const RtfToken &token)
{
    const RtfKeyword &k = RtfKeywords::find(token.data);
    const bool optional = m_optionalDestination;
    m_optionalDestination = false;
    if (optional && k.kind != RtfKeyword::LeftOut
        && (k.kind != RtfKeyword::Destination || !k.afterStar)) {
        // {\*\word ...}: only destinations we know are read; anything else is read past whole.
        skipDestination();
        return;
    }
    switch (k.kind) {
    case RtfKeyword::Unknown:
        return;
    case RtfKeyword::Skip:
        skipDestination();
        return;
    case RtfKeyword::LeftOut:
        m_leftOutContent = true;
        skipDestination();
        return;
    case RtfKeyword::Destination:
        startDestination(RtfKeyword::DestinationId(k.arg));
        return;
    default:
        break;
    }
    if (k.target == RtfKeyword::Document) {
        documentWord(k, token);
        return;
    }
    if (destinationWord(k, token))
        return;
    bodyWord(k, token);
}

void RtfParser::documentWord(const RtfKeyword &k, const RtfToken &token)
{
    const int p = token.parameter;
    const bool has = token.hasParameter;
    switch (k.kind == RtfKeyword::Command ? k.arg : -1) {
    case RtfKeyword::AnsiCodePage:
        if (has && p > 0 && p < 100000)
            m_header.documentCodePage = p;
        m_lastFontForCodePage = -2;
        return;
    case RtfKeyword::DefaultFont:
        if (has)
            m_header.defaultFont = p;
        m_lastFontForCodePage = -2;
        return;
    case RtfKeyword::UnicodeSkip:
        state().unicodeSkip = clampInt(has ? p : 1, 0, 16);
        return;
    case RtfKeyword::Unicode:
        if (has)
            appendUnicode(p);
        m_skipUnits = state().unicodeSkip;
        return;
    default:
        m_header.documentCodePage = k.arg; // \ansi, \mac, \pc, \pca
        return;
    }
}

bool RtfParser::destinationWord(const RtfKeyword &k, const RtfToken &token)
{
    const int p = token.parameter;
    switch (state().destination) {
    case RtfGroupState::FontTable:
    case RtfGroupState::ColorTable:
    case RtfGroupState::List:
    case RtfGroupState::ListLevel:
    case RtfGroupState::ListOverride:
        m_header.word(state().destination, k, p, token.hasParameter);
        m_lastFontForCodePage = -2;
        return true;
    case RtfGroupState::ListTable:
    case RtfGroupState::ListOverrideTable:
        return true;
    case RtfGroupState::Picture:
        if (k.target == RtfKeyword::Picture)
            m_picture.*k.picture = k.valueFor(p, token.hasParameter);
        return true;
    case RtfGroupState::PnDefinition:
        if (k.target == RtfKeyword::Pn)
            handlePnWord(k, token.hasParameter ? p : 0);
        return true;
    default:
        return false;
    }
}

void RtfParser::bodyWord(const RtfKeyword &k, const RtfToken &token)
{
    RtfGroupState &s = state();
    switch (k.kind) {
    case RtfKeyword::Symbol:
        appendCharacter(char32_t(k.arg));
        return;
    case RtfKeyword::Command:
        bodyCommand(RtfKeyword::CommandId(k.arg), token);
        return;
    default:
        break;
    }
    const int value = k.valueFor(token.parameter, token.hasParameter);
    switch (k.target) {
    case RtfKeyword::Chars:
        s.chars.*k.chars = value;
        return;
    case RtfKeyword::Para:
        s.para.*k.para = value;
        return;
    case RtfKeyword::Row:
        rowDef().*k.row = value;
        return;
    case RtfKeyword::Cell:
        rowDef().pending.*k.cell = value;
        return;
    default:
        return; // a word of another destination
    }
}

void RtfParser::bodyCommand(RtfKeyword::CommandId command, const RtfToken &token)
{
    const int p = token.parameter;
    const bool has = token.hasParameter;
    RtfGroupState &s = state();
    const bool body = s.destination == RtfGroupState::Body;
    RtfCharProps &c = s.chars;
    RtfParaProps &para = s.para;
    switch (command) {
    case RtfKeyword::Plain: {
        const int link = c.link;
        c = RtfCharProps();
        c.link = link;
        return;
    }
    case RtfKeyword::Up:
        c.vertical = (!has || p > 0) ? RtfCharProps::Super : RtfCharProps::Baseline;
        return;
    case RtfKeyword::Down:
        c.vertical = (!has || p > 0) ? RtfCharProps::Sub : RtfCharProps::Baseline;
        return;
    case RtfKeyword::FontNumber:
        if (has)
            c.font = p < 0 ? 0 : p;
        return;
    case RtfKeyword::FontSize:
        c.halfPoints = (has && p > 0) ? clampInt(p, 2, 3276) : 24;
        return;
    case RtfKeyword::Foreground:
        if (has && p >= 0 && p < m_header.colourCount())
            c.foreground = m_header.colour(p).isValid() ? p : -1;
        return;
    case RtfKeyword::Background:
        if (has && p >= 0 && p < m_header.colourCount())
            c.background = (p == 0 || !m_header.colour(p).isValid()) ? -1 : p; // 0: no highlight
        return;
    case RtfKeyword::Pard:
        flushParagraphText(); // the text belongs to the table level it was read in
        para = RtfParaProps();
        return;
    case RtfKeyword::Par:
    case RtfKeyword::Sect:
        if (body) {
            endParagraph();
            if (command == RtfKeyword::Sect)
                m_pnOutline.fill(nullptr); // outline numbering starts again in each section
        }
        return;
    case RtfKeyword::Page:
        if (!body)
            return;
        flushRun();
        if (m_paragraphHasContent)
            endParagraph();
        m_pageBreakPending = true;
        return;
    case RtfKeyword::TabStop:
        if (para.tabs.size() < 256) {
            QTextOption::Tab tab;
            tab.position = clampInt(p, 0, 31680);
            tab.type = QTextOption::TabType(para.pendingTabType);
            if (tab.type == QTextOption::DelimiterTab)
                tab.delimiter = QLatin1Char('.');
            para.tabs.append(tab);
        }
        para.pendingTabType = QTextOption::LeftTab;
        return;
    case RtfKeyword::InTable:
        flushParagraphText();
        para.inTable = (!has || p != 0) ? 1 : 0;
        return;
    case RtfKeyword::TableLevel:
        flushParagraphText();
        para.tableLevel = clampInt(p, 0, MaxTableDepth);
        return;
    case RtfKeyword::RowDefaults:
        rowDef() = RtfRowDef();
        return;
    case RtfKeyword::CellEdge: {
        RtfRowDef &def = rowDef();
        if (def.cells.size() < 64) {
            RtfCellDef cell = def.pending;
            cell.right = clampInt(p, -31680, 31680 * 4);
            def.cells.append(cell);
        }
        def.pending = RtfCellDef();
        return;
    }
    case RtfKeyword::CellBackground:
        if (has && p > 0 && m_header.colour(p).isValid())
            rowDef().pending.background = p;
        return;
    case RtfKeyword::EndCell:
        if (body)
            endCell(1);
        return;
    case RtfKeyword::EndNestedCell:
        if (body)
            endCell(std::max(2, paragraphLevel()));
        return;
    case RtfKeyword::EndRow:
        if (body || s.nestedTableProps)
            endRow(1);
        return;
    case RtfKeyword::EndNestedRow:
        if (body || s.nestedTableProps)
            endRow(std::max(2, std::min<int>(int(m_tables.size()), MaxTableDepth)));
        return;
    default:
        return;
    }
}

void RtfParser::startDestination(RtfKeyword::DestinationId id)
{
    RtfGroupState &s = state();
    const RtfGroupState::Destination dest = s.destination;
    const bool body = dest == RtfGroupState::Body;
    switch (id) {
    case RtfKeyword::Upr:
        s.outerDestination = dest;
        s.destination = RtfGroupState::Container;
        return;
    case RtfKeyword::ContainerResult:
        // The result part of a container goes where the container's text would have gone.
        if (dest == RtfGroupState::Container)
            s.destination = s.outerDestination;
        return;
    case RtfKeyword::Container:
        if (body) {
            s.outerDestination = dest;
            s.destination = RtfGroupState::Container;
        } else if (dest != RtfGroupState::Container) {
            skipDestination();
        }
        return;
    case RtfKeyword::ShapeInstructions:
        if (skipDestination("shptxt"))
            m_leftOutContent = true;
        return;
    case RtfKeyword::DrawingObject:
        if (skipDestination("dptxbxtext"))
            m_leftOutContent = true;
        return;
    case RtfKeyword::FontTable:
        m_header.startFontTable();
        enter(RtfGroupState::FontTable);
        return;
    case RtfKeyword::ColorTable:
        m_header.startColourTable();
        enter(RtfGroupState::ColorTable);
        return;
    case RtfKeyword::ListTable:
        enter(RtfGroupState::ListTable);
        return;
    case RtfKeyword::ListOverrideTable:
        enter(RtfGroupState::ListOverrideTable);
        return;
    default:
        startStructuredDestination(id);
        return;
    }
}

void RtfParser::startStructuredDestination(RtfKeyword::DestinationId id)
{
    RtfGroupState &s = state();
    const RtfGroupState::Destination dest = s.destination;
    const bool body = dest == RtfGroupState::Body;
    switch (id) {
    case RtfKeyword::ListDef:
        if (dest != RtfGroupState::ListTable || !m_header.startList()) {
            skipDestination();
            return;
        }
        enter(RtfGroupState::List);
        return;
    case RtfKeyword::ListLevel:
        if (dest != RtfGroupState::List || !m_header.startListLevel()) {
            skipDestination();
            return;
        }
        enter(RtfGroupState::ListLevel);
        return;
    case RtfKeyword::ListOverride:
        if (dest != RtfGroupState::ListOverrideTable) {
            skipDestination();
            return;
        }
        m_header.startListOverride();
        enter(RtfGroupState::ListOverride);
        return;
    case RtfKeyword::Pict:
        if (!body) {
            skipDestination();
            return;
        }
        m_picture.reset();
        enter(RtfGroupState::Picture);
        return;
    case RtfKeyword::ShpPict:
        if (!body)
            skipDestination();
        return;
    case RtfKeyword::Field:
        s.field = body ? m_fields.start() : -1;
        if (s.field < 0)
            skipDestination(); // a field inside an instruction or elsewhere: never shown
        return;
    case RtfKeyword::FieldInstruction:
        if (s.field < 0 || (!body && dest != RtfGroupState::FieldInstruction)) {
            skipDestination();
            return;
        }
        m_fields.startInstruction(s.field, instructionCodePage(s.chars.font));
        enter(RtfGroupState::FieldInstruction);
        return;
    case RtfKeyword::FieldResult:
        if (s.field >= 0 && (body || dest == RtfGroupState::FieldInstruction)) {
            enter(RtfGroupState::Body);
            startFieldResult();
        } else if (!body) {
            skipDestination();
        }
        return;
    case RtfKeyword::PnDefinition:
        if (!body) {
            skipDestination();
            return;
        }
        s.para.pnStyle = RtfParaProps::PnDecimal;
        s.para.pnLevel = 0;
        s.para.pnKind = RtfParaProps::PnBody;
        enter(RtfGroupState::PnDefinition);
        return;
    case RtfKeyword::PnBulletText:
        if (dest != RtfGroupState::PnDefinition) {
            skipDestination();
            return;
        }
        enter(RtfGroupState::PnBulletText);
        return;
    case RtfKeyword::LevelText:
        if (dest != RtfGroupState::ListLevel) {
            skipDestination();
            return;
        }
        m_header.startLevelText();
        enter(RtfGroupState::LevelText);
        return;
    case RtfKeyword::NestedTableProps:
        if (!body) {
            skipDestination();
            return;
        }
        s.nestedTableProps = true;
        enter(RtfGroupState::Ignore);
        return;
    default:
        return;
    }
}

// ---------------------------------------------------------------------------------------------
// Text

void RtfParser::handleText(QByteArrayView text, bool printable)
{
    RtfGroupState &s = state();
    switch (s.destination) {
    case RtfGroupState::Body:
        if (m_stack.size() == 1 && isBlank(text))
            return; // line breaks, spaces or NULs after the document's closing brace
        appendBytes(text, printable);
        return;
    case RtfGroupState::FontTable:
    case RtfGroupState::ColorTable:
        m_header.text(s.destination, text);
        m_lastFontForCodePage = -2;
        return;
    case RtfGroupState::Picture:
        m_picture.appendHex(text);
        m_picture.appendHex(m_tokenizer.readRawText());
        return;
    case RtfGroupState::PnBulletText:
        for (const char c : text)
            setPnBullet(uchar(c));
        return;
    case RtfGroupState::LevelText:
        m_header.text(s.destination, text);
        return;
    case RtfGroupState::FieldInstruction:
        if (s.field >= 0)
            m_fields.instructionBytes(s.field, text, instructionCodePage(s.chars.font));
        return;
    default:
        return;
    }
}

void RtfParser::handleBinary(QByteArrayView bytes)
{
    if (state().destination == RtfGroupState::Picture)
        m_picture.appendBinary(bytes);
    // Binary data anywhere else is never text.
}

void RtfParser::handlePnWord(const RtfKeyword &k, int value)
{
    RtfParaProps &para = state().para;
    const auto setKind = [&para](int kind, int level) {
        para.pnKind = kind;
        para.pnLevel = level;
        if (kind == RtfParaProps::PnBulleted)
            para.pnStyle = RtfParaProps::PnBullet;
    };
    switch (k.arg) {
    case RtfKeyword::PnLevel:
        // Levels 1 to 9 are outline levels; 10 and 11 are the simple and the bulleted paragraph.
        if (value >= 1 && value <= 9)
            setKind(RtfParaProps::PnOutline, value - 1);
        else if (value == 11)
            setKind(RtfParaProps::PnBulleted, 0);
        else
            setKind(RtfParaProps::PnBody, 0);
        return;
    case RtfKeyword::PnLevelBullet:
        setKind(RtfParaProps::PnBulleted, 0);
        return;
    case RtfKeyword::PnLevelBody:
        setKind(RtfParaProps::PnBody, 0);
        return;
    case RtfKeyword::PnLevelContinued:
        setKind(RtfParaProps::PnContinued, 0);
        return;
    default:
        // A bulleted paragraph stays bulleted whatever numbering words come with it.
        if (para.pnKind != RtfParaProps::PnBulleted)
            para.pnStyle = k.arg;
        return;
    }
}

void RtfParser::setPnBullet(char16_t c)
{
    int &style = state().para.pnStyle;
    if (style != RtfParaProps::PnBullet && style != RtfParaProps::PnCircle
        && style != RtfParaProps::PnSquare)
        return;
    switch (bulletStyle(c)) {
    case QTextListFormat::ListCircle:
        style = RtfParaProps::PnCircle;
        break;
    case QTextListFormat::ListSquare:
        style = RtfParaProps::PnSquare;
        break;
    default:
        style = RtfParaProps::PnBullet;
        break;
    }
}

int RtfParser::instructionCodePage(int font) const
{
    // A field instruction is plain text (a keyword, a URL, a file name) even when a symbol font
    // is current around it: its bytes are never glyph numbers.
    const int codePage = m_header.codePageOfFont(font);
    if (codePage == RtfCodePages::Symbol || codePage == RtfCodePages::SymbolPrivate)
        return m_header.documentCodePage;
    return codePage;
}

void RtfParser::prepareRun()
{
    const RtfCharProps &props = state().chars;
    if (!(props == m_runProps)) {
        flushRun();
        m_runProps = props;
    }
    if (props.font != m_lastFontForCodePage) {
        m_lastFontForCodePage = props.font;
        m_lastCodePage = m_header.codePageOfFont(props.font);
    }
    if (m_lastCodePage != m_bytesCodePage) {
        decodeBytes();
        m_bytesCodePage = m_lastCodePage;
    }
}

void RtfParser::appendBytes(QByteArrayView bytes, bool printable)
{
    if (state().chars.hidden)
        return;
    prepareRun();
    if (m_bytes.isEmpty() && (printable || RtfCodePages::isSingleByte(m_bytesCodePage))) {
        // No byte here waits for the next one to tell what it means (printable bytes are never
        // the first of a pair): straight into the run.
        decodeIntoRun(bytes, m_bytesCodePage, printable);
        return;
    }
    m_bytesPrintable = m_bytesPrintable && printable;
    m_bytes.append(bytes);
}

void RtfParser::appendCharacter(char32_t c)
{
    if (state().destination != RtfGroupState::Body || state().chars.hidden)
        return;
    if (c <= 0xffff && isUnsafe(char16_t(c)))
        return;
    prepareRun();
    decodeBytes();
    if (c > 0xffff) {
        m_run.append(QChar::highSurrogate(c));
        m_run.append(QChar::lowSurrogate(c));
    } else {
        m_run.append(QChar(char16_t(c)));
    }
}

void RtfParser::appendUnicode(int value)
{
    RtfGroupState &s = state();
    if (value < 0)
        value += 65536;
    if (value < 0 || value > 0xffff)
        return;
    if (s.destination == RtfGroupState::FieldInstruction) {
        if (s.field >= 0)
            m_fields.instructionCharacter(s.field, char16_t(value));
        return;
    }
    if (s.destination == RtfGroupState::PnBulletText) {
        setPnBullet(char16_t(value));
        return;
    }
    if (s.destination == RtfGroupState::LevelText || s.destination == RtfGroupState::FontTable) {
        m_header.unicode(s.destination, char16_t(value));
        return;
    }
    if (s.destination != RtfGroupState::Body)
        return;
    if (value >= 0xf020 && value <= 0xf0ff) {
        const int codePage = m_header.codePageOfFont(s.chars.font);
        if (codePage == RtfCodePages::Symbol) {
            appendCharacter(RtfCodePages::symbolCharacter(uchar(value - 0xf000), codePage));
            return;
        }
    }
    appendCharacter(char32_t(value));
}

void RtfParser::decodeBytes()
{
    if (m_bytes.isEmpty())
        return;
    decodeIntoRun(m_bytes, m_bytesCodePage, m_bytesPrintable);
    m_bytes.truncate(0);
    m_bytesPrintable = true;
}

void RtfParser::decodeIntoRun(QByteArrayView bytes, int codePage, bool printable)
{
    const qsizetype start = m_run.size();
    m_codePages.decode(bytes, codePage, m_run, printable);
    if (printable)
        return;
    // Control characters and Qt's own block and frame markers would break the structure.
    char16_t *const begin = reinterpret_cast<char16_t *>(m_run.data());
    char16_t *const end = begin + m_run.size();
    char16_t *const unsafe = std::find_if(begin + start, end, isUnsafe);
    if (unsafe != end)
        m_run.truncate(std::remove_if(unsafe, end, isUnsafe) - begin);
}

void RtfParser::flushParagraphText()
{
    if (!m_bytes.isEmpty() || m_run.size() > m_endedInRun)
        flushRun();
}

void RtfParser::flushRun()
{
    decodeBytes();
    if (m_endedInRun > 0) {
        // The run starts with whole paragraphs, each ended by a paragraph separator (see
        // joinParagraph()). The last separator stands for the block the next content starts.
        const bool alone = m_endedInRun == m_run.size();
        if (alone || paragraphLevel() != 0 || !m_tables.empty()) {
            // They go in by themselves: what follows them belongs to a table, or to nothing yet.
            if (m_blockPending)
                m_cursor.insertBlock();
            if (alone) {
                m_run.chop(1);
                m_cursor.insertText(m_run, charFormat(m_runProps));
                m_run.truncate(0); // keeps its buffer for the next run
            } else {
                m_cursor.insertText(m_run.first(m_endedInRun - 1), charFormat(m_runProps));
                m_run.remove(0, m_endedInRun);
            }
            m_endedInRun = 0;
            m_blockPending = true;
            m_paragraphHasContent = false;
        }
    }
    if (m_run.isEmpty())
        return;
    prepareContent();
    m_cursor.insertText(m_run, charFormat(m_runProps));
    m_run.truncate(0); // keeps its buffer for the next run
    m_endedInRun = 0;
    m_paragraphHasContent = true;
}

QTextCharFormat RtfParser::charFormat(const RtfCharProps &props)
{
    const auto found = m_charFormats.constFind(props);
    if (found != m_charFormats.constEnd())
        return found.value();
    QTextCharFormat format;
    const QString family = m_header.fontName(props.font);
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
    if (const QColor colour = m_header.colour(props.foreground); colour.isValid())
        format.setForeground(colour);
    if (const QColor colour = m_header.colour(props.background); colour.isValid())
        format.setBackground(colour);
    if (const QString link = m_fields.link(props.link); !link.isEmpty()) {
        format.setAnchor(true);
        format.setAnchorHref(link);
    }
    if (m_charFormats.size() < 10000)
        m_charFormats.insert(props, format);
    return format;
}

// ---------------------------------------------------------------------------------------------
// Paragraphs, lists, tables

int RtfParser::paragraphLevel() const
{
    const RtfParaProps &para = m_stack.back().para;
    int level = para.inTable ? std::max(1, para.tableLevel) : para.tableLevel;
    // \itap can jump levels in broken files: never more than one deeper than what is open.
    return std::clamp(level, 0, std::min<int>(int(m_tables.size()) + 1, MaxTableDepth));
}

void RtfParser::prepareContent()
{
    syncTables(paragraphLevel());
    if (!m_tables.empty())
        advanceCell(m_tables.back());
    if (m_blockPending) {
        // The new block takes the format of the one before: applyParagraphFormat() skips
        // setting it again when it is the same.
        m_cursor.insertBlock();
        m_blockPending = false;
    }
}

void RtfParser::endParagraph()
{
    if (joinParagraph())
        return;
    flushRun();
    prepareContent();
    applyParagraphFormat();
    m_blockPending = true;
    m_paragraphHasContent = false;
}

bool RtfParser::joinParagraph()
{
    // A paragraph of text formatted like the one before it, outside tables and lists, needs no
    // work of its own at its end: a paragraph separator in the run makes its block when the run
    // goes in, and the next paragraph's text can join the same run. Long notes are mostly such
    // paragraphs, and one insertion instead of two per paragraph is what reads them fast.
    decodeBytes();
    if (m_run.size() <= m_endedInRun || m_pageBreakPending || !m_tables.empty()
        || paragraphLevel() != 0)
        return false;
    const RtfParaProps &props = state().para;
    if (props.listOverride > 0 || props.pnStyle != RtfParaProps::PnNone || m_pnList
        || m_pnKey != -1)
        return false;
    // The same test applyParagraphFormat() makes before leaving the block's format alone.
    const QTextBlockFormat format = blockFormat(props);
    if (format.hasProperty(QTextFormat::PageBreakPolicy)
        || m_inheritedFormat != m_blockFormatGeneration)
        return false;
    m_run.append(QChar::ParagraphSeparator);
    m_endedInRun = m_run.size();
    m_paragraphHasContent = false;
    return true;
}

void RtfParser::applyParagraphFormat()
{
    const RtfParaProps &props = state().para;
    QTextBlockFormat format = blockFormat(props);
    if (m_pageBreakPending) {
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        m_pageBreakPending = false;
    }
    const bool inList = props.listOverride > 0 || props.pnStyle != RtfParaProps::PnNone;
    const bool continues = props.listOverride == 0 && props.pnKind == RtfParaProps::PnContinued;
    if (inList && (!continues || m_pnLast)) {
        // Qt indents list items itself, by their level; a paragraph that goes on with a list
        // without a number, outside it, is indented as far as the list's text.
        format.setLeftMargin(
            continues ? m_document->indentWidth() * m_pnLast->format().indent() : 0);
        format.setTextIndent(0);
    }
    const bool plain = !inList && !format.hasProperty(QTextFormat::PageBreakPolicy);
    if (!plain || m_inheritedFormat != m_blockFormatGeneration)
        m_cursor.setBlockFormat(format);
    m_inheritedFormat = plain ? m_blockFormatGeneration : -1;
    if (!m_paragraphHasContent && m_cursor.block().length() <= 1)
        m_cursor.setBlockCharFormat(charFormat(state().chars));
    applyList(props);
}

QTextBlockFormat RtfParser::blockFormat(const RtfParaProps &props)
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

void RtfParser::applyList(const RtfParaProps &props)
{
    if (props.listOverride > 0) {
        // Word lists: one QTextList per list and level, numbering on across other paragraphs;
        // an item restarts the deeper levels of its list.
        auto &levels = m_wordLists[props.listOverride];
        for (int level = props.listLevel + 1; level < int(levels.size()); ++level)
            levels[level] = nullptr;
        QTextList *list = levels[props.listLevel].data();
        if (list) {
            list->add(m_cursor.block());
        } else {
            const RtfHeaderTables::ListLevelDef level
                = m_header.listLevel(props.listOverride, props.listLevel);
            QTextListFormat format;
            format.setStyle(level.numberFormat == 23 ? bulletStyle(level.bullet)
                                                     : styleForNumberFormat(level.numberFormat));
            format.setIndent(props.listLevel + 1);
            list = m_cursor.createList(format);
            levels[props.listLevel] = list;
        }
        m_pnList = nullptr;
        m_pnKey = -1;
        m_pnLast = list;
        return;
    }
    if (props.pnStyle != RtfParaProps::PnNone) {
        applyPnList(props);
        return;
    }
    m_pnList = nullptr;
    m_pnKey = -1;
    m_pnLast = nullptr;
}

void RtfParser::applyPnList(const RtfParaProps &props)
{
    QTextListFormat format;
    format.setStyle(styleForPn(props.pnStyle));
    format.setIndent(props.pnLevel + 1);
    switch (props.pnKind) {
    case RtfParaProps::PnContinued:
        // Outside the list, which goes on after it (applyParagraphFormat() indents it).
        return;
    case RtfParaProps::PnOutline: {
        // Each level numbers on through the section; an item restarts the levels below it.
        for (int level = props.pnLevel + 1; level < int(m_pnOutline.size()); ++level)
            m_pnOutline[level] = nullptr;
        QPointer<QTextList> &list = m_pnOutline[props.pnLevel];
        if (list && list->format().style() == format.style())
            list->add(m_cursor.block());
        else
            list = m_cursor.createList(format);
        m_pnList = nullptr;
        m_pnKey = -1;
        m_pnLast = list;
        return;
    }
    default: {
        // Simple numbering and bullets: consecutive paragraphs of one kind make one list.
        const int key = props.pnStyle * 16 + props.pnLevel;
        if (m_pnList && key == m_pnKey) {
            m_pnList->add(m_cursor.block());
        } else {
            m_pnList = m_cursor.createList(format);
            m_pnKey = key;
        }
        m_pnLast = m_pnList;
        return;
    }
    }
}

RtfRowDef &RtfParser::rowDef()
{
    int level = std::max(1, paragraphLevel());
    if (state().nestedTableProps)
        level = std::max(2, level);
    return m_rowDefs[std::min(level, MaxTableDepth)];
}

void RtfParser::syncTables(int level)
{
    level = std::clamp(level, 0, MaxTableDepth);
    while (int(m_tables.size()) > level)
        closeTable();
    while (int(m_tables.size()) < level)
        openTable();
}

void RtfParser::openTable()
{
    if (!m_tables.empty())
        advanceCell(m_tables.back());
    // After a paragraph the table follows it directly; no empty paragraph in between.
    m_blockPending = false;
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setCellSpacing(0);
    format.setCellPadding(
        Twips::toPixels(m_rowDefs[std::min<int>(int(m_tables.size()) + 1, MaxTableDepth)].gap));
    OpenTable table;
    table.table = m_cursor.insertTable(1, 1, format);
    table.level = std::min<int>(int(m_tables.size()) + 1, MaxTableDepth);
    m_inheritedFormat = -1;
    table.verticalStart.append(-1);
    layoutRow(table);
    m_tables.push_back(table);
    m_paragraphHasContent = false;
}

void RtfParser::layoutRow(OpenTable &table)
{
    // A row with fewer cells than the table has columns (LibreOffice and Word write a cell
    // spanning columns as one wide cell) puts each cell at the column its edges match.
    table.starts.clear();
    table.spans.clear();
    const RtfRowDef &def = m_rowDefs[table.level];
    if (def.cells.isEmpty())
        return;
    if (table.boundaries.isEmpty()) {
        for (const RtfCellDef &cell : def.cells)
            table.boundaries.append(cell.right);
        return;
    }
    if (def.cells.size() >= table.boundaries.size())
        return;
    int start = 0;
    for (const RtfCellDef &cell : def.cells) {
        // The column whose right edge is nearest to the cell's right edge, within 1/8 inch.
        int end = -1;
        int best = 181;
        for (int c = start; c < table.boundaries.size(); ++c) {
            const int distance = std::abs(table.boundaries.at(c) - cell.right);
            if (distance < best) {
                best = distance;
                end = c;
            }
        }
        if (end < start) {
            table.starts.clear(); // edges that match no column: cells follow one another
            table.spans.clear();
            return;
        }
        table.starts.append(start);
        table.spans.append(end - start + 1);
        start = end + 1;
    }
}

void RtfParser::advanceCell(OpenTable &table)
{
    // The cursor is always at the end of the current cell: everything is written in order. An
    // empty cell takes one position, so the next cell's place is found by counting, without
    // QTextTable::cellAt(), which rebuilds the table's grid after every change of its shape.
    QTextTable *t = table.table;
    int position = m_cursor.position();
    if (table.rowEnded) {
        const int rest = t->columns() - 1 - table.column; // empty cells left in this row
        if (table.row + 1 >= t->rows()) {
            // Rows are added in growing chunks; the spare ones go when the table closes.
            t->appendRows(std::clamp(t->rows(), 1, 1024));
        }
        ++table.row;
        table.cellIndex = 0;
        layoutRow(table);
        table.column = table.starts.value(0, 0);
        position += rest + 1 + table.column;
    } else if (table.cellEnded) {
        const int next = std::max(table.column + 1, table.starts.value(table.cellIndex + 1, 0));
        if (next >= MaxColumns) {
            // Cells past the cap become paragraphs of the last one: a row of a million \cell
            // must not make a million columns.
            table.cellEnded = false;
            m_blockPending = true;
            return;
        }
        ++table.cellIndex;
        if (next >= t->columns()) {
            const int added = next + 1 - t->columns();
            t->appendColumns(added);
            for (int i = 0; i < added; ++i)
                table.verticalStart.append(-1);
            table.column = next;
            position = t->cellAt(table.row, table.column).firstPosition();
        } else {
            position += next - table.column;
            table.column = next;
        }
    } else {
        return;
    }
    const int span = table.spans.value(table.cellIndex, 1);
    if (span > 1)
        table.merges.append({ table.row, table.column, 1, span });
    table.rowEnded = false;
    table.cellEnded = false;
    m_cursor.setPosition(position);
    m_inheritedFormat = -1;
    m_blockPending = false;
    m_paragraphHasContent = false;
}

void RtfParser::endCell(int level)
{
    flushRun();
    if (m_tables.empty() && paragraphLevel() == 0) {
        endParagraph(); // a \cell outside any table ends a paragraph, nothing more
        return;
    }
    syncTables(std::min<int>(level, int(m_tables.size()) + 1));
    OpenTable &table = m_tables.back();
    advanceCell(table);
    if (m_blockPending) {
        // "\par\cell": the cell ends with an empty paragraph.
        m_cursor.insertBlock();
        m_blockPending = false;
    }
    applyParagraphFormat();
    table.cellEnded = true;
    m_paragraphHasContent = false;
}

void RtfParser::endRow(int level)
{
    flushRun();
    level = std::clamp(level, 1, MaxTableDepth);
    if (int(m_tables.size()) < level)
        return; // a stray \row
    syncTables(level);
    OpenTable &table = m_tables.back();
    if (!table.cellEnded && !table.rowEnded && m_paragraphHasContent)
        applyParagraphFormat(); // a last cell without its \cell
    m_blockPending = false;
    m_paragraphHasContent = false;

    const RtfRowDef &def = m_rowDefs[level];
    const int columns = table.table->columns();
    // Column widths come from the row with the most cells.
    if (def.cells.size() > table.widths.size()
        || (table.widths.isEmpty() && !def.cells.isEmpty())) {
        table.widths.clear();
        int left = def.left;
        for (const RtfCellDef &cell : def.cells) {
            table.widths.append(std::max(0, cell.right - left));
            left = cell.right;
        }
        table.gap = def.gap;
        // \trftsWidth2: the width is in fiftieths of a percent of the text's width.
        table.percentWidth = def.widthUnit == 2 ? qMin(def.width, 5000) : 0;
    }
    // Each cell's column: its own number, unless the row was laid out with wide cells.
    QList<const RtfCellDef *> byColumn(columns, nullptr);
    for (int i = 0; i < def.cells.size(); ++i) {
        const int column = table.starts.value(i, i);
        if (column >= columns)
            break;
        byColumn[column] = &def.cells.at(i);
        const RtfCellDef &cell = def.cells.at(i);
        if (cell.background > 0 && cell.background < m_header.colourCount()) {
            QTextTableCell c = table.table->cellAt(table.row, column);
            QTextCharFormat format = c.format();
            format.setBackground(m_header.colour(cell.background));
            c.setFormat(format);
        }
        if (cell.mergeFirst) {
            int span = 1;
            while (i + span < def.cells.size() && column + span < columns
                && def.cells.at(i + span).merged)
                ++span;
            if (span > 1)
                table.merges.append({ table.row, column, 1, span });
        }
    }
    for (int i = 0; i < columns && i < table.verticalStart.size(); ++i) {
        const bool first = byColumn.at(i) && byColumn.at(i)->verticalFirst;
        const bool merged = byColumn.at(i) && byColumn.at(i)->verticalMerged;
        int &start = table.verticalStart[i];
        if (merged && start >= 0)
            continue; // the merge goes on
        if (start >= 0 && table.row - 1 > start)
            table.merges.append({ start, i, table.row - start, 1 });
        start = first ? table.row : -1;
    }
    // Where the row ends, for the columns only another row's surplus cells made.
    const int defined
        = table.starts.isEmpty() ? int(def.cells.size()) : table.starts.last() + table.spans.last();
    table.definedColumns = std::max(table.definedColumns, std::min(defined, columns));
    if (table.rowEnds.size() <= table.row)
        table.rowEnds.resize(table.row + 1, 0);
    int &rowEnd = table.rowEnds[table.row];
    rowEnd = std::max({ rowEnd, defined, table.column + table.spans.value(table.cellIndex, 1) });
    table.rowEnded = true;
    table.cellEnded = false;
}

void RtfParser::closeTable()
{
    OpenTable table = m_tables.back();
    m_tables.pop_back();
    QTextTable *t = table.table;
    if (t->rows() > table.row + 1)
        removeSpareRows(t, table.row + 1);
    const int rows = t->rows();
    for (int i = 0; i < table.verticalStart.size(); ++i) {
        const int start = table.verticalStart.at(i);
        if (start >= 0 && rows - 1 > start)
            table.merges.append({ start, i, rows - start, 1 });
    }
    spanExtraColumns(table);
    for (const Merge &merge : std::as_const(table.merges)) {
        if (merge.row + merge.rows > rows || merge.column + merge.columns > t->columns())
            continue;
        // Qt merges an empty covered cell by joining its block to the block before it, which
        // then takes the covered block's format: give that block the format it must keep.
        for (int row = merge.row; row < merge.row + merge.rows; ++row) {
            for (int column = merge.column; column < merge.column + merge.columns; ++column) {
                if (row == merge.row && column == merge.column)
                    continue;
                const QTextTableCell cell = t->cellAt(row, column);
                if (cell.row() != row || cell.column() != column
                    || cell.firstPosition() != cell.lastPosition())
                    continue;
                const QTextBlock covered = m_document->findBlock(cell.firstPosition());
                const QTextBlock before = covered.previous();
                if (before.isValid()) {
                    QTextCursor cursor(covered);
                    cursor.setBlockFormat(before.blockFormat());
                    cursor.setBlockCharFormat(before.charFormat());
                }
            }
        }
        t->mergeCells(merge.row, merge.column, merge.rows, merge.columns);
    }
    if (!table.widths.isEmpty()) {
        QTextTableFormat format = t->format();
        // A table that follows the text's width keeps to it: its columns are their shares of the
        // \cellx edges.
        int total = 0;
        for (const int width : std::as_const(table.widths))
            total += width;
        const bool relative = table.percentWidth > 0 && total > 0;
        if (relative)
            format.setWidth(QTextLength(QTextLength::PercentageLength, table.percentWidth / 50.0));
        QList<QTextLength> widths;
        for (int i = 0; i < t->columns(); ++i) {
            if (i < table.widths.size() && table.widths.at(i) > 0)
                widths.append(relative ? QTextLength(
                                  QTextLength::PercentageLength, table.widths.at(i) * 100.0 / total)
                                       : QTextLength(QTextLength::FixedLength,
                                           Twips::toPixels(table.widths.at(i))));
            else
                widths.append(QTextLength(QTextLength::VariableLength, 0));
        }
        format.setColumnWidthConstraints(widths);
        format.setCellPadding(Twips::toPixels(table.gap));
        t->setFormat(format);
    }
    m_cursor.setPosition(t->lastPosition() + 1);
    m_inheritedFormat = -1;
    m_blockPending = false;
    m_paragraphHasContent = false;
}

void RtfParser::spanExtraColumns(OpenTable &table)
{
    // A row can end with more \cell than it has \cellx edges (LibreOffice writes one more in a
    // row that holds a nested table). The surplus cells belong to that row alone: in the rows
    // that do not reach those columns, the last cell spans them, as no edge of theirs made them.
    const int columns = table.table->columns();
    if (table.definedColumns <= 0 || table.definedColumns >= columns)
        return;
    QHash<std::pair<int, int>, qsizetype> across; // (row, last column) of merges in one row
    QSet<std::pair<int, int>> down; // the cells of merges over several rows
    for (qsizetype i = 0; i < table.merges.size(); ++i) {
        const Merge &merge = table.merges.at(i);
        if (merge.rows == 1) {
            across.insert({ merge.row, merge.column + merge.columns - 1 }, i);
        } else {
            for (int row = merge.row; row < merge.row + merge.rows; ++row) {
                for (int column = merge.column; column < merge.column + merge.columns; ++column)
                    down.insert({ row, column });
            }
        }
    }
    const int rows = std::min<int>(table.table->rows(), int(table.rowEnds.size()));
    for (int row = 0; row < rows; ++row) {
        const int end = std::max(table.rowEnds.at(row), table.definedColumns);
        if (end >= columns)
            continue;
        const std::pair<int, int> last(row, end - 1);
        if (down.contains(last))
            continue; // a cell merged down keeps its width
        const auto found = across.constFind(last);
        if (found != across.constEnd())
            table.merges[found.value()].columns += columns - end;
        else
            table.merges.append({ row, end - 1, 1, columns - end + 1 });
    }
}

void RtfParser::removeSpareRows(QTextTable *table, int from)
{
    // Qt joins the block before the removed rows with the first removed cell's block, and an
    // empty block then takes that cell's formats: the last cell's last paragraph keeps its own.
    const auto lastBlock = [this, table, from] {
        return m_document->findBlock(table->cellAt(from - 1, table->columns() - 1).lastPosition());
    };
    const QTextBlock before = lastBlock();
    const QTextBlockFormat blockFormat = before.blockFormat();
    const QTextCharFormat charFormat = before.charFormat();
    table->removeRows(from, table->rows() - from);
    QTextCursor cursor(lastBlock());
    cursor.setBlockFormat(blockFormat);
    cursor.setBlockCharFormat(charFormat);
}

// ---------------------------------------------------------------------------------------------
// Header tables, fields, pictures

void RtfParser::startFieldResult()
{
    RtfGroupState &s = state();
    if (s.field < 0)
        return;
    const int link = m_fields.resultLink(s.field);
    if (link >= 0)
        s.chars.link = link;
}

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

void RtfParser::insertPicture()
{
    QImage image
        = m_picture.kind == RtfPicture::Metafile ? QImage() : m_picture.image(m_imageBudget);
    m_imageBudget -= image.sizeInBytes();
    const bool original = !image.isNull()
        && (m_picture.kind == RtfPicture::Png || m_picture.kind == RtfPicture::Jpeg);
    if (image.isNull()) {
        image = m_picture.placeholder();
        // The placeholder is all a save would keep of the picture.
        if (!m_picture.bytes().isEmpty())
            m_leftOutContent = true;
    }
    const QSizeF size = m_picture.displaySize(image.size());
    const bool jpeg = original && m_picture.kind == RtfPicture::Jpeg;
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
            QUrl(QStringLiteral("rtf-original:") + name), m_picture.bytes());
    }
    flushRun();
    prepareContent();
    QTextImageFormat format;
    const int link = state().chars.link;
    if (const QString href = m_fields.link(link); !href.isEmpty()) {
        // A picture as a field's result: a linked picture.
        format.setAnchor(true);
        format.setAnchorHref(href);
    }
    format.setName(name);
    format.setWidth(size.width());
    format.setHeight(size.height());
    m_cursor.insertImage(format);
    m_paragraphHasContent = true;
    m_picture.reset();
}
