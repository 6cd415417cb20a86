#include "rtf/RtfParser.h"

#include "rtf/Twips.h"

#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <bit>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

enum Word {
    W_None,
    // header
    W_ansi,
    W_mac,
    W_pc,
    W_pca,
    W_ansicpg,
    W_deff,
    W_uc,
    W_u,
    W_upr,
    W_ud,
    // destinations
    W_fonttbl,
    W_colortbl,
    W_listtable,
    W_list,
    W_listlevel,
    W_listoverridetable,
    W_listoverride,
    W_pict,
    W_shppict,
    W_field,
    W_fldinst,
    W_fldrslt,
    W_object,
    W_result,
    W_shp,
    W_shprslt,
    W_pn,
    W_pntxtb,
    W_leveltext,
    W_nesttableprops,
    W_skip,
    W_leftOut, // text the user wrote that the document has no place for
    W_shpinst,
    W_do,
    // character formatting
    W_plain,
    W_b,
    W_i,
    W_ul,
    W_uld,
    W_uldash,
    W_uldashd,
    W_uldashdd,
    W_ulwave,
    W_ulnone,
    W_strike,
    W_caps,
    W_scaps,
    W_v,
    W_super,
    W_sub,
    W_nosupersub,
    W_up,
    W_dn,
    W_f,
    W_fs,
    W_cf,
    W_cb,
    // paragraph formatting
    W_pard,
    W_par,
    W_ql,
    W_qc,
    W_qr,
    W_qj,
    W_li,
    W_ri,
    W_fi,
    W_sb,
    W_sa,
    W_sl,
    W_slmult,
    W_tx,
    W_tqr,
    W_tqc,
    W_tqdec,
    W_pagebb,
    W_intbl,
    W_itap,
    W_ls,
    W_ilvl,
    // special characters
    W_tab,
    W_line,
    W_page,
    W_sect,
    W_emdash,
    W_endash,
    W_bullet,
    W_lquote,
    W_rquote,
    W_ldblquote,
    W_rdblquote,
    W_emspace,
    W_enspace,
    W_qmspace,
    W_zwj,
    W_zwnj,
    W_ltrmark,
    W_rtlmark,
    // tables
    W_trowd,
    W_cellx,
    W_cell,
    W_nestcell,
    W_row,
    W_nestrow,
    W_clmgf,
    W_clmrg,
    W_clvmgf,
    W_clvmrg,
    W_clcbpat,
    W_trleft,
    W_trgaph,
    W_trftsWidth,
    W_trwWidth,
    // lists
    W_listid,
    W_levelnfc,
    W_pnlvl,
    W_pnlvlblt,
    W_pnlvlbody,
    W_pnlvlcont,
    W_pndec,
    W_pnucltr,
    W_pnlcltr,
    W_pnucrm,
    W_pnlcrm,
    // pictures
    W_pngblip,
    W_jpegblip,
    W_dibitmap,
    W_wbitmap,
    W_metafile,
    W_picw,
    W_pich,
    W_picwgoal,
    W_pichgoal,
    W_picscalex,
    W_picscaley,
    W_wbmbitspixel,
    W_wbmwidthbytes,
    // font and colour tables
    W_fcharset,
    W_cpg,
    W_red,
    W_green,
    W_blue,
};

