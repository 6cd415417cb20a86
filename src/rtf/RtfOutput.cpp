#include "rtf/RtfOutput.h"

#include <array>
#include <cstring>
#include <utility>

namespace {

// The byte cp1252 gives a character, or 0 when it has none. Characters of the Symbol font's private
// area (U+F020 to U+F0FF, as Windows reads Symbol text) fall back to their low byte, as Word does.
unsigned char cp1252Byte(char16_t c)
{
    if (c >= 0xA0 && c <= 0xFF)
        return static_cast<unsigned char>(c);
    if (c >= 0xF020 && c <= 0xF0FF)
        return static_cast<unsigned char>(c & 0xFF);
    switch (c) {
    case 0x20AC:
        return 0x80;
    case 0x201A:
        return 0x82;
    case 0x0192:
        return 0x83;
    case 0x201E:
        return 0x84;
    case 0x2026:
        return 0x85;
    case 0x2020:
        return 0x86;
    case 0x2021:
        return 0x87;
    case 0x02C6:
        return 0x88;
    case 0x2030:
        return 0x89;
    case 0x0160:
        return 0x8A;
    case 0x2039:
        return 0x8B;
    case 0x0152:
        return 0x8C;
    case 0x017D:
        return 0x8E;
    case 0x2018:
        return 0x91;
    case 0x2019:
        return 0x92;
    case 0x201C:
        return 0x93;
    case 0x201D:
        return 0x94;
    case 0x2022:
        return 0x95;
    case 0x2013:
        return 0x96;
    case 0x2014:
        return 0x97;
    case 0x02DC:
        return 0x98;
    case 0x2122:
        return 0x99;
    case 0x0161:
        return 0x9A;
    case 0x203A:
        return 0x9B;
    case 0x0153:
        return 0x9C;
    case 0x017E:
        return 0x9E;
    case 0x0178:
        return 0x9F;
    default:
        return 0;
    }
}

// For each ASCII code: true when it goes into the output as it is.
constexpr std::array<bool, 128> plainAscii = [] {
    std::array<bool, 128> table {};
    for (int c = 0x20; c < 0x7F; ++c)
        table[c] = c != '\\' && c != '{' && c != '}';
    return table;
}();

constexpr char hexDigits[] = "0123456789abcdef";

// The two hex digits of every byte, side by side.
constexpr std::array<char, 512> hexPairs = [] {
    std::array<char, 512> table {};
    for (int byte = 0; byte < 256; ++byte) {
        table[size_t(2 * byte)] = hexDigits[byte >> 4];
        table[size_t(2 * byte + 1)] = hexDigits[byte & 0xF];
    }
    return table;
}();

// Longest output of one UTF-16 unit: "\u-32768\'hh".
constexpr qsizetype maxBytesPerUnit = 12;
constexpr qsizetype hexBytesPerLine = 64;

char *writeHexByte(char *p, unsigned char byte)
{
    *p++ = '\\';
    *p++ = '\'';
    *p++ = hexDigits[byte >> 4];
    *p++ = hexDigits[byte & 0xF];
    return p;
}

char *writeWord(char *p, const char *name, size_t length)
{
    *p++ = '\\';
    std::memcpy(p, name, length);
    return p + length;
}

} // namespace

RtfOutput::RtfOutput(qsizetype expectedSize, qsizetype headroom)
    : m_size(headroom)
    , m_headroom(headroom)
{
    m_buffer.resize(headroom + qMax<qsizetype>(expectedSize, 256));
}

char *RtfOutput::writeNumber(char *p, long long value)
{
    // Most numbers of a document are font, size and colour numbers of one or two digits.
    if (value >= 0 && value < 100) {
        if (value >= 10)
            *p++ = static_cast<char>('0' + value / 10);
        *p++ = static_cast<char>('0' + value % 10);
        return p;
    }
    unsigned long long magnitude;
    if (value < 0) {
        *p++ = '-';
        magnitude = 0ULL - static_cast<unsigned long long>(value);
    } else {
        magnitude = static_cast<unsigned long long>(value);
    }
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    while (count)
        *p++ = digits[--count];
    return p;
}

void RtfOutput::grow(qsizetype needed)
{
    m_buffer.resize(qMax(needed, m_buffer.size() * 2));
}

void RtfOutput::word(QByteArrayView name)
{
    const size_t length = static_cast<size_t>(name.size());
    char *p = reserveTail(name.size() + 1);
    p = writeWord(p, name.data(), length);
    m_size = p - m_buffer.data();
    m_afterWord = true;
}

void RtfOutput::word(QByteArrayView name, long long value)
{
    const size_t length = static_cast<size_t>(name.size());
    char *p = reserveTail(name.size() + 22);
    p = writeWord(p, name.data(), length);
    p = writeNumber(p, value);
    m_size = p - m_buffer.data();
    m_afterWord = true;
}

void RtfOutput::raw(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    char *p = reserveTail(bytes.size());
    std::memcpy(p, bytes.data(), static_cast<size_t>(bytes.size()));
    m_size += bytes.size();
    m_afterWord = false;
}

void RtfOutput::words(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    raw(bytes);
    m_afterWord = true;
}

void RtfOutput::raw(char c)
{
    *reserveTail(1) = c;
    ++m_size;
    m_afterWord = false;
}

