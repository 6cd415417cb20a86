#include "rtf/RtfTextDecoder.h"

#include "rtf/RtfBuilder.h"
#include "rtf/RtfCodePages.h"
#include "rtf/RtfHeaderTables.h"

#include <algorithm>

namespace {

// Characters Qt's document must not receive inside a run: they would split blocks or fake
// frame boundaries.
inline bool isUnsafe(char16_t c)
{
    if (c >= 0x20 && c < 0x7f)
        return false;
    return (c < 0x20 && c != '\t') || c == 0x7f || c == 0x2029 || c == 0xfffc || c == 0xfdd0
        || c == 0xfdd1 || c == 0xfffe || c == 0xffff;
}

} // namespace

RtfTextDecoder::RtfTextDecoder(RtfCodePages &codePages, const RtfHeaderTables &header)
    : m_codePages(codePages)
    , m_header(header)
{ }

void RtfTextDecoder::appendBytes(QByteArrayView bytes, bool printable, const RtfCharProps &props)
{
    if (props.hidden)
        return;
    prepareRun(props);
    if (m_bytes.isEmpty() && (printable || RtfCodePages::isSingleByte(m_bytesCodePage))) {
        // No byte here waits for the next one to tell what it means (printable bytes are never
        // the first of a pair): straight into the run.
        decodeIntoRun(bytes, m_bytesCodePage, printable);
        return;
    }
    m_bytesPrintable = m_bytesPrintable && printable;
    m_bytes.append(bytes);
}

void RtfTextDecoder::appendCharacter(char32_t c, const RtfCharProps &props)
{
    if (props.hidden)
        return;
    if (c <= 0xffff && isUnsafe(char16_t(c)))
        return;
    prepareRun(props);
    decodeBytes();
    QString &run = m_builder->run();
    if (c > 0xffff) {
        run.append(QChar::highSurrogate(c));
        run.append(QChar::lowSurrogate(c));
    } else {
        run.append(QChar(char16_t(c)));
    }
}

void RtfTextDecoder::prepareRun(const RtfCharProps &props)
{
    if (!(props == m_builder->runProps())) {
        flushRun();
        m_builder->setRunProps(props);
    }
    if (props.font != m_lastFontForCodePage) {
        m_lastFontForCodePage = props.font;
        m_lastCodePage = m_header.codePageOfFont(props.font);
    }
    if (m_lastCodePage != m_bytesCodePage) {
        decodeBytes();
        m_bytesCodePage = m_lastCodePage;
    }
}

void RtfTextDecoder::decodeBytes()
{
    if (m_bytes.isEmpty())
        return;
    decodeIntoRun(m_bytes, m_bytesCodePage, m_bytesPrintable);
    m_bytes.truncate(0);
    m_bytesPrintable = true;
}

void RtfTextDecoder::decodeIntoRun(QByteArrayView bytes, int codePage, bool printable)
{
    QString &run = m_builder->run();
    const qsizetype start = run.size();
    m_codePages.decode(bytes, codePage, run, printable);
    if (printable)
        return;
    // Control characters and Qt's own block and frame markers would break the structure.
    char16_t *const begin = reinterpret_cast<char16_t *>(run.data());
    char16_t *const end = begin + run.size();
    char16_t *const unsafe = std::find_if(begin + start, end, isUnsafe);
    if (unsafe != end)
        run.truncate(std::remove_if(unsafe, end, isUnsafe) - begin);
}

void RtfTextDecoder::flushParagraphText()
{
    const bool bytesWaited = !m_bytes.isEmpty();
    decodeBytes();
    m_builder->flushParagraphText(bytesWaited);
}

void RtfTextDecoder::flushRun()
{
    decodeBytes();
    m_builder->flushRun();
}
