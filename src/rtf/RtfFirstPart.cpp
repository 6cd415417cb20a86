#include "rtf/RtfFirstPart.h"

#include <QByteArrayView>

namespace {
bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

qsizetype RtfFirstPart::end(const QByteArray &data, qsizetype atLeast, qsizetype before)
{
    const qsizetype size = qMin(data.size(), before);
    const char *bytes = data.constData();
    // The document's own group is level 1: the body's paragraphs end there.
    int depth = 0;
    qsizetype at = 0;
    while (at < size) {
        const char c = bytes[at];
        if (c == '{') {
            ++depth;
            ++at;
        } else if (c == '}') {
            --depth;
            ++at;
        } else if (c != '\\') {
            ++at;
        } else if (at + 1 < size && isLetter(bytes[at + 1])) {
            const qsizetype word = at + 1;
            qsizetype next = word;
            while (next < size && isLetter(bytes[next]))
                ++next;
            const QByteArrayView name(bytes + word, next - word);
            if (next < size && bytes[next] == '-')
                ++next;
            while (next < size && isDigit(bytes[next]))
                ++next;
            if (next < size && bytes[next] == ' ')
                ++next;
            if (name == "bin")
                return -1;
            if (depth == 1 && next >= atLeast && (name == "par" || name == "row"))
                return next;
            at = next;
        } else {
            // A control symbol: \{, \}, \\, \'hh and the like.
            at += 2;
        }
    }
    return -1;
}
