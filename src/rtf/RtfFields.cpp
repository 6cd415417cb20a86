#include "rtf/RtfFields.h"

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

int RtfFields::resultLink(int index)
{
    Field &field = m_fields[index];
    if (field.link < 0) {
        m_codePages.decode(field.instruction, field.codePage, field.text);
        field.instruction.clear();
        const QString target = hyperlinkTarget(field.text.trimmed());
        if (!target.isEmpty() && m_links.size() < MaxFields) {
            m_links.append(target);
            field.link = int(m_links.size() - 1);
        }
    }
    return field.link;
}

QString RtfFields::hyperlinkTarget(const QString &instruction)
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