const std::unordered_map<std::string_view, Word> &words()
{
    static const std::unordered_map<std::string_view, Word> table = [] {
        // clang-format off
        std::unordered_map<std::string_view, Word> t = {
            { "ansi", W_ansi }, { "mac", W_mac }, { "pc", W_pc }, { "pca", W_pca },
            { "ansicpg", W_ansicpg }, { "deff", W_deff }, { "uc", W_uc }, { "u", W_u },
            { "upr", W_upr }, { "ud", W_ud }, { "fonttbl", W_fonttbl }, { "colortbl", W_colortbl },
            { "listtable", W_listtable }, { "list", W_list }, { "listlevel", W_listlevel },
            { "listoverridetable", W_listoverridetable }, { "listoverride", W_listoverride },
            { "pict", W_pict }, { "shppict", W_shppict }, { "field", W_field },
            { "fldinst", W_fldinst }, { "fldrslt", W_fldrslt }, { "object", W_object },
            { "result", W_result }, { "shp", W_shp }, { "shprslt", W_shprslt }, { "pn", W_pn },
            { "pntxtb", W_pntxtb }, { "leveltext", W_leveltext },
            { "nesttableprops", W_nesttableprops }, { "plain", W_plain }, { "b", W_b },
            { "i", W_i }, { "ul", W_ul }, { "uld", W_uld }, { "uldash", W_uldash },
            { "uldashd", W_uldashd }, { "uldashdd", W_uldashdd }, { "ulwave", W_ulwave },
            { "ulhwave", W_ulwave }, { "ululdbwave", W_ulwave }, { "uldb", W_ul }, { "ulw", W_ul },
            { "ulth", W_ul }, { "ulthd", W_uld }, { "ulthdash", W_uldash }, { "ulldash", W_uldash },
            { "ulthldash", W_uldash }, { "ulthdashd", W_uldashd }, { "ulthdashdd", W_uldashdd },
            { "ulnone", W_ulnone }, { "strike", W_strike }, { "striked", W_strike },
            { "caps", W_caps }, { "scaps", W_scaps }, { "v", W_v }, { "super", W_super },
            { "sub", W_sub }, { "nosupersub", W_nosupersub }, { "up", W_up }, { "dn", W_dn },
            { "f", W_f }, { "fs", W_fs }, { "cf", W_cf }, { "cb", W_cb }, { "highlight", W_cb },
            { "chcbpat", W_cb }, { "pard", W_pard }, { "par", W_par }, { "ql", W_ql },
            { "qc", W_qc }, { "qr", W_qr }, { "qj", W_qj }, { "qd", W_qj }, { "li", W_li },
            { "lin", W_li }, { "ri", W_ri }, { "rin", W_ri }, { "fi", W_fi }, { "sb", W_sb },
            { "sa", W_sa }, { "sl", W_sl }, { "slmult", W_slmult }, { "tx", W_tx },
            { "tqr", W_tqr }, { "tqc", W_tqc }, { "tqdec", W_tqdec }, { "pagebb", W_pagebb },
            { "intbl", W_intbl }, { "itap", W_itap }, { "ls", W_ls }, { "ilvl", W_ilvl },
            { "tab", W_tab }, { "line", W_line }, { "page", W_page }, { "sect", W_sect },
            { "emdash", W_emdash }, { "endash", W_endash }, { "bullet", W_bullet },
            { "lquote", W_lquote }, { "rquote", W_rquote }, { "ldblquote", W_ldblquote },
            { "rdblquote", W_rdblquote }, { "emspace", W_emspace }, { "enspace", W_enspace },
            { "qmspace", W_qmspace }, { "zwj", W_zwj }, { "zwnj", W_zwnj },
            { "ltrmark", W_ltrmark }, { "rtlmark", W_rtlmark }, { "trowd", W_trowd },
            { "cellx", W_cellx }, { "cell", W_cell }, { "nestcell", W_nestcell }, { "row", W_row },
            { "nestrow", W_nestrow }, { "clmgf", W_clmgf }, { "clmrg", W_clmrg },
            { "clvmgf", W_clvmgf }, { "clvmrg", W_clvmrg }, { "clcbpat", W_clcbpat },
            { "trleft", W_trleft }, { "trgaph", W_trgaph },
            { "trftsWidth", W_trftsWidth }, { "trwWidth", W_trwWidth }, { "listid", W_listid },
            { "levelnfc", W_levelnfc }, { "levelnfcn", W_levelnfc }, { "pnlvl", W_pnlvl },
            { "pnlvlblt", W_pnlvlblt }, { "pnlvlbody", W_pnlvlbody }, { "pndec", W_pndec },
            { "pnucltr", W_pnucltr }, { "pnlcltr", W_pnlcltr }, { "pnucrm", W_pnucrm },
            { "pnlcrm", W_pnlcrm }, { "pngblip", W_pngblip }, { "jpegblip", W_jpegblip },
            { "dibitmap", W_dibitmap }, { "wbitmap", W_wbitmap }, { "wmetafile", W_metafile },
            { "emfblip", W_metafile }, { "macpict", W_metafile }, { "pmmetafile", W_metafile },
            { "picw", W_picw }, { "pich", W_pich }, { "picwgoal", W_picwgoal },
            { "pichgoal", W_pichgoal }, { "picscalex", W_picscalex }, { "picscaley", W_picscaley },
            { "wbmbitspixel", W_wbmbitspixel }, { "wbmwidthbytes", W_wbmwidthbytes },
            { "fcharset", W_fcharset }, { "cpg", W_cpg }, { "red", W_red }, { "green", W_green },
            { "blue", W_blue }, { "pnlvlcont", W_pnlvlcont },
        };
        // clang-format on
        // Destinations read past whole: their text never belongs to the document, and a \bin
        // inside them is stepped over by the tokenizer.
        for (const char *name : { "info", "header", "headerl", "headerr", "headerf", "footer",
                 "footerl", "footerr", "footerf", "footnote", "annotation", "atnid", "atnauthor",
                 "atndate", "atnicn", "atnref", "atntime", "atrfstart", "atrfend", "bkmkstart",
                 "bkmkend", "falt", "panose", "objdata", "themedata", "colorschememapping",
                 "datastore", "latentstyles", "rsidtbl", "xmlnstbl", "generator", "pgdsctbl",
                 "listpicture", "fchars", "lchars", "stylesheet", "revtbl", "filetbl", "template",
                 "docvar", "userprops", "xe", "tc", "txe", "rxe", "pntext", "pntxta", "listtext",
                 "nonshppict", "nonesttables", "levelnumbers", "listname",
                 "listoverridetable_unused", "shpinst", "fldtype", "ftnsep", "ftnsepc", "ftncn",
                 "aftnsep", "aftnsepc", "aftncn", "fontemb", "fontfile", "private", "pnseclvl",
                 "do", "sp", "sn", "sv", "blipuid", "picprop", "mmathPr", "formfield", "datafield",
                 "protusertbl", "wgrffmtfilter", "operator", "author", "title", "subject",
                 "keywords", "comment", "doccomm", "hlinkbase", "company", "category", "manager",
                 "buptim", "creatim", "printim", "revtim", "ebcstart", "ebcend", "passwordhash",
                 "fldpriv", "pgp", "mhtmltag", "htmltag", "xmlopen", "xmlclose", "xmlattr",
                 "factoidname", "background", "objclass", "objname", "objalias", "objtime",
                 "objsect", "objitem", "oleclsid", "shpgrp", "svb", "tcn", "bkmkcolf", "bkmkcoll",
                 "listsimple", "styrsid", "defchp", "defpap", "mmath" })
            t.emplace(name, W_skip);
        // Content the user wrote that a note has no place for: read past too, but the reader says
        // so (leftOutContent). A shape's instructions and a drawing object hold the text of a text
        // box.
        for (const char *name : { "header", "headerl", "headerr", "headerf", "footer", "footerl",
                 "footerr", "footerf", "footnote", "annotation" })
            t.insert_or_assign(name, W_leftOut);
        t.insert_or_assign("shpinst", W_shpinst);
        t.insert_or_assign("do", W_do);
        return t;
    }();
    return table;
}

