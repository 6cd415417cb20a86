#include "rtf/RtfCodePages.h"

#include <QStringDecoder>

namespace {

// Adobe's Symbol encoding, 0x20 to 0xFF; 0 where the font has no character.
const char16_t symbolTable[224] = {
    // 0x20
    0x0020,
    0x0021,
    0x2200,
    0x0023,
    0x2203,
    0x0025,
    0x0026,
    0x220B,
    0x0028,
    0x0029,
    0x2217,
    0x002B,
    0x002C,
    0x2212,
    0x002E,
    0x002F,
    // 0x30
    0x0030,
    0x0031,
    0x0032,
    0x0033,
    0x0034,
    0x0035,
    0x0036,
    0x0037,
    0x0038,
    0x0039,
    0x003A,
    0x003B,
    0x003C,
    0x003D,
    0x003E,
    0x003F,
    // 0x40
    0x2245,
    0x0391,
    0x0392,
    0x03A7,
    0x0394,
    0x0395,
    0x03A6,
    0x0393,
    0x0397,
    0x0399,
    0x03D1,
    0x039A,
    0x039B,
    0x039C,
    0x039D,
    0x039F,
    // 0x50
    0x03A0,
    0x0398,
    0x03A1,
    0x03A3,
    0x03A4,
    0x03A5,
    0x03C2,
    0x03A9,
    0x039E,
    0x03A8,
    0x0396,
    0x005B,
    0x2234,
    0x005D,
    0x22A5,
    0x005F,
    // 0x60
    0x203E,
    0x03B1,
    0x03B2,
    0x03C7,
    0x03B4,
    0x03B5,
    0x03C6,
    0x03B3,
    0x03B7,
    0x03B9,
    0x03D5,
    0x03BA,
    0x03BB,
    0x03BC,
    0x03BD,
    0x03BF,
    // 0x70
    0x03C0,
    0x03B8,
    0x03C1,
    0x03C3,
    0x03C4,
    0x03C5,
    0x03D6,
    0x03C9,
    0x03BE,
    0x03C8,
    0x03B6,
    0x007B,
    0x007C,
    0x007D,
    0x223C,
    0,
    // 0x80
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    // 0x90
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    // 0xA0
    0x20AC,
    0x03D2,
    0x2032,
    0x2264,
    0x2044,
    0x221E,
    0x0192,
    0x2663,
    0x2666,
    0x2665,
    0x2660,
    0x2194,
    0x2190,
    0x2191,
    0x2192,
    0x2193,
    // 0xB0
    0x00B0,
    0x00B1,
    0x2033,
    0x2265,
    0x00D7,
    0x221D,
    0x2202,
    0x2022,
    0x00F7,
    0x2260,
    0x2261,
    0x2248,
    0x2026,
    0x23D0,
    0x23AF,
    0x21B5,
    // 0xC0
    0x2135,
    0x2111,
    0x211C,
    0x2118,
    0x2297,
    0x2295,
    0x2205,
    0x2229,
    0x222A,
    0x2283,
    0x2287,
    0x2284,
    0x2282,
    0x2286,
    0x2208,
    0x2209,
    // 0xD0
    0x2220,
    0x2207,
    0x00AE,
    0x00A9,
    0x2122,
    0x220F,
    0x221A,
    0x22C5,
    0x00AC,
    0x2227,
    0x2228,
    0x21D4,
    0x21D0,
    0x21D1,
    0x21D2,
    0x21D3,
    // 0xE0
    0x25CA,
    0x2329,
    0x00AE,
    0x00A9,
    0x2122,
    0x2211,
    0x239B,
    0x239C,
    0x239D,
    0x23A1,
    0x23A2,
    0x23A3,
    0x23A7,
    0x23A8,
    0x23A9,
    0x23AA,
    // 0xF0
    0,
    0x232A,
    0x222B,
    0x2320,
    0x23AE,
    0x2321,
    0x239E,
    0x239F,
    0x23A0,
    0x23A4,
    0x23A5,
    0x23A6,
    0x23AB,
    0x23AC,
    0x23AD,
    0,
};

const char *codePageName(int codePage)
{
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 874:
        return "windows-874";
    case 932:
        return "windows-31j"; // Microsoft's Shift JIS: 0x815C is U+2015
    case 936:
        return "windows-936";
    case 949:
        return "windows-949";
    case 950:
        return "windows-950";
    case 1250:
    case 1251:
    case 1252:
    case 1253:
    case 1254:
    case 1255:
    case 1256:
    case 1257:
    case 1258:
        return nullptr; // windows-125x, built below
    case 10000:
        return "macintosh";
    case 20127:
        return "US-ASCII";
    case 28591:
        return "ISO-8859-1";
    case 65001:
        return "UTF-8";
    default:
        return "";
    }
}

} // namespace