void RtfOutput::text(QStringView text, bool symbolFont)
{
    const qsizetype length = text.size();
    if (length == 0)
        return;
    // One byte more for the space that may have to follow a control word.
    char *p = reserveTail(length * maxBytesPerUnit + 1);
    bool afterWord = m_afterWord;
    const char16_t *units = text.utf16();
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = units[i];
        // A space stays a space in every font.
        if (c < 128 && plainAscii[c] && (!symbolFont || c == ' ')) {
            if (afterWord) {
                *p++ = ' ';
                afterWord = false;
            }
            *p++ = static_cast<char>(c);
            // Most text is a long stretch of such characters: copied without the checks below.
            while (!symbolFont && i + 1 < length && units[i + 1] < 128 && plainAscii[units[i + 1]])
                *p++ = static_cast<char>(units[++i]);
            continue;
        }
        switch (c) {
        case '\\':
        case '{':
        case '}':
            if (symbolFont)
                break;
            *p++ = '\\';
            *p++ = static_cast<char>(c);
            afterWord = false;
            continue;
        case '\t':
            p = writeWord(p, "tab", 3);
            afterWord = true;
            continue;
        case 0x2028:
            p = writeWord(p, "line", 4);
            afterWord = true;
            continue;
        case 0x00A0:
            p = writeWord(p, "~", 1);
            afterWord = false;
            continue;
        case 0x00AD:
            p = writeWord(p, "-", 1);
            afterWord = false;
            continue;
        case 0x2011:
            p = writeWord(p, "_", 1);
            afterWord = false;
            continue;
        default:
            break;
        }
        // Control characters and the document's frame markers are not text.
        if (c < 0x20 || c == 0x7F || c == 0xFDD0 || c == 0xFDD1 || c == 0x2029)
            continue;
        p = writeWord(p, "u", 1);
        p = writeNumber(p, c > 0x7FFF ? static_cast<long long>(c) - 0x10000 : c);
        // The fallback must not run on into the number (a digit) or look like a delimiter.
        if (c < 128 && plainAscii[c] && !(c >= '0' && c <= '9'))
            *p++ = static_cast<char>(c);
        else if (c < 128)
            p = writeHexByte(p, static_cast<unsigned char>(c));
        else if (const unsigned char fallback = cp1252Byte(c))
            p = writeHexByte(p, fallback);
        else
            *p++ = '?';
        afterWord = false;
    }
    m_afterWord = afterWord;
    m_size = p - m_buffer.data();
}

void RtfOutput::hexByte(unsigned char byte)
{
    char *p = reserveTail(4);
    p = writeHexByte(p, byte);
    m_size = p - m_buffer.data();
    m_afterWord = false;
}

qsizetype RtfOutput::hexLinesSize(qsizetype count)
{
    return count * 2 + (count + hexBytesPerLine - 1) / hexBytesPerLine;
}

void RtfOutput::hexLines(QByteArrayView data)
{
    char *p = reserveTail(hexLinesSize(data.size()));
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.data());
    // A line at a time, so the inner loop has nothing to do but look up digits.
    for (qsizetype remaining = data.size(); remaining > 0;) {
        const qsizetype count = qMin(remaining, hexBytesPerLine);
        for (qsizetype i = 0; i < count; ++i) {
            std::memcpy(p, &hexPairs[size_t(bytes[i]) * 2], 2);
            p += 2;
        }
        *p++ = '\n';
        bytes += count;
        remaining -= count;
    }
    m_size = p - m_buffer.data();
    m_afterWord = false;
}

QByteArray RtfOutput::take()
{
    return takeBehind({});
}

QByteArray RtfOutput::takeBuffer(QByteArrayView head)
{
    m_buffer.resize(m_size);
    const qsizetype gap = m_headroom - head.size();
    if (gap >= 0) {
        if (!head.isEmpty())
            std::memcpy(m_buffer.data() + gap, head.data(), size_t(head.size()));
        // Removing from the front only moves the array's start: the output is not copied.
        if (gap > 0)
            m_buffer.remove(0, gap);
    } else {
        m_buffer.replace(0, m_headroom, head);
    }
    m_size = 0;
    m_headroom = 0;
    m_afterWord = false;
    return std::exchange(m_buffer, QByteArray());
}

void RtfOutput::shared(const QByteArray &piece)
{
    if (piece.isEmpty())
        return;
    if (m_pieces.isEmpty())
        m_firstHeadroom = m_headroom;
    // The first piece keeps its headroom until the head is known.
    m_buffer.resize(m_size);
    m_pieces.append(std::exchange(m_buffer, QByteArray()));
    m_size = 0;
    m_headroom = 0;
    m_buffer.resize(4096);
    m_pieces.append(piece);
    m_afterWord = false;
}

QList<QByteArray> RtfOutput::takePiecesBehind(QByteArrayView head)
{
    if (m_pieces.isEmpty())
        return { takeBuffer(head) };
    QList<QByteArray> pieces = std::exchange(m_pieces, {});
    // The first piece gets the head in its headroom, as a buffer without pieces would.
    RtfOutput first;
    first.m_buffer = std::exchange(pieces.first(), QByteArray());
    first.m_size = first.m_buffer.size();
    first.m_headroom = m_firstHeadroom;
    pieces.first() = first.takeBuffer(head);
    if (m_size > m_headroom)
        pieces.append(takeBuffer({}));
    m_size = 0;
    m_headroom = 0;
    m_buffer = QByteArray();
    m_afterWord = false;
    return pieces;
}

QByteArray RtfOutput::joined(const QList<QByteArray> &pieces)
{
    // One piece is returned as it is, without a copy.
    return pieces.size() == 1 ? pieces.first() : pieces.join();
}

QByteArray RtfOutput::takeBehind(QByteArrayView head)
{
    return joined(takePiecesBehind(head));
}
