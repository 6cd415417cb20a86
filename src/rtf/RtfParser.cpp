#include "rtf/RtfParser.h"

#include "rtf/RtfDocumentBuilder.h"
#include "rtf/RtfKeywords.h"
#include "rtf/RtfListBuilder.h"
#include "rtf/RtfTextBuilder.h"

#include <algorithm>
#include <limits>

namespace {

int clampInt(int value, int low, int high)
{
    return std::clamp(value, low, high);
}

bool isBlank(QByteArrayView text)
{
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\0')
            return false;
    }
    return true;
}

} // namespace

RtfParser::RtfParser(QByteArrayView data, QTextDocument *document)
    : m_tokenizer(data)
    , m_header(m_codePages)
    , m_fields(m_codePages)
    , m_listText(m_codePages)
    , m_decoder(m_codePages, m_header)
    , m_bodyWords(m_header, m_decoder, m_rowDefs)
    , m_asideWords(m_tokenizer, m_stack, m_decoder)
{
    m_stack.reserve(64);
    m_stack.emplace_back();
    const RtfReadContext context { m_stack, m_header, m_fields, m_rowDefs };
    if (document) {
        m_builder = std::make_unique<RtfDocumentBuilder>(context, document);
    } else {
        auto builder = std::make_unique<RtfTextBuilder>(context);
        m_textBuilder = builder.get();
        m_builder = std::move(builder);
    }
    m_decoder.setBuilder(m_builder.get());
    m_bodyWords.setBuilder(m_builder.get());
    m_asideWords.setBuilder(m_builder.get());
}

RtfParser::~RtfParser() = default;

QString RtfParser::text() const
{
    return m_textBuilder ? m_textBuilder->text() : QString();
}

bool RtfParser::parse()
{
    qsizetype nextReport = m_progress ? 0 : std::numeric_limits<qsizetype>::max();
    const bool whole = readTokens(nextReport);
    // Open groups are closed at the end of the input.
    while (m_stack.size() > 1)
        closeGroup();
    if (whole)
        readNotes();
    m_decoder.decodeBytes();
    m_builder->finish();
    return whole;
}

