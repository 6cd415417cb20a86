#include "rtf/RtfTextBuilder.h"

#include <algorithm>
#include <utility>

RtfTextBuilder::RtfTextBuilder(const RtfReadContext &context)
    : RtfBuilder(context)
{ }

void RtfTextBuilder::flushRun()
{
    if (m_run.isEmpty())
        return;
    m_afterBox = false;
    m_tables = paragraphLevel();
    // Whole runs appended at once: a call per character took a fifth of a search's parse.
    const qsizetype from = m_text.size();
    m_text.append(m_run);
    QChar *const begin = m_text.data();
    std::replace(begin + from, begin + m_text.size(), QChar(QChar::LineSeparator), QChar(u'\n'));
    m_run.truncate(0);
    m_lineHasContent = true;
}

void RtfTextBuilder::endParagraph()
{
    flushRun();
    if (std::exchange(m_afterBox, false) && !m_lineHasContent)
        return;
    m_text.append(u'\n');
    m_lineHasContent = false;
}

void RtfTextBuilder::pageBreak()
{
    flushRun();
    if (m_lineHasContent)
        endParagraph();
}

void RtfTextBuilder::endCell(int level)
{
    flushRun();
    if (m_tables == 0 && paragraphLevel() == 0) {
        endParagraph(); // a \cell outside any table ends a paragraph, nothing more
        return;
    }
    m_tables = std::min(level, MaxTableDepth);
    // "text\par\cell": the paragraph's end is the cell's.
    if (m_text.endsWith(u'\n') && !m_lineHasContent)
        m_text.chop(1);
    m_text.append(u'\t');
    m_lineHasContent = false;
}

void RtfTextBuilder::endRow(int level)
{
    flushRun();
    if (m_tables < std::clamp(level, 1, MaxTableDepth))
        return; // a stray \row
    if (m_text.endsWith(u'\t'))
        m_text.chop(1);
    m_text.append(u'\n');
    m_lineHasContent = false;
}

void RtfTextBuilder::finish()
{
    flushRun();
    while (m_text.endsWith(u'\n'))
        m_text.chop(1);
}