bool RtfCodePages::isSingleByte(int codePage)
{
    switch (codePage) {
    case Symbol:
    case SymbolPrivate:
    case 437:
    case 850:
    case 874:
    case 1250:
    case 1251:
    case 1252:
    case 1253:
    case 1254:
    case 1255:
    case 1256:
    case 1257:
    case 1258:
    case 10000:
    case 20127:
    case 28591:
        return true;
    default:
        return false;
    }
}

RtfCodePages::RtfCodePages() = default;
RtfCodePages::~RtfCodePages() = default;

int RtfCodePages::codePageForCharset(int charset, int documentCodePage)
{
    switch (charset) {
    case 0:
    case 1: // "default": the system's, which for a document is its own code page
        return documentCodePage;
    case 2:
        return Symbol;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return documentCodePage;
    }
}

QStringDecoder *RtfCodePages::decoder(int codePage)
{
    auto found = m_decoders.find(codePage);
    if (found != m_decoders.end())
        return found->second.get();
    const char *name = codePageName(codePage);
    QByteArray encoding = name ? QByteArray(name) : "windows-" + QByteArray::number(codePage);
    auto decoder = std::make_unique<QStringDecoder>(
        encoding.isEmpty() ? "windows-1252" : encoding.constData());
    if (!decoder->isValid())
        decoder = std::make_unique<QStringDecoder>("windows-1252");
    if (!decoder->isValid())
        decoder = std::make_unique<QStringDecoder>(QStringConverter::Latin1);
    QStringDecoder *result = decoder.get();
    m_decoders.emplace(codePage, std::move(decoder));
    return result;
}

const RtfCodePages::ByteTable *RtfCodePages::byteTable(int codePage)
{
    // The decoder is asked once per byte value; after that a look-up does the work.
    if (codePage == m_lastTableCodePage)
        return m_lastTable;
    m_lastTableCodePage = codePage;
    auto found = m_byteTables.find(codePage);
    if (found != m_byteTables.end())
        return m_lastTable = found->second.get();
    std::unique_ptr<ByteTable> table;
    if (codePage > 0 && isSingleByte(codePage)) {
        table = std::make_unique<ByteTable>();
        QStringDecoder *d = decoder(codePage);
        for (int byte = 0; byte < 256; ++byte) {
            const char c = char(byte);
            d->resetState();
            const QString text = d->decode(QByteArrayView(&c, 1));
            (*table)[size_t(byte)] = text.size() == 1 ? text.at(0).unicode() : char16_t(0xfffd);
        }
    }
    m_lastTable = table.get();
    m_byteTables.emplace(codePage, std::move(table));
    return m_lastTable;
}

void RtfCodePages::decode(QByteArrayView bytes, int codePage, QString &out, bool ascii)
{
    if (bytes.isEmpty())
        return;
    if (codePage == Symbol || codePage == SymbolPrivate) {
        const qsizetype start = out.size();
        out.resize(start + bytes.size());
        char16_t *dst = reinterpret_cast<char16_t *>(out.data()) + start;
        for (qsizetype i = 0; i < bytes.size(); ++i)
            dst[i] = symbolCharacter(uchar(bytes[i]), codePage);
        return;
    }
    // Plain ASCII is the same in every code page a document can name: skip the decoder.
    if (!ascii) {
        ascii = true;
        for (const char c : bytes) {
            if (uchar(c) >= 0x80) {
                ascii = false;
                break;
            }
        }
    }
    if (ascii) {
        out.append(QLatin1String(bytes.data(), bytes.size()));
        return;
    }
    if (const ByteTable *table = byteTable(codePage)) {
        const qsizetype start = out.size();
        out.resize(start + bytes.size());
        char16_t *dst = reinterpret_cast<char16_t *>(out.data()) + start;
        for (const char c : bytes)
            *dst++ = (*table)[uchar(c)];
        return;
    }
    QStringDecoder *d = decoder(codePage);
    d->resetState();
    out.append(d->decode(bytes));
}

char16_t RtfCodePages::symbolCharacter(uchar byte, int codePage)
{
    if (codePage == Symbol && byte >= 0x20) {
        const char16_t c = symbolTable[byte - 0x20];
        if (c)
            return c;
    }
    return char16_t(0xF000 + byte);
}
