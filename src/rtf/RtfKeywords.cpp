#include "rtf/RtfKeywords.h"

#include "rtf/RtfAsideWords.h"
#include "rtf/RtfNotes.h"
#include "rtf/RtfTokenizer.h"

#include <QTextOption>

#include <bit>
#include <vector>

namespace {

using K = RtfKeyword;
using C = RtfCharProps;
using P = RtfParaProps;

constexpr int MaxTwips = 31680; // 22 inches

K row(std::string_view name, K::Kind kind, K::Target target, int arg = 0)
{
    K k;
    k.name = name;
    k.kind = kind;
    k.target = target;
    k.arg = arg;
    return k;
}
K skip(std::string_view name)
{
    return row(name, K::Skip, K::None);
}
K leftOut(std::string_view name)
{
    return row(name, K::LeftOut, K::None);
}
K destination(std::string_view name, K::DestinationId id, bool afterStar = true)
{
    K k = row(name, K::Destination, K::None, id);
    k.afterStar = afterStar;
    return k;
}
K command(std::string_view name, K::CommandId id, K::Target target = K::None)
{
    return row(name, K::Command, target, id);
}
K symbol(std::string_view name, char16_t c)
{
    return row(name, K::Symbol, K::None, c);
}
K chars(std::string_view name, K::Kind kind, int C::*field, int arg = 1)
{
    K k = row(name, kind, K::Chars, arg);
    k.chars = field;
    return k;
}
K para(std::string_view name, K::Kind kind, int P::*field, int arg = 1, int low = INT_MIN,
    int high = INT_MAX)
{
    K k = row(name, kind, K::Para, arg);
    k.para = field;
    k.low = low;
    k.high = high;
    return k;
}
K twips(std::string_view name, int P::*field, int low = -MaxTwips)
{
    return para(name, K::Value, field, 0, low, MaxTwips);
}
K tableRow(std::string_view name, int RtfRowDef::*field, int low, int high)
{
    K k = row(name, K::Value, K::Row);
    k.row = field;
    k.low = low;
    k.high = high;
    return k;
}
K cell(std::string_view name, int RtfCellDef::*field)
{
    K k = row(name, K::Flag, K::Cell, 1);
    k.cell = field;
    return k;
}
K picture(std::string_view name, K::Kind kind, int RtfPicture::*field, int arg, int low = 0,
    int high = 1000000)
{
    K k = row(name, kind, K::Picture, arg);
    k.picture = field;
    k.low = low;
    k.high = high;
    return k;
}
K value(std::string_view name, K::Target target, int arg, int low = INT_MIN, int high = INT_MAX)
{
    K k = row(name, K::Value, target, arg);
    k.low = low;
    k.high = high;
    return k;
}

void headerRows(std::vector<K> &t)
{
    t.insert(t.end(),
        {
            // Document header, read in any destination
            row("ansi", K::Flag, K::Document, 1252),
            row("mac", K::Flag, K::Document, 10000),
            row("pc", K::Flag, K::Document, 437),
            row("pca", K::Flag, K::Document, 850),
            command("ansicpg", K::AnsiCodePage, K::Document),
            command("deff", K::DefaultFont, K::Document),
            command("uc", K::UnicodeSkip, K::Document),
            command("u", K::Unicode, K::Document),

            // Destinations
            destination("fonttbl", K::FontTable),
            destination("colortbl", K::ColorTable),
            destination("listtable", K::ListTable),
            destination("list", K::ListDef),
            destination("listlevel", K::ListLevel),
            destination("listoverridetable", K::ListOverrideTable),
            destination("listoverride", K::ListOverride),
            destination("pict", K::Pict),
            destination("shppict", K::ShpPict),
            destination("field", K::Field),
            destination("fldinst", K::FieldInstruction),
            destination("fldrslt", K::FieldResult),
            destination("object", K::Container),
            destination("result", K::ContainerResult),
            destination("ud", K::ContainerResult),
            destination("upr", K::Upr),
            destination("pn", K::PnDefinition),
            destination("pntxtb", K::PnBulletText, false),
            destination("leveltext", K::LevelText, false),
            destination("nesttableprops", K::NestedTableProps),

        });
}

void formattingRows(std::vector<K> &t)
{
    t.insert(t.end(),
        {
            // Character formatting
            command("plain", K::Plain),
            chars("b", K::Toggle, &C::bold),
            chars("i", K::Toggle, &C::italic),
            chars("strike", K::Toggle, &C::strike),
            chars("striked", K::Toggle, &C::strike),
            chars("caps", K::Toggle, &C::caps, C::AllCaps),
            chars("scaps", K::Toggle, &C::caps, C::SmallCaps),
            chars("v", K::Toggle, &C::hidden),
            chars("ulnone", K::Flag, &C::underline, C::NoUnderline),
            chars("super", K::Flag, &C::vertical, C::Super),
            chars("sub", K::Flag, &C::vertical, C::Sub),
            chars("nosupersub", K::Flag, &C::vertical, C::Baseline),
            command("up", K::Up),
            command("dn", K::Down),
            command("f", K::FontNumber),
            command("fs", K::FontSize),
            command("cf", K::Foreground),
            command("cb", K::Background),
            command("highlight", K::Background),
            command("chcbpat", K::Background),

            // Paragraph formatting
            command("pard", K::Pard),
            command("par", K::Par),
            command("sect", K::Sect),
            para("ql", K::Flag, &P::align, P::Left),
            para("qc", K::Flag, &P::align, P::Center),
            para("qr", K::Flag, &P::align, P::Right),
            para("qj", K::Flag, &P::align, P::Justify),
            para("qd", K::Flag, &P::align, P::Justify),
            twips("li", &P::leftIndent),
            twips("lin", &P::leftIndent),
            twips("ri", &P::rightIndent),
            twips("rin", &P::rightIndent),
            twips("fi", &P::firstIndent),
            twips("sb", &P::spaceBefore, 0),
            twips("sa", &P::spaceAfter, 0),
            twips("sl", &P::lineSpacing),
            para("slmult", K::Toggle, &P::lineMultiple),
            para("tqr", K::Flag, &P::pendingTabType, QTextOption::RightTab),
            para("tqc", K::Flag, &P::pendingTabType, QTextOption::CenterTab),
            para("tqdec", K::Flag, &P::pendingTabType, QTextOption::DelimiterTab),
            command("tx", K::TabStop),
            para("pagebb", K::Toggle, &P::pageBreakBefore),
            command("intbl", K::InTable),
            command("itap", K::TableLevel),
            para("ls", K::Value, &P::listOverride, 0, 0, 1000000),
            para("ilvl", K::Value, &P::listLevel, 0, 0, 8),

        });
}

void characterRows(std::vector<K> &t)
{
    t.insert(t.end(),
        {
            // Special characters
            symbol("tab", u'\t'),
            symbol("line", 0x2028),
            command("page", K::Page),
            symbol("emdash", 0x2014),
            symbol("endash", 0x2013),
            symbol("bullet", 0x2022),
            symbol("lquote", 0x2018),
            symbol("rquote", 0x2019),
            symbol("ldblquote", 0x201c),
            symbol("rdblquote", 0x201d),
            symbol("emspace", 0x2003),
            symbol("enspace", 0x2002),
            symbol("qmspace", 0x2005),
            symbol("zwj", 0x200d),
            symbol("zwnj", 0x200c),
            symbol("ltrmark", 0x200e),
            symbol("rtlmark", 0x200f),

            // Tables
            command("trowd", K::RowDefaults),
            command("cellx", K::CellEdge),
            command("cell", K::EndCell),
            command("nestcell", K::EndNestedCell),
            command("row", K::EndRow),
            command("nestrow", K::EndNestedRow),
            cell("clmgf", &RtfCellDef::mergeFirst),
            cell("clmrg", &RtfCellDef::merged),
            cell("clvmgf", &RtfCellDef::verticalFirst),
            cell("clvmrg", &RtfCellDef::verticalMerged),
            command("clcbpat", K::CellBackground),
            tableRow("trleft", &RtfRowDef::left, -MaxTwips, MaxTwips),
            tableRow("trgaph", &RtfRowDef::gap, 0, 1440),
            tableRow("trftsWidth", &RtfRowDef::widthUnit, INT_MIN, INT_MAX),
            tableRow("trwWidth", &RtfRowDef::width, 0, MaxTwips * 4),

        });
}

void listRows(std::vector<K> &t)
{
    t.insert(t.end(),
        {
            // Lists: the list table, and the legacy {\*\pn} numbering
            value("listid", K::List, 0),
            value("levelnfc", K::Level, 0),
            value("levelnfcn", K::Level, 0),
            value("pnlvl", K::Pn, K::PnLevel),
            value("pnstart", K::Pn, K::PnStart, 0, 32767),
            row("pnlvlblt", K::Flag, K::Pn, K::PnLevelBullet),
            row("pnlvlbody", K::Flag, K::Pn, K::PnLevelBody),
            row("pnlvlcont", K::Flag, K::Pn, K::PnLevelContinued),
            row("pndec", K::Flag, K::Pn, P::PnDecimal),
            row("pnucltr", K::Flag, K::Pn, P::PnUpperLetter),
            row("pnlcltr", K::Flag, K::Pn, P::PnLowerLetter),
            row("pnucrm", K::Flag, K::Pn, P::PnUpperRoman),
            row("pnlcrm", K::Flag, K::Pn, P::PnLowerRoman),

            // Pictures
            picture("pngblip", K::Flag, &RtfPicture::kind, RtfPicture::Png),
            picture("jpegblip", K::Flag, &RtfPicture::kind, RtfPicture::Jpeg),
            picture("dibitmap", K::Flag, &RtfPicture::kind, RtfPicture::Dib),
            picture("wbitmap", K::Flag, &RtfPicture::kind, RtfPicture::WindowsBitmap),
            picture("wmetafile", K::Flag, &RtfPicture::kind, RtfPicture::Metafile),
            picture("emfblip", K::Flag, &RtfPicture::kind, RtfPicture::Metafile),
            picture("macpict", K::Flag, &RtfPicture::kind, RtfPicture::Metafile),
            picture("pmmetafile", K::Flag, &RtfPicture::kind, RtfPicture::Metafile),
            picture("picw", K::Value, &RtfPicture::width, 0),
            picture("pich", K::Value, &RtfPicture::height, 0),
            picture("picwgoal", K::Value, &RtfPicture::goalWidth, 0),
            picture("pichgoal", K::Value, &RtfPicture::goalHeight, 0),
            picture("picscalex", K::Value, &RtfPicture::scaleX, 0, 1, 10000),
            picture("picscaley", K::Value, &RtfPicture::scaleY, 0, 1, 10000),
            picture("wbmbitspixel", K::Value, &RtfPicture::bitsPerPixel, 0, 0, 32),
            picture("wbmwidthbytes", K::Value, &RtfPicture::bytesPerLine, 0),

            // Font and colour tables
            value("fcharset", K::Font, K::FontCharset),
            value("cpg", K::Font, K::FontCodePage),
            value("red", K::Colour, K::Red, 0, 255),
            value("green", K::Colour, K::Green, 0, 255),
            value("blue", K::Colour, K::Blue, 0, 255),
        });
}

void underlineAndSkippedRows(std::vector<K> &t)
{
    const struct
    {
        std::string_view name;
        int kind;
    } underlines[] = { { "ul", C::Single }, { "uldb", C::Single }, { "ulw", C::Single },
        { "ulth", C::Single }, { "uld", C::Dotted }, { "ulthd", C::Dotted },
        { "uldash", C::Dashed }, { "ulthdash", C::Dashed }, { "ulldash", C::Dashed },
        { "ulthldash", C::Dashed }, { "uldashd", C::DashDot }, { "ulthdashd", C::DashDot },
        { "uldashdd", C::DashDotDot }, { "ulthdashdd", C::DashDotDot }, { "ulwave", C::Wave },
        { "ulhwave", C::Wave }, { "ululdbwave", C::Wave } };
    for (const auto &u : underlines)
        t.push_back(chars(u.name, K::Toggle, &C::underline, u.kind));
    // Destinations read past whole: their text never belongs to the document, and a \bin inside
    // them is stepped over by the tokenizer.
    for (const char *name :
        { "info", "atnid", "atnauthor", "atndate", "atnicn", "atnref", "atntime", "atrfstart",
            "atrfend", "bkmkstart", "bkmkend", "falt", "panose", "objdata", "themedata",
            "colorschememapping", "datastore", "latentstyles", "rsidtbl", "xmlnstbl", "generator",
            "pgdsctbl", "listpicture", "fchars", "lchars", "stylesheet", "revtbl", "filetbl",
            "template", "docvar", "userprops", "xe", "tc", "txe", "rxe", "pntext", "pntxta",
            "listtext", "nonshppict", "nonesttables", "levelnumbers", "listname",
            "listoverridetable_unused", "fldtype", "ftnsep", "ftnsepc", "ftncn", "aftnsep",
            "aftnsepc", "aftncn", "fontemb", "fontfile", "private", "pnseclvl", "sp", "sn", "sv",
            "blipuid", "picprop", "mmathPr", "formfield", "datafield", "protusertbl",
            "wgrffmtfilter", "operator", "author", "title", "subject", "keywords", "comment",
            "doccomm", "hlinkbase", "company", "category", "manager", "buptim", "creatim",
            "printim", "revtim", "ebcstart", "ebcend", "passwordhash", "fldpriv", "pgp", "mhtmltag",
            "htmltag", "xmlopen", "xmlclose", "xmlattr", "factoidname", "background", "objclass",
            "objname", "objalias", "objtime", "objsect", "objitem", "oleclsid", "shpgrp", "svb",
            "tcn", "bkmkcolf", "bkmkcoll", "listsimple", "styrsid", "defchp", "defpap", "mmath" })
        t.push_back(skip(name));
    // Content the user wrote that a note has no place for: read past too, but the reader says so
    // (leftOutContent).
    for (const char *name : { "header", "headerl", "headerr", "headerf", "footer", "footerl",
             "footerr", "footerf", "footnote", "annotation" })
        t.push_back(leftOut(name));
}

// Right-to-left paragraphs and table rows. \rtlch and \ltrch, the direction of a run, need no row:
// Qt orders the characters of a line by their own direction.
void directionRows(std::vector<K> &t)
{
    K rtlRow = row("rtlrow", K::Flag, K::Row, 1);
    rtlRow.row = &RtfRowDef::rightToLeft;
    K ltrRow = row("ltrrow", K::Flag, K::Row, 0);
    ltrRow.row = &RtfRowDef::rightToLeft;
    t.insert(t.end(),
        {
            para("rtlpar", K::Flag, &P::rightToLeft, 1),
            para("ltrpar", K::Flag, &P::rightToLeft, 0),
            rtlRow,
            ltrRow,
        });
}

// Word's list numbering: a level's kind, start and restarts, the overrides' starts, and the label
// Word computed, for the kinds Qt cannot number. Listed last: these rows replace earlier ones.
void wordListRows(std::vector<K> &t)
{
    t.insert(t.end(),
        {
            value("levelstartat", K::Level, K::LevelStart, -1000000, 1000000),
            row("levellegal", K::Toggle, K::Level, K::LevelLegal),
            row("levelnorestart", K::Toggle, K::Level, K::LevelNoRestart),
            row("lfolevel", K::Flag, K::List, K::OverrideLevel),
            row("listoverridestartat", K::Flag, K::List, K::OverrideStart),
            destination("listtext", K::ListText, false),
            destination("pntxta", K::PnAfterText, false),
        });
}

void asideRows(std::vector<K> &t)
{
    // Footnotes, endnotes and comments: read after the body (RtfNotes). Listed after the rows
    // that read past them, so these hold.
    using N = RtfNotes;
    t.push_back(row("footnote", K::Destination, K::Notes, N::NoteText));
    t.push_back(row("annotation", K::Destination, K::Notes, N::CommentText));
    t.push_back(row("atnauthor", K::Destination, K::Notes, N::CommentAuthor));
    t.push_back(row("chftn", K::Command, K::Notes, N::NoteMark));
    t.push_back(row("chatn", K::Command, K::Notes, N::CommentMark));
    const struct
    {
        std::string_view name;
        int arg;
    } styles[] = { { "ftnnar", N::Arabic }, { "ftnnalc", N::LowerLetter },
        { "ftnnauc", N::UpperLetter }, { "ftnnrlc", N::LowerRoman }, { "ftnnruc", N::UpperRoman },
        { "aftnnar", N::EndnoteStyles + int(N::Arabic) },
        { "aftnnalc", N::EndnoteStyles + int(N::LowerLetter) },
        { "aftnnauc", N::EndnoteStyles + int(N::UpperLetter) },
        { "aftnnrlc", N::EndnoteStyles + int(N::LowerRoman) },
        { "aftnnruc", N::EndnoteStyles + int(N::UpperRoman) } };
    for (const auto &s : styles)
        t.push_back(row(s.name, K::Flag, K::Notes, N::StyleBase + s.arg));

    // Shapes and drawing objects: their text boxes and pictures are read in place.
    using A = RtfAsideWords;
    const struct
    {
        std::string_view name;
        A::ShapeWord word;
    } shapes[] = { { "shp", A::Shape }, { "shpgrp", A::Shape }, { "shpinst", A::ShapeInstructions },
        { "sp", A::ShapeProperty }, { "sn", A::PropertyName }, { "sv", A::PropertyValue },
        { "shptxt", A::TextBox }, { "dptxbxtext", A::TextBox }, { "shprslt", A::ShapeResult },
        { "do", A::DrawingObject } };
    for (const auto &s : shapes)
        t.push_back(row(s.name, K::Destination, K::Shapes, s.word));
}

std::vector<K> rows()
{
    std::vector<K> t;
    headerRows(t);
    formattingRows(t);
    characterRows(t);
    listRows(t);
    underlineAndSkippedRows(t);
    wordListRows(t);
    directionRows(t);
    asideRows(t);
    return t;
}

// The rows by name in an open-addressed table of a power-of-two size: a look-up per control word
// of the file, so it costs a short hash and a compare or two, no division, no node to follow.
class KeywordTable
{
public:
    KeywordTable()
        : m_rows(rows())
        , m_slots(std::bit_ceil(m_rows.size() * 4))
        , m_mask(m_slots.size() - 1)
    {
        for (const K &k : m_rows) {
            size_t i = hash(k.name) & m_mask;
            while (m_slots[i].row && m_slots[i].name != k.name)
                i = (i + 1) & m_mask;
            m_slots[i] = { k.name, &k }; // a name listed twice: the later row holds
        }
    }

    const K &find(std::string_view name) const
    {
        for (size_t i = hash(name) & m_mask;; i = (i + 1) & m_mask) {
            const Slot &slot = m_slots[i];
            if (!slot.row)
                return m_unknown;
            if (slot.name == name)
                return *slot.row;
        }
    }

    const K &unknown() const { return m_unknown; }

private:
    static size_t hash(std::string_view name)
    {
        size_t h = 0xcbf29ce484222325u; // FNV-1a
        for (const char c : name)
            h = (h ^ uchar(c)) * 0x100000001b3u;
        return h ^ (h >> 29);
    }

    // The name beside its row: a look-up compares names without following the pointer.
    struct Slot
    {
        std::string_view name;
        const K *row = nullptr;
    };

    const std::vector<K> m_rows;
    std::vector<Slot> m_slots;
    size_t m_mask;
    const K m_unknown;
};

} // namespace

const RtfKeyword &RtfKeywords::find(QByteArrayView name)
{
    static const KeywordTable table;
    if (name.size() > RtfTokenizer::MaxWordLength || name.isEmpty())
        return table.unknown();
    return table.find(std::string_view(name.data(), size_t(name.size())));
}
