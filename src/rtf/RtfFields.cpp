#include "rtf/RtfFields.h"

#include "rtf/RtfHeaderTables.h"

RtfFields::RtfFields(RtfCodePages &codePages)
    : m_codePages(codePages)
{ }

int RtfFields::start()
{
    if (m_fields.size() >= MaxFields)
        return -1;
    m_fields.append(Field());
    return int(m_fields.size() - 1);
}

void RtfFields::startInstruction(int field, int codePage)
{
    m_fields[field].codePage = codePage;
}

void RtfFields::instructionBytes(int index, QByteArrayView bytes, int codePage)
{
    Field &field = m_fields[index];
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

void RtfFields::instructionCharacter(int index, char16_t c)
{
    Field &field = m_fields[index];
    if (field.text.size() < 65536) {
        m_codePages.decode(field.instruction, field.codePage, field.text);
        field.instruction.clear();
        field.text.append(QChar(c));
    }
}

const QString &RtfFields::decoded(Field &field)
{
    m_codePages.decode(field.instruction, field.codePage, field.text);
    field.instruction.clear();
    return field.text;
}

int RtfFields::resultLink(int index)
{
    Field &field = m_fields[index];
    if (field.link < 0) {
        const QString target = hyperlinkTarget(decoded(field).trimmed());
        if (!target.isEmpty() && m_links.size() < MaxFields) {
            m_links.append(target);
            field.link = int(m_links.size() - 1);
        }
    }
    return field.link;
}

char32_t RtfFields::symbol(int index, RtfHeaderTables &header, int &font)
{
    Field &field = m_fields[index];
    QString fontName;
    bool unicode = false;
    const char32_t code = symbolCode(instructionWords(decoded(field)), fontName, unicode);
    if (code == 0)
        return 0;
    field.symbol = true;
    const int named = fontName.isEmpty() ? -1 : header.fontNamed(fontName);
    if (named >= 0)
        font = named;
    const int codePage = fontName.isEmpty() || named >= 0
        ? header.codePageOfFont(font)
        : RtfHeaderTables::codePageOfName(fontName, header.documentCodePage);
    const bool symbolFont
        = codePage == RtfCodePages::Symbol || codePage == RtfCodePages::SymbolPrivate;
    if (symbolFont && (code <= 0xff || (code >= 0xf020 && code <= 0xf0ff)))
        return RtfCodePages::symbolCharacter(uchar(code & 0xff), codePage);
    if (unicode || code > 0xffff || symbolFont)
        return code;
    // A character of the font's code page: one byte, or two for the East Asian ones.
    QByteArray bytes;
    if (code > 0xff)
        bytes.append(char(code >> 8));
    bytes.append(char(code & 0xff));
    QString text;
    m_codePages.decode(bytes, codePage, text);
    return text.size() == 1 ? char32_t(text.at(0).unicode()) : code;
}

// SYMBOL n [\f "font"] [\u] [\a] [\j] [\h] [\s points]: n decimal or 0x hexadecimal.
char32_t RtfFields::symbolCode(const QStringList &words, QString &fontName, bool &unicode)
{
    if (words.size() < 2
        || words.first().compare(QLatin1String("SYMBOL"), Qt::CaseInsensitive) != 0)
        return 0;
    bool ok = false;
    const QString &number = words.at(1);
    int code = number.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
        ? number.mid(2).toInt(&ok, 16)
        : number.toInt(&ok, 10);
    if (code < 0 && code >= -0x8000)
        code += 0x10000; // Word writes the U+F0xx of symbol fonts as negative numbers
    if (!ok || code <= 0 || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
        return 0;
    for (qsizetype i = 2; i < words.size(); ++i) {
        const QString &word = words.at(i);
        if (word.compare(QLatin1String("\\f"), Qt::CaseInsensitive) == 0 && i + 1 < words.size())
            fontName = words.at(++i);
        else if (word.compare(QLatin1String("\\u"), Qt::CaseInsensitive) == 0)
            unicode = true;
    }
    return code;
}

QStringList RtfFields::instructionWords(const QString &instruction)
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
    return parts;
}

QString RtfFields::hyperlinkTarget(const QString &instruction)
{
    const QStringList parts = instructionWords(instruction);
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
