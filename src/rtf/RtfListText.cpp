#include "rtf/RtfListText.h"

void RtfListText::start()
{
    m_bytes.clear();
    m_text.clear();
}

void RtfListText::bytes(QByteArrayView bytes, int codePage)
{
    if (m_bytes.size() + m_text.size() >= MaxLength)
        return;
    if (codePage != m_codePage) {
        decode();
        m_codePage = codePage;
    }
    m_bytes.append(bytes.first(std::min<qsizetype>(bytes.size(), MaxLength)));
}

void RtfListText::character(char16_t c)
{
    decode();
    if (m_text.size() < MaxLength)
        m_text.append(QChar(c));
}

QString RtfListText::take(bool trimmed)
{
    decode();
    QString text = trimmed ? m_text.trimmed() : m_text;
    m_text.clear();
    return text;
}

void RtfListText::decode()
{
    if (!m_bytes.isEmpty()) {
        m_codePages.decode(m_bytes, m_codePage, m_text);
        m_bytes.clear();
    }
}
