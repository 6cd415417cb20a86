#include "rtf/RtfWriterFonts.h"

#include "rtf/RtfOutput.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

// Fonts whose characters are pictures rather than letters: readers look for charset 2 on them.
bool isSymbolFont(const QString &family)
{
    return family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0
        || family.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive)
        || family.compare(QLatin1String("Webdings"), Qt::CaseInsensitive) == 0;
}

// A charset and the code page it stands for, to write a font name that is not ASCII the way Word
// writes one: its bytes in the code page of a charset that has all its characters.
struct Charset
{
    int charset;
    const char *encoding;
};

// The code page of a script, by one of its characters; null for Latin and unknown scripts.
const char *scriptEncoding(char16_t c, int *charset)
{
    static const struct
    {
        char16_t first;
        char16_t last;
        int charset;
        const char *encoding;
    } scripts[]
        = { { 0x0370, 0x03FF, 161, "windows-1253" }, { 0x0400, 0x052F, 204, "windows-1251" },
              { 0x0590, 0x05FF, 177, "windows-1255" }, { 0x0600, 0x06FF, 178, "windows-1256" },
              { 0x0E00, 0x0E7F, 222, "windows-874" }, { 0x3040, 0x30FF, 128, "windows-31j" },
              { 0xAC00, 0xD7AF, 129, "windows-949" }, { 0x3400, 0x9FFF, 134, "windows-936" } };
    for (const auto &script : scripts) {
        if (c >= script.first && c <= script.last) {
            *charset = script.charset;
            return script.encoding;
        }
    }
    return nullptr;
}

// The bytes of name in the first code page that holds it: Western, then the code page of the
// name's script, then the others, single-byte ones first; an empty array when none does.
QByteArray encodeName(const QString &name, int *charset)
{
    QList<Charset> order { { 0, "windows-1252" } };
    for (const QChar c : name) {
        int scriptCharset = 0;
        if (const char *encoding = scriptEncoding(c.unicode(), &scriptCharset)) {
            order.append({ scriptCharset, encoding });
            break;
        }
    }
    static const Charset others[] = { { 238, "windows-1250" }, { 204, "windows-1251" },
        { 161, "windows-1253" }, { 162, "windows-1254" }, { 177, "windows-1255" },
        { 178, "windows-1256" }, { 186, "windows-1257" }, { 163, "windows-1258" },
        { 222, "windows-874" }, { 134, "windows-936" }, { 136, "windows-950" },
        { 128, "windows-31j" }, { 129, "windows-949" } };
    for (const Charset &candidate : others)
        order.append(candidate);
    for (const Charset &candidate : std::as_const(order)) {
        QStringEncoder encoder(candidate.encoding);
        QStringDecoder decoder(candidate.encoding);
        if (!encoder.isValid() || !decoder.isValid())
            continue;
        const QByteArray bytes = encoder.encode(name);
        if (encoder.hasError() || QString(decoder.decode(bytes)) != name || decoder.hasError())
            continue;
        *charset = candidate.charset;
        return bytes;
    }
    return QByteArray();
}

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

RtfWriterFonts::RtfWriterFonts(const QString &defaultFamily)
{
    index(defaultFamily);
}

int RtfWriterFonts::index(const QString &family)
{
    if (family.isEmpty() && !m_families.isEmpty())
        return 0;
    const auto found = m_indexes.constFind(family);
    if (found != m_indexes.constEnd())
        return found.value();
    const int number = int(m_families.size());
    m_families.append(family);
    m_symbols.append(isSymbolFont(family));
    m_indexes.insert(family, number);
    return number;
}

void RtfWriterFonts::write(RtfOutput &output) const
{
    output.openGroup();
    output.word("fonttbl");
    for (int number = 0; number < m_families.size(); ++number) {
        const QString &family = m_families.at(number);
        output.openGroup();
        output.word("f", number);
        // A semicolon ends the name in the table, so it cannot be part of one.
        QString name = family;
        name.remove(QLatin1Char(';'));
        int charset = 0;
        const QByteArray bytes = isAscii(name) ? QByteArray() : encodeName(name, &charset);
        if (isSymbol(number)) {
            output.word("ftech");
            output.word("fcharset", 2);
            output.text(name);
        } else if (!bytes.isEmpty()) {
            output.word("fnil");
            output.word("fcharset", charset);
            // Every byte as \'hh: a trail byte of a double-byte code page can look like \ or {.
            for (const char byte : bytes)
                output.hexByte(static_cast<unsigned char>(byte));
        } else {
            output.word("fnil");
            output.word("fcharset", 0);
            output.text(name);
        }
        output.raw(";}");
    }
    output.closeGroup();
}
