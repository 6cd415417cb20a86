#include "RtfTokenizer.h"

#include <climits>

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

// Bytes that end a text run.
struct TextStops
{
    bool stop[256] = {};
    constexpr TextStops()
    {
        stop[uchar('\\')] = stop[uchar('{')] = stop[uchar('}')] = true;
        stop[uchar('\r')] = stop[uchar('\n')] = true;
    }
};
constexpr TextStops textStops;

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
            uchar high = 0;
            while (m_pos < m_end) {
                const uchar t = uchar(*m_pos);
                if (textStops.stop[t])
                    break;
                high |= t;
                ++m_pos;
            }
            token.type = RtfToken::Text;
            token.ascii = high < 0x80;
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

void RtfTokenizer::skipGroup()
{
    qint64 depth = 1;
    while (m_pos < m_end) {
        const char c = *m_pos++;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0)
                return;
        } else if (c == '\\') {
            if (m_pos >= m_end)
                return;
            if (isLetter(*m_pos)) {
                RtfToken token;
                readWord(token); // steps over a \bin payload too
            } else {
                ++m_pos; // an escaped brace or backslash never counts
            }
        }
    }
}