// The words by name in an open-addressed table of a power-of-two size: a look-up per control
// word of the file, so it costs a short hash and a compare or two, no division, no node to follow.
class WordTable
{
public:
    explicit WordTable(const std::unordered_map<std::string_view, Word> &words)
        : m_slots(std::bit_ceil(words.size() * 4))
        , m_mask(m_slots.size() - 1)
    {
        for (const auto &[name, word] : words) {
            size_t i = hash(name) & m_mask;
            while (!m_slots[i].name.empty())
                i = (i + 1) & m_mask;
            m_slots[i] = { name, word };
        }
    }

    Word find(std::string_view name) const
    {
        for (size_t i = hash(name) & m_mask;; i = (i + 1) & m_mask) {
            const Slot &slot = m_slots[i];
            if (slot.name.empty())
                return W_None;
            if (slot.name == name)
                return slot.word;
        }
    }

private:
    struct Slot
    {
        std::string_view name;
        Word word = W_None;
    };

    static size_t hash(std::string_view name)
    {
        size_t h = 0xcbf29ce484222325u; // FNV-1a
        for (const char c : name)
            h = (h ^ uchar(c)) * 0x100000001b3u;
        return h ^ (h >> 29);
    }

    std::vector<Slot> m_slots;
    size_t m_mask;
};

Word lookup(QByteArrayView name)
{
    if (name.size() > RtfTokenizer::MaxWordLength || name.isEmpty())
        return W_None;
    static const WordTable table(words());
    return table.find(std::string_view(name.data(), size_t(name.size())));
}

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

// HYPERLINK "url" [\l "anchor"] [\o "tip"] ...: the link target, or an empty string.
QString hyperlinkTarget(const QString &instruction)
{
    QStringList parts;
    QString current;
    bool quoted = false;
    bool inPart = false;
    for (qsizetype i = 0; i < instruction.size(); ++i) {
        const QChar c = instruction.at(i);
        if (quoted) {
            if (c == QLatin1Char('\\') && i + 1 < instruction.size()) {
                current += instruction.at(++i);
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                current += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            inPart = true;
        } else if (c.isSpace()) {
            if (inPart)
                parts << current;
            current.clear();
            inPart = false;
        } else {
            current += c;
            inPart = true;
        }
    }
    if (inPart)
        parts << current;
    if (parts.isEmpty()
        || parts.first().compare(QLatin1String("HYPERLINK"), Qt::CaseInsensitive) != 0)
        return QString();
    QString url;
    QString anchor;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        if (part.startsWith(QLatin1Char('\\')) && part.size() == 2) {
            const QChar s = part.at(1).toLower();
            if (s == QLatin1Char('l') && i + 1 < parts.size())
                anchor = parts.at(++i);
            else if ((s == QLatin1Char('o') || s == QLatin1Char('t')) && i + 1 < parts.size())
                ++i;
            continue;
        }
        if (url.isEmpty())
            url = part;
    }
    if (!anchor.isEmpty())
        url += QLatin1Char('#') + anchor;
    return url;
}

} // namespace

RtfParser::RtfParser(QByteArrayView data, QTextDocument *document)
    : m_tokenizer(data)
    , m_document(document)
    , m_cursor(document)
{
    m_stack.reserve(64);
    m_stack.emplace_back();
}

RtfParser::RtfParser(QByteArrayView data, QString *text)
    : m_tokenizer(data)
    , m_document(nullptr)
    , m_text(text)
{
    m_stack.reserve(64);
    m_stack.emplace_back();
}

RtfParser::~RtfParser() = default;

