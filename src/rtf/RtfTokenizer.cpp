#include "rtf/RtfTokenizer.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <climits>
#include <cstring>

namespace {

inline bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// What each byte is to a text run: one that ends it, or one that is not printable 7-bit text.
enum ByteKind : uchar { Printable = 0, Stop = 1, Other = 2 };
struct ByteKinds
{
    uchar kind[256] = {};
    constexpr ByteKinds()
    {
        for (int c = 0; c < 256; ++c)
            kind[c] = (c < 0x20 && c != '\t') || c >= 0x7f ? Other : Printable;
        kind[uchar('\\')] = kind[uchar('{')] = kind[uchar('}')] = Stop;
        kind[uchar('\r')] = kind[uchar('\n')] = Stop;
    }
};
constexpr ByteKinds byteKinds;

// Steps p over text up to the first byte that ends a run, and tells whether any byte passed was
// not printable 7-bit text.
inline const char *scanText(const char *p, const char *end, bool &printable)
{
    uchar other = 0;
#ifdef __SSE2__
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i stops
            = _mm_or_si128(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\\')),
                                            _mm_cmpeq_epi8(bytes, _mm_set1_epi8('{'))),
                               _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('}')),
                                   _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')))),
                _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')));
        // Signed compare: bytes of 0x80 and above count as below 0x20 too.
        const __m128i others = _mm_andnot_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t')),
            _mm_or_si128(_mm_cmplt_epi8(bytes, _mm_set1_epi8(0x20)),
                _mm_cmpeq_epi8(bytes, _mm_set1_epi8(0x7f))));
        const unsigned stopMask = unsigned(_mm_movemask_epi8(stops));
        const unsigned otherMask = unsigned(_mm_movemask_epi8(others));
        if (stopMask) {
            const int n = __builtin_ctz(stopMask);
            other |= (otherMask & ((1u << n) - 1)) != 0;
            printable = !other;
            return p + n;
        }
        other |= otherMask != 0;
        p += 16;
    }
#endif
    while (p < end) {
        const uchar kind = byteKinds.kind[uchar(*p)];
        if (kind == Stop)
            break;
        other |= kind;
        ++p;
    }
    printable = !other;
    return p;
}

} // namespace

RtfTokenizer::RtfTokenizer(QByteArrayView input)
    : m_begin(input.data())
    , m_pos(input.data())
    , m_end(input.data() + input.size())
{ }

RtfToken RtfTokenizer::next()
{
    RtfToken token;
    while (m_pos < m_end) {
        const char c = *m_pos;
        switch (c) {
        case '{':
            ++m_pos;
            token.type = RtfToken::GroupOpen;
            return token;
        case '}':
            ++m_pos;
            token.type = RtfToken::GroupClose;
            return token;
        case '\r':
        case '\n':
            ++m_pos;
            continue;
        case '\\': {
            ++m_pos;
            if (m_pos >= m_end)
                return token;
            const char s = *m_pos;
            if (isLetter(s)) {
                readWord(token);
                return token;
            }
            ++m_pos;
            if (s == '\'') {
                int value = 0;
                int digits = 0;
                while (digits < 2 && m_pos < m_end) {
                    const int h = hexValue(*m_pos);
                    if (h < 0)
                        break;
                    value = value * 16 + h;
                    ++digits;
                    ++m_pos;
                }
                if (digits == 0) {
                    token.type = RtfToken::ControlSymbol;
                    token.symbol = 0; // a stray \' without hex: ignored
                    return token;
                }
                token.type = RtfToken::HexByte;
                token.byte = uchar(value);
                return token;
            }
            if (s == '\r' || s == '\n') {
                token.type = RtfToken::ControlWord;
                token.data = QByteArrayView("par", 3);
                return token;
            }
            token.type = RtfToken::ControlSymbol;
            token.symbol = s;
            return token;
        }
        default: {
            const char *start = m_pos;
            bool printable = true;
            m_pos = scanText(m_pos, m_end, printable);
            token.type = RtfToken::Text;
            token.printable = printable;
            token.data = QByteArrayView(start, m_pos - start);
            return token;
        }
        }
    }
    return token;
}

void RtfTokenizer::readWord(RtfToken &token)
{
    const char *start = m_pos;
    while (m_pos < m_end && isLetter(*m_pos))
        ++m_pos;
    token.type = RtfToken::ControlWord;
    qsizetype length = m_pos - start;
    // Names longer than any real word keep only their letters and match nothing.
    token.data = QByteArrayView(start, length);

    bool negative = false;
    if (m_pos + 1 < m_end && *m_pos == '-' && isDigit(m_pos[1])) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < m_end && isDigit(*m_pos)) {
        // At most ten digits count; any further ones are consumed but ignored, and the value is
        // clamped to the int range, so no number from a file can overflow.
        qint64 value = 0;
        int digits = 0;
        while (m_pos < m_end && isDigit(*m_pos)) {
            if (digits < 10)
                value = value * 10 + (*m_pos - '0');
            ++digits;
            ++m_pos;
        }
        if (value > INT_MAX)
            value = INT_MAX;
        token.parameter = int(negative ? -value : value);
        token.hasParameter = true;
    }
    if (m_pos < m_end && *m_pos == ' ')
        ++m_pos;

    if (length == 3 && start[0] == 'b' && start[1] == 'i' && start[2] == 'n') {
        // \binN: N raw bytes follow. A missing or negative N is 0; N never passes the end.
        qint64 count = token.hasParameter && token.parameter > 0 ? token.parameter : 0;
        if (count > m_end - m_pos)
            count = m_end - m_pos;
        token.type = RtfToken::Binary;
        token.data = QByteArrayView(m_pos, qsizetype(count));
        m_pos += count;
    }
}

QByteArrayView RtfTokenizer::readRawText()
{
    // memchr runs far faster than a byte loop over the megabytes of a picture.
    const char *start = m_pos;
    const char *stop = m_end;
    for (const char c : { '}', '{', '\\' }) {
        if (const void *found = std::memchr(start, c, size_t(stop - start)))
            stop = static_cast<const char *>(found);
    }
    m_pos = stop;
    return QByteArrayView(start, stop - start);
}

bool RtfTokenizer::skipGroup(QByteArrayView word)
{
    bool found = false;
    qint64 depth = 1;
    while (m_pos < m_end) {
        const char c = *m_pos++;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0)
                return found;
        } else if (c == '\\') {
            if (m_pos >= m_end)
                return found;
            if (isLetter(*m_pos)) {
                RtfToken token;
                readWord(token); // steps over a \bin payload too
                if (!word.isEmpty() && token.type == RtfToken::ControlWord && token.data == word)
                    found = true;
            } else {
                ++m_pos; // an escaped brace or backslash never counts
            }
        }
    }
    return found;
}