bool RtfParser::readTokens(qsizetype &nextReport)
{
    for (;;) {
        if (m_tokenizer.position() >= nextReport) {
            if (!m_progress(m_tokenizer.position()))
                return false;
            nextReport = m_tokenizer.position() + progressStep;
        }
        const RtfToken token = m_tokenizer.next();
        if (token.type == RtfToken::End)
            return true;
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
    m_asideWords.groupClosed(closing);
    const RtfGroupState::Destination parent = m_stack.back().destination;
    switch (closing.destination) {
    case RtfGroupState::FontTable:
    case RtfGroupState::LevelText:
    case RtfGroupState::ListOverride:
        m_header.closeGroup(closing.destination, parent);
        m_decoder.fontsChanged();
        break;
    case RtfGroupState::Picture:
        if (parent != RtfGroupState::Picture) {
            m_decoder.decodeBytes();
            m_builder->picture(m_picture);
            m_picture.reset();
        }
        break;
    case RtfGroupState::FieldInstruction:
        if (parent != RtfGroupState::FieldInstruction && closing.field >= 0)
            insertSymbol(closing.field);
        break;
    case RtfGroupState::ListText:
        if (parent == RtfGroupState::Body)
            m_builder->listLabel(m_listText.take());
        break;
    case RtfGroupState::PnDefinition:
        if (parent != RtfGroupState::PnDefinition) {
            // The numbering a {\*\pn} group sets lasts for the paragraph around it.
            RtfParaProps &para = state().para;
            para.pnStyle = closing.para.pnStyle;
            para.pnLevel = closing.para.pnLevel;
            para.pnKind = closing.para.pnKind;
            para.pnStart = closing.para.pnStart;
            m_builder->pnNumberText(m_pnBefore, m_pnAfter);
        }
        break;
    case RtfGroupState::PnBulletText:
        if (parent == RtfGroupState::PnDefinition) {
            state().para.pnStyle = closing.para.pnStyle;
            m_pnBefore = m_listText.take(false);
        }
        break;
    case RtfGroupState::PnAfterText:
        if (parent == RtfGroupState::PnDefinition)
            m_pnAfter = m_listText.take(false);
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
    if (k.target == RtfKeyword::Notes || k.target == RtfKeyword::Shapes) {
        m_asideWords.word(k);
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
    if (state().destination != RtfGroupState::Body && destinationWord(k, token))
        return;
    m_bodyWords.word(k, token, state());
}

void RtfParser::documentWord(const RtfKeyword &k, const RtfToken &token)
{
    const int p = token.parameter;
    const bool has = token.hasParameter;
    switch (k.kind == RtfKeyword::Command ? k.arg : -1) {
    case RtfKeyword::AnsiCodePage:
        if (has && p > 0 && p < 100000)
            m_header.documentCodePage = p;
        m_decoder.fontsChanged();
        return;
    case RtfKeyword::DefaultFont:
        if (has)
            m_header.defaultFont = p;
        m_decoder.fontsChanged();
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
        m_decoder.fontsChanged();
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
            RtfListBuilder::pnWord(state().para, k, token.hasParameter ? p : 0);
        return true;
    case RtfGroupState::ListText:
        // Only the font counts, for the code page of the label's bytes.
        return k.kind != RtfKeyword::Command
            || (k.arg != RtfKeyword::FontNumber && k.arg != RtfKeyword::Plain);
    default:
        return false;
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
    case RtfKeyword::ListLevel:
    case RtfKeyword::ListOverride:
    case RtfKeyword::LevelText:
        startListDestination(id);
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
        s.para.pnStart = 1;
        m_pnBefore.reset();
        m_pnAfter.reset();
        enter(RtfGroupState::PnDefinition);
        return;
    case RtfKeyword::PnBulletText:
    case RtfKeyword::PnAfterText:
        if (dest != RtfGroupState::PnDefinition) {
            skipDestination();
            return;
        }
        m_listText.start();
        enter(id == RtfKeyword::PnBulletText ? RtfGroupState::PnBulletText
                                             : RtfGroupState::PnAfterText);
        return;
    case RtfKeyword::ListText:
        if (!body) {
            skipDestination();
            return;
        }
        m_listText.start();
        enter(RtfGroupState::ListText);
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

void RtfParser::startListDestination(RtfKeyword::DestinationId id)
{
    const RtfGroupState::Destination dest = state().destination;
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
    case RtfKeyword::LevelText:
        if (dest != RtfGroupState::ListLevel) {
            skipDestination();
            return;
        }
        m_header.startLevelText();
        enter(RtfGroupState::LevelText);
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
        m_decoder.appendBytes(text, printable, s.chars);
        return;
    case RtfGroupState::FontTable:
    case RtfGroupState::ColorTable:
        m_header.text(s.destination, text);
        m_decoder.fontsChanged();
        return;
    case RtfGroupState::Picture:
        m_picture.appendHex(text);
        m_picture.appendHex(m_tokenizer.readRawText());
        return;
    case RtfGroupState::PnBulletText:
        for (const char c : text)
            RtfListBuilder::pnBullet(state().para, uchar(c));
        m_listText.bytes(text, m_header.codePageOfFont(s.chars.font));
        return;
    case RtfGroupState::PnAfterText:
        m_listText.bytes(text, m_header.codePageOfFont(s.chars.font));
        return;
    case RtfGroupState::LevelText:
        m_header.text(s.destination, text);
        return;
    case RtfGroupState::FieldInstruction:
        if (s.field >= 0)
            m_fields.instructionBytes(s.field, text, instructionCodePage(s.chars.font));
        return;
    case RtfGroupState::ListText:
        m_listText.bytes(text, m_header.codePageOfFont(s.chars.font));
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

int RtfParser::instructionCodePage(int font) const
{
    // A field instruction is plain text (a keyword, a URL, a file name) even when a symbol font
    // is current around it: its bytes are never glyph numbers.
    const int codePage = m_header.codePageOfFont(font);
    if (codePage == RtfCodePages::Symbol || codePage == RtfCodePages::SymbolPrivate)
        return m_header.documentCodePage;
    return codePage;
}

void RtfParser::appendCharacter(char32_t c)
{
    if (state().destination == RtfGroupState::Body)
        m_decoder.appendCharacter(c, state().chars);
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
    if (s.destination == RtfGroupState::ListText) {
        m_listText.character(char16_t(value));
        return;
    }
    if (s.destination == RtfGroupState::PnBulletText
        || s.destination == RtfGroupState::PnAfterText) {
        if (s.destination == RtfGroupState::PnBulletText)
            RtfListBuilder::pnBullet(state().para, char16_t(value));
        m_listText.character(char16_t(value));
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

// ---------------------------------------------------------------------------------------------
// Paragraphs, lists, tables

// ---------------------------------------------------------------------------------------------
// Header tables, fields, pictures

void RtfParser::insertSymbol(int field)
{
    RtfCharProps chars = state().chars;
    const char32_t c = m_fields.symbol(field, m_header, chars.font);
    if (c != 0 && state().destination == RtfGroupState::Body)
        m_decoder.appendCharacter(c, chars);
}

void RtfParser::startFieldResult()
{
    RtfGroupState &s = state();
    if (s.field < 0)
        return;
    if (m_fields.isSymbol(s.field)) {
        skipDestination(); // the character is shown already
        return;
    }
    const int link = m_fields.resultLink(s.field);
    if (link >= 0)
        s.chars.link = link;
}

// ---------------------------------------------------------------------------------------------
// Footnotes, endnotes and comments

void RtfParser::readNotes()
{
    const std::vector<RtfNotes::Piece> pieces = m_asideWords.startNotes();
    if (pieces.empty())
        return;
    m_decoder.decodeBytes();
    m_builder->endOpenParagraph();
    qsizetype noReport = std::numeric_limits<qsizetype>::max();
    for (const RtfNotes::Piece &piece : pieces) {
        m_tokenizer = RtfTokenizer(piece.rtf);
        m_asideWords.setNoteMark(piece.mark);
        m_stack.push_back(piece.start);
        m_skipUnits = 0;
        readTokens(noReport);
        // The note's last paragraph ends in the note's own format.
        m_decoder.decodeBytes();
        m_builder->endOpenParagraph();
        while (m_stack.size() > 1)
            closeGroup();
    }
}