bool RtfParser::parse()
{
    m_cursor.beginEditBlock();
    qsizetype nextReport = m_progress ? 0 : std::numeric_limits<qsizetype>::max();
    bool stopped = false;
    for (;;) {
        if (m_tokenizer.position() >= nextReport) {
            stopped = !m_progress(m_tokenizer.position());
            if (stopped)
                break;
            nextReport = m_tokenizer.position() + progressStep;
        }
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
    if (m_paragraphHasContent && !m_text) {
        prepareContent();
        applyParagraphFormat();
    }
    while (!m_tables.empty())
        closeTable();
    m_cursor.endEditBlock();
    return !stopped;
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
        if (parent != RtfGroupState::FontTable || m_fontNumber >= 0)
            commitFont(); // an entry without its closing semicolon
        break;
    case RtfGroupState::ColorTable:
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
    case RtfGroupState::LevelText:
        // The text is a length byte, then the level's characters: a bullet is one of them.
        if (parent == RtfGroupState::ListLevel && !m_lists.isEmpty()
            && !m_lists.last().levels.isEmpty() && m_levelText.size() > 1)
            m_lists.last().levels.last().bullet = m_levelText.at(1).unicode();
        break;
    case RtfGroupState::ListOverride:
        if (parent != RtfGroupState::ListOverride && m_overrideNumber > 0
            && m_overrides.size() < MaxLists)
            m_overrides.insert(m_overrideNumber, m_overrideList);
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

bool RtfParser::startDestination(RtfGroupState::Destination destination)
{
    m_optionalDestination = false;
    state().destination = destination;
    return true;
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
    const Word word = lookup(token.data);
    const bool optional = m_optionalDestination;
    m_optionalDestination = false;
    const int p = token.parameter;
    const bool has = token.hasParameter;
    RtfGroupState &s = state();
    const RtfGroupState::Destination dest = s.destination;
    // A toggle word turns its property on, or off with a parameter of 0.
    const int on = (!has || p != 0) ? 1 : 0;

    if (optional) {
        // {\*\word ...}: only destinations we know are read; anything else is read past whole.
        switch (word) {
        case W_listtable:
        case W_listoverridetable:
        case W_shppict:
        case W_fldinst:
        case W_pn:
        case W_nesttableprops:
        case W_ud:
        case W_upr:
        case W_list:
        case W_listlevel:
        case W_listoverride:
        case W_pict:
        case W_field:
        case W_fldrslt:
        case W_result:
        case W_shprslt:
        case W_object:
        case W_shp:
        case W_fonttbl:
        case W_colortbl:
        case W_leftOut:
        case W_shpinst:
        case W_do:
            break;
        default:
            skipDestination();
            return;
        }
    }

    switch (word) {
    case W_None:
        return;
    case W_skip:
        skipDestination();
        return;
    case W_leftOut:
        m_leftOutContent = true;
        skipDestination();
        return;
    case W_shpinst:
        if (skipDestination("shptxt"))
            m_leftOutContent = true;
        return;
    case W_do:
        if (skipDestination("dptxbxtext"))
            m_leftOutContent = true;
        return;

    // Document header
    case W_ansi:
        m_documentCodePage = 1252;
        return;
    case W_mac:
        m_documentCodePage = 10000;
        return;
    case W_pc:
        m_documentCodePage = 437;
        return;
    case W_pca:
        m_documentCodePage = 850;
        return;
    case W_ansicpg:
        if (has && p > 0 && p < 100000)
            m_documentCodePage = p;
        m_lastFontForCodePage = -2;
        return;
    case W_deff:
        if (has)
            m_defaultFont = p;
        m_lastFontForCodePage = -2;
        return;
    case W_uc:
        s.unicodeSkip = clampInt(has ? p : 1, 0, 16);
        return;
    case W_u:
        if (has)
            appendUnicode(p);
        m_skipUnits = s.unicodeSkip;
        return;
    case W_upr:
        s.outerDestination = dest;
        s.destination = RtfGroupState::Container;
        return;
    case W_ud:
    case W_result:
    case W_shprslt:
        // The result part of a container goes where the container's text would have gone.
        if (dest == RtfGroupState::Container)
            s.destination = s.outerDestination;
        return;
    case W_object:
    case W_shp:
        if (dest == RtfGroupState::Body) {
            s.outerDestination = dest;
            s.destination = RtfGroupState::Container;
        } else if (dest != RtfGroupState::Container) {
            skipDestination();
        }
        return;

    // Destinations
    case W_fonttbl:
        startDestination(RtfGroupState::FontTable);
        m_fontNumber = -1;
        return;
    case W_colortbl:
        startDestination(RtfGroupState::ColorTable);
        m_red = m_green = m_blue = -1;
        return;
    case W_listtable:
        startDestination(RtfGroupState::ListTable);
        return;
    case W_list:
        if (dest == RtfGroupState::ListTable && m_lists.size() < MaxLists) {
            m_lists.append(ListDef());
            startDestination(RtfGroupState::List);
        } else {
            skipDestination();
        }
        return;
    case W_listlevel:
        if (dest == RtfGroupState::List && !m_lists.isEmpty() && m_lists.last().levels.size() < 9) {
            m_lists.last().levels.append(ListLevelDef());
            startDestination(RtfGroupState::ListLevel);
        } else {
            skipDestination();
        }
        return;
    case W_listoverridetable:
        startDestination(RtfGroupState::ListOverrideTable);
        return;
    case W_listoverride:
        if (dest == RtfGroupState::ListOverrideTable) {
            m_overrideList = 0;
            m_overrideNumber = 0;
            startDestination(RtfGroupState::ListOverride);
        } else {
            skipDestination();
        }
        return;
    case W_pict:
        if (dest == RtfGroupState::Body) {
            m_picture.reset();
            startDestination(RtfGroupState::Picture);
        } else {
            skipDestination();
        }
        return;
    case W_shppict:
        if (dest != RtfGroupState::Body)
            skipDestination();
        return;
    case W_field:
        if (dest == RtfGroupState::Body && m_fields.size() < 100000) {
            Field field;
            m_fields.append(field);
            s.field = int(m_fields.size() - 1);
        } else {
            skipDestination(); // a field inside an instruction or elsewhere: never shown
        }
        return;
    case W_fldinst:
        if (s.field >= 0
            && (dest == RtfGroupState::Body || dest == RtfGroupState::FieldInstruction)) {
            m_fields[s.field].codePage = instructionCodePage(s.chars.font);
            startDestination(RtfGroupState::FieldInstruction);
        } else {
            skipDestination();
        }
        return;
    case W_fldrslt:
        if (s.field >= 0
            && (dest == RtfGroupState::Body || dest == RtfGroupState::FieldInstruction)) {
            startDestination(RtfGroupState::Body);
            startFieldResult();
        } else if (dest != RtfGroupState::Body) {
            skipDestination();
        }
        return;
    case W_pn:
        if (dest == RtfGroupState::Body) {
            startDestination(RtfGroupState::PnDefinition);
            s.para.pnStyle = RtfParaProps::PnDecimal;
            s.para.pnLevel = 0;
            s.para.pnKind = RtfParaProps::PnBody;
        } else {
            skipDestination();
        }
        return;
    case W_pntxtb:
        if (dest == RtfGroupState::PnDefinition)
            startDestination(RtfGroupState::PnBulletText);
        else
            skipDestination();
        return;
    case W_leveltext:
        if (dest == RtfGroupState::ListLevel) {
            m_levelText.clear();
            startDestination(RtfGroupState::LevelText);
        } else {
            skipDestination();
        }
        return;
    case W_nesttableprops:
        if (dest == RtfGroupState::Body) {
            s.nestedTableProps = true;
            startDestination(RtfGroupState::Ignore);
        } else {
            skipDestination();
        }
        return;
    default:
        break;
    }

    // Words whose meaning depends on the destination
    switch (dest) {
    case RtfGroupState::FontTable:
        switch (word) {
        case W_f:
            if (m_fontNumber >= 0)
                commitFont();
            m_fontNumber = has ? p : 0;
            m_font = Font();
            m_fontNameBytes.clear();
            m_fontName.clear();
            return;
        case W_fcharset:
            m_font.charset = p;
            return;
        case W_cpg:
            m_font.codePage = p;
            return;
        default:
            return;
        }
    case RtfGroupState::ColorTable:
        switch (word) {
        case W_red:
            m_red = clampInt(p, 0, 255);
            return;
        case W_green:
            m_green = clampInt(p, 0, 255);
            return;
        case W_blue:
            m_blue = clampInt(p, 0, 255);
            return;
        default:
            return;
        }
    case RtfGroupState::List:
    case RtfGroupState::ListLevel:
        if (m_lists.isEmpty())
            return;
        if (word == W_listid && dest == RtfGroupState::List)
            m_lists.last().id = p;
        else if (word == W_levelnfc && dest == RtfGroupState::ListLevel
            && !m_lists.last().levels.isEmpty())
            m_lists.last().levels.last().numberFormat = p;
        return;
    case RtfGroupState::ListOverride:
        if (word == W_listid)
            m_overrideList = p;
        else if (word == W_ls)
            m_overrideNumber = p;
        return;
    case RtfGroupState::ListTable:
    case RtfGroupState::ListOverrideTable:
        return;
    case RtfGroupState::Picture:
        switch (word) {
        case W_pngblip:
            m_picture.kind = RtfPicture::Png;
            return;
        case W_jpegblip:
            m_picture.kind = RtfPicture::Jpeg;
            return;
        case W_dibitmap:
            m_picture.kind = RtfPicture::Dib;
            return;
        case W_wbitmap:
            m_picture.kind = RtfPicture::WindowsBitmap;
            return;
        case W_metafile:
            m_picture.kind = RtfPicture::Metafile;
            return;
        case W_picw:
            m_picture.width = clampInt(p, 0, 1000000);
            return;
        case W_pich:
            m_picture.height = clampInt(p, 0, 1000000);
            return;
        case W_picwgoal:
            m_picture.goalWidth = clampInt(p, 0, 1000000);
            return;
        case W_pichgoal:
            m_picture.goalHeight = clampInt(p, 0, 1000000);
            return;
        case W_picscalex:
            m_picture.scaleX = clampInt(p, 1, 10000);
            return;
        case W_picscaley:
            m_picture.scaleY = clampInt(p, 1, 10000);
            return;
        case W_wbmbitspixel:
            m_picture.bitsPerPixel = clampInt(p, 0, 32);
            return;
        case W_wbmwidthbytes:
            m_picture.bytesPerLine = clampInt(p, 0, 1000000);
            return;
        default:
            return;
        }
    case RtfGroupState::PnDefinition:
        handlePnWord(word, has ? p : 0);
        return;
    default:
        break;
    }

    RtfCharProps &c = s.chars;
    RtfParaProps &para = s.para;
    switch (word) {
    // Character formatting
    case W_plain: {
        const int link = c.link;
        c = RtfCharProps();
        c.link = link;
        return;
    }
    case W_b:
        c.bold = on;
        return;
    case W_i:
        c.italic = on;
        return;
    case W_ul:
        c.underline = on ? RtfCharProps::Single : RtfCharProps::NoUnderline;
        return;
    case W_uld:
        c.underline = on ? RtfCharProps::Dotted : RtfCharProps::NoUnderline;
        return;
    case W_uldash:
        c.underline = on ? RtfCharProps::Dashed : RtfCharProps::NoUnderline;
        return;
    case W_uldashd:
        c.underline = on ? RtfCharProps::DashDot : RtfCharProps::NoUnderline;
        return;
    case W_uldashdd:
        c.underline = on ? RtfCharProps::DashDotDot : RtfCharProps::NoUnderline;
        return;
    case W_ulwave:
        c.underline = on ? RtfCharProps::Wave : RtfCharProps::NoUnderline;
        return;
    case W_ulnone:
        c.underline = RtfCharProps::NoUnderline;
        return;
    case W_strike:
        c.strike = on;
        return;
    case W_caps:
        c.caps = on ? RtfCharProps::AllCaps : RtfCharProps::NoCaps;
        return;
    case W_scaps:
        c.caps = on ? RtfCharProps::SmallCaps : RtfCharProps::NoCaps;
        return;
    case W_v:
        c.hidden = on;
        return;
    case W_super:
        c.vertical = RtfCharProps::Super;
        return;
    case W_sub:
        c.vertical = RtfCharProps::Sub;
        return;
    case W_nosupersub:
        c.vertical = RtfCharProps::Baseline;
        return;
    case W_up:
        c.vertical = (!has || p > 0) ? RtfCharProps::Super : RtfCharProps::Baseline;
        return;
    case W_dn:
        c.vertical = (!has || p > 0) ? RtfCharProps::Sub : RtfCharProps::Baseline;
        return;
    case W_f:
        if (has)
            c.font = p < 0 ? 0 : p;
        return;
    case W_fs:
        c.halfPoints = (has && p > 0) ? clampInt(p, 2, 3276) : 24;
        return;
    case W_cf:
        if (has && p >= 0 && p < m_colours.size())
            c.foreground = m_colours.at(p).isValid() ? p : -1;
        return;
    case W_cb:
        if (has && p >= 0 && p < m_colours.size())
            c.background = (p == 0 || !m_colours.at(p).isValid()) ? -1 : p; // 0: no highlight
        return;

    // Paragraph formatting
    case W_pard:
        flushParagraphText(); // the text belongs to the table level it was read in
        para = RtfParaProps();
        return;
    case W_par:
    case W_sect:
        if (dest == RtfGroupState::Body) {
            endParagraph();
            if (word == W_sect)
                m_pnOutline.fill(nullptr); // outline numbering starts again in each section
        }
        return;
    case W_ql:
        para.align = RtfParaProps::Left;
        return;
    case W_qc:
        para.align = RtfParaProps::Center;
        return;
    case W_qr:
        para.align = RtfParaProps::Right;
        return;
    case W_qj:
        para.align = RtfParaProps::Justify;
        return;
    case W_li:
        para.leftIndent = clampInt(p, -31680, 31680);
        return;
    case W_ri:
        para.rightIndent = clampInt(p, -31680, 31680);
        return;
    case W_fi:
        para.firstIndent = clampInt(p, -31680, 31680);
        return;
    case W_sb:
        para.spaceBefore = clampInt(p, 0, 31680);
        return;
    case W_sa:
        para.spaceAfter = clampInt(p, 0, 31680);
        return;
    case W_sl:
        para.lineSpacing = clampInt(p, -31680, 31680);
        return;
    case W_slmult:
        para.lineMultiple = on;
        return;
    case W_tqr:
        para.pendingTabType = QTextOption::RightTab;
        return;
    case W_tqc:
        para.pendingTabType = QTextOption::CenterTab;
        return;
    case W_tqdec:
        para.pendingTabType = QTextOption::DelimiterTab;
        return;
    case W_tx:
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
    case W_pagebb:
        para.pageBreakBefore = on;
        return;
    case W_intbl:
        flushParagraphText();
        para.inTable = on;
        return;
    case W_itap:
        flushParagraphText();
        para.tableLevel = clampInt(p, 0, MaxTableDepth);
        return;
    case W_ls:
        para.listOverride = clampInt(p, 0, 1000000);
        return;
    case W_ilvl:
        para.listLevel = clampInt(p, 0, 8);
        return;

    // Special characters
    case W_tab:
        appendCharacter('\t');
        return;
    case W_line:
        appendCharacter(0x2028);
        return;
    case W_page:
        if (dest != RtfGroupState::Body)
            return;
        flushRun();
        if (m_paragraphHasContent)
            endParagraph();
        m_pageBreakPending = true;
        return;
    case W_emdash:
        appendCharacter(0x2014);
        return;
    case W_endash:
        appendCharacter(0x2013);
        return;
    case W_bullet:
        appendCharacter(0x2022);
        return;
    case W_lquote:
        appendCharacter(0x2018);
        return;
    case W_rquote:
        appendCharacter(0x2019);
        return;
    case W_ldblquote:
        appendCharacter(0x201c);
        return;
    case W_rdblquote:
        appendCharacter(0x201d);
        return;
    case W_emspace:
        appendCharacter(0x2003);
        return;
    case W_enspace:
        appendCharacter(0x2002);
        return;
    case W_qmspace:
        appendCharacter(0x2005);
        return;
    case W_zwj:
        appendCharacter(0x200d);
        return;
    case W_zwnj:
        appendCharacter(0x200c);
        return;
    case W_ltrmark:
        appendCharacter(0x200e);
        return;
    case W_rtlmark:
        appendCharacter(0x200f);
        return;

    // Tables
    case W_trowd: {
        RowDef &def = rowDef();
        def = RowDef();
        return;
    }
    case W_cellx: {
        RowDef &def = rowDef();
        if (def.cells.size() < 64) {
            CellDef cell = def.pending;
            cell.right = clampInt(p, -31680, 31680 * 4);
            def.cells.append(cell);
        }
        def.pending = CellDef();
        return;
    }
    case W_clmgf:
        rowDef().pending.mergeFirst = true;
        return;
    case W_clmrg:
        rowDef().pending.merged = true;
        return;
    case W_clvmgf:
        rowDef().pending.verticalFirst = true;
        return;
    case W_clvmrg:
        rowDef().pending.verticalMerged = true;
        return;
    case W_clcbpat:
        if (has && p > 0 && p < m_colours.size() && m_colours.at(p).isValid())
            rowDef().pending.background = p;
        return;
    case W_trleft:
        rowDef().left = clampInt(p, -31680, 31680);
        return;
    case W_trgaph:
        rowDef().gap = clampInt(p, 0, 1440);
        return;
    case W_trftsWidth:
        rowDef().widthUnit = p;
        return;
    case W_trwWidth:
        rowDef().width = clampInt(p, 0, 31680 * 4);
        return;
    case W_cell:
        if (dest == RtfGroupState::Body)
            endCell(1);
        return;
    case W_nestcell:
        if (dest == RtfGroupState::Body)
            endCell(std::max(2, paragraphLevel()));
        return;
    case W_row:
        if (dest == RtfGroupState::Body || s.nestedTableProps)
            endRow(1);
        return;
    case W_nestrow:
        if (dest == RtfGroupState::Body || s.nestedTableProps)
            endRow(std::max(2, std::min<int>(int(m_tables.size()), MaxTableDepth)));
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
    case RtfGroupState::FontTable: {
        // "Name;" ends an entry; the name's bytes are decoded with the font's own code page.
        for (const char c : text) {
            if (c == ';') {
                commitFont();
            } else if (m_fontNumber >= 0 && m_fontNameBytes.size() + m_fontName.size() < 256) {
                m_fontNameBytes.append(c);
            }
        }
        return;
    }
    case RtfGroupState::ColorTable:
        for (const char c : text) {
            if (c == ';')
                commitColour();
        }
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
        if (m_levelText.size() < 64)
            m_levelText.append(
                QString::fromLatin1(text.data(), std::min<qsizetype>(text.size(), 64)));
        return;
    case RtfGroupState::FieldInstruction:
        if (s.field >= 0)
            appendInstruction(m_fields[s.field], text, instructionCodePage(s.chars.font));
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

void RtfParser::handlePnWord(int word, int value)
{
    RtfParaProps &para = state().para;
    const auto setKind = [&para](int kind, int level) {
        para.pnKind = kind;
        para.pnLevel = level;
        if (kind == RtfParaProps::PnBulleted)
            para.pnStyle = RtfParaProps::PnBullet;
    };
    // A bulleted paragraph stays bulleted whatever numbering words come with it.
    const bool numbered = para.pnKind != RtfParaProps::PnBulleted;
    switch (word) {
    case W_pnlvl:
        // Levels 1 to 9 are outline levels; 10 and 11 are the simple and the bulleted paragraph.
        if (value >= 1 && value <= 9)
            setKind(RtfParaProps::PnOutline, value - 1);
        else if (value == 11)
            setKind(RtfParaProps::PnBulleted, 0);
        else
            setKind(RtfParaProps::PnBody, 0);
        return;
    case W_pnlvlblt:
        setKind(RtfParaProps::PnBulleted, 0);
        return;
    case W_pnlvlbody:
        setKind(RtfParaProps::PnBody, 0);
        return;
    case W_pnlvlcont:
        setKind(RtfParaProps::PnContinued, 0);
        return;
    case W_pndec:
        if (numbered)
            para.pnStyle = RtfParaProps::PnDecimal;
        return;
    case W_pnucltr:
        if (numbered)
            para.pnStyle = RtfParaProps::PnUpperLetter;
        return;
    case W_pnlcltr:
        if (numbered)
            para.pnStyle = RtfParaProps::PnLowerLetter;
        return;
    case W_pnucrm:
        if (numbered)
            para.pnStyle = RtfParaProps::PnUpperRoman;
        return;
    case W_pnlcrm:
        if (numbered)
            para.pnStyle = RtfParaProps::PnLowerRoman;
        return;
    default:
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

int RtfParser::codePageOfFont(int font) const
{
    const int index = font < 0 ? m_defaultFont : font;
    const auto found = m_fonts.constFind(index);
    if (found == m_fonts.constEnd())
        return m_documentCodePage;
    const Font &f = found.value();
    // Fonts whose bytes are glyph numbers: by charset 2, or by name when a writer left the
    // charset out.
    const bool dingbats = f.name.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive)
        || f.name.startsWith(QLatin1String("Webdings"), Qt::CaseInsensitive);
    if (dingbats)
        return RtfCodePages::SymbolPrivate;
    if (f.charset == 2 || f.name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        return RtfCodePages::Symbol;
    if (f.codePage > 0)
        return f.codePage;
    if (f.charset >= 0)
        return RtfCodePages::codePageForCharset(f.charset, m_documentCodePage);
    return m_documentCodePage;
}

int RtfParser::instructionCodePage(int font) const
{
    // A field instruction is plain text (a keyword, a URL, a file name) even when a symbol font
    // is current around it: its bytes are never glyph numbers.
    const int codePage = codePageOfFont(font);
    if (codePage == RtfCodePages::Symbol || codePage == RtfCodePages::SymbolPrivate)
        return m_documentCodePage;
    return codePage;
}

void RtfParser::appendInstruction(Field &field, QByteArrayView bytes, int codePage)
{
    if (field.instruction.size() + field.text.size() >= 65536)
        return;
    if (codePage != field.codePage) {
        // A group of another font inside the instruction: what came before keeps its code page.
        m_codePages.decode(field.instruction, field.codePage, field.text);
        field.instruction.clear();
        field.codePage = codePage;
    }
    field.instruction.append(bytes);
}

QString RtfParser::fontName(int font) const
{
    const int index = font < 0 ? m_defaultFont : font;
    const auto found = m_fonts.constFind(index);
    return found == m_fonts.constEnd() ? QString() : found->name;
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
        m_lastCodePage = codePageOfFont(props.font);
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
        if (s.field >= 0) {
            Field &field = m_fields[s.field];
            if (field.text.size() < 65536) {
                m_codePages.decode(field.instruction, field.codePage, field.text);
                field.instruction.clear();
                field.text.append(QChar(char16_t(value)));
            }
        }
        return;
    }
    if (s.destination == RtfGroupState::PnBulletText) {
        setPnBullet(char16_t(value));
        return;
    }
    if (s.destination == RtfGroupState::LevelText) {
        if (m_levelText.size() < 64)
            m_levelText.append(QChar(char16_t(value)));
        return;
    }
    if (s.destination == RtfGroupState::FontTable) {
        // Font names can be written as \uN too (with or without a fallback).
        if (m_fontNumber >= 0 && m_fontName.size() < 256) {
            m_codePages.decode(m_fontNameBytes, fontTableCodePage(), m_fontName);
            m_fontNameBytes.clear();
            m_fontName.append(QChar(char16_t(value)));
        }
        return;
    }
    if (s.destination != RtfGroupState::Body)
        return;
    if (value >= 0xf020 && value <= 0xf0ff) {
        const int codePage = codePageOfFont(s.chars.font);
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
    if (m_text) {
        if (m_run.isEmpty())
            return;
        if (m_blockPending)
            m_text->append(QLatin1Char('\n'));
        m_blockPending = false;
        m_text->append(m_run);
        m_run.truncate(0);
        return;
    }
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
    const QString family = fontName(props.font);
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
    if (props.foreground >= 0 && props.foreground < m_colours.size()
        && m_colours.at(props.foreground).isValid())
        format.setForeground(m_colours.at(props.foreground));
    if (props.background >= 0 && props.background < m_colours.size()
        && m_colours.at(props.background).isValid())
        format.setBackground(m_colours.at(props.background));
    if (props.link >= 0 && props.link < m_links.size()) {
        format.setAnchor(true);
        format.setAnchorHref(m_links.at(props.link));
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

void RtfParser::endTextLine()
{
    flushRun();
    // An empty paragraph is an empty line too.
    if (m_blockPending)
        m_text->append(QLatin1Char('\n'));
    m_blockPending = true;
}

void RtfParser::endParagraph()
{
    if (m_text) {
        endTextLine();
        return;
    }
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
            if (m_listIdsFor != m_lists.size()) {
                m_listIds.clear();
                for (qsizetype i = m_lists.size() - 1; i >= 0; --i)
                    m_listIds.insert(m_lists.at(i).id, int(i)); // the first of equal ids wins
                m_listIdsFor = m_lists.size();
            }
            ListLevelDef level;
            level.numberFormat = 23;
            const int index = m_listIds.value(m_overrides.value(props.listOverride, -1), -1);
            if (index >= 0 && props.listLevel < m_lists.at(index).levels.size())
                level = m_lists.at(index).levels.at(props.listLevel);
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

RtfParser::RowDef &RtfParser::rowDef()
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
    const RowDef &def = m_rowDefs[table.level];
    if (def.cells.isEmpty())
        return;
    if (table.boundaries.isEmpty()) {
        for (const CellDef &cell : def.cells)
            table.boundaries.append(cell.right);
        return;
    }
    if (def.cells.size() >= table.boundaries.size())
        return;
    int start = 0;
    for (const CellDef &cell : def.cells) {
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
    if (m_text) {
        endTextLine();
        return;
    }
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
    if (m_text)
        return; // its last cell ended the line
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

    const RowDef &def = m_rowDefs[level];
    const int columns = table.table->columns();
    // Column widths come from the row with the most cells.
    if (def.cells.size() > table.widths.size()
        || (table.widths.isEmpty() && !def.cells.isEmpty())) {
        table.widths.clear();
        int left = def.left;
        for (const CellDef &cell : def.cells) {
            table.widths.append(std::max(0, cell.right - left));
            left = cell.right;
        }
        table.gap = def.gap;
        // \trftsWidth2: the width is in fiftieths of a percent of the text's width.
        table.percentWidth = def.widthUnit == 2 ? qMin(def.width, 5000) : 0;
    }
    // Each cell's column: its own number, unless the row was laid out with wide cells.
    QList<const CellDef *> byColumn(columns, nullptr);
    for (int i = 0; i < def.cells.size(); ++i) {
        const int column = table.starts.value(i, i);
        if (column >= columns)
            break;
        byColumn[column] = &def.cells.at(i);
        const CellDef &cell = def.cells.at(i);
        if (cell.background > 0 && cell.background < m_colours.size()) {
            QTextTableCell c = table.table->cellAt(table.row, column);
            QTextCharFormat format = c.format();
            format.setBackground(m_colours.at(cell.background));
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

void RtfParser::commitFont()
{
    if (m_fontNumber >= 0 && (m_fonts.size() < MaxFonts || m_fonts.contains(m_fontNumber))) {
        Font font = m_font;
        m_codePages.decode(m_fontNameBytes, fontTableCodePage(), m_fontName);
        font.name = m_fontName.trimmed();
        m_fonts.insert(m_fontNumber, font);
    }
    m_fontNumber = -1;
    m_font = Font();
    m_fontNameBytes.clear();
    m_fontName.clear();
    m_lastFontForCodePage = -2;
}

int RtfParser::fontTableCodePage() const
{
    // The code page the entry being read writes its own name in.
    if (m_font.codePage > 0)
        return m_font.codePage;
    if (m_font.charset >= 0 && m_font.charset != 2)
        return RtfCodePages::codePageForCharset(m_font.charset, m_documentCodePage);
    return m_documentCodePage;
}

void RtfParser::commitColour()
{
    if (m_colours.size() < MaxColours) {
        if (m_red < 0 && m_green < 0 && m_blue < 0)
            m_colours.append(QColor()); // an empty entry: automatic
        else
            m_colours.append(QColor(std::max(0, m_red), std::max(0, m_green), std::max(0, m_blue)));
    }
    m_red = m_green = m_blue = -1;
}

void RtfParser::startFieldResult()
{
    RtfGroupState &s = state();
    if (s.field < 0)
        return;
    Field &field = m_fields[s.field];
    if (field.link < 0) {
        m_codePages.decode(field.instruction, field.codePage, field.text);
        field.instruction.clear();
        const QString target = hyperlinkTarget(field.text.trimmed());
        if (!target.isEmpty() && m_links.size() < 100000) {
            m_links.append(target);
            field.link = int(m_links.size() - 1);
        }
    }
    if (field.link >= 0)
        s.chars.link = field.link;
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
    if (m_text)
        return;
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
    if (link >= 0 && link < m_links.size()) {
        // A picture as a field's result: a linked picture.
        format.setAnchor(true);
        format.setAnchorHref(m_links.at(link));
    }
    format.setName(name);
    format.setWidth(size.width());
    format.setHeight(size.height());
    m_cursor.insertImage(format);
    m_paragraphHasContent = true;
    m_picture.reset();
}
