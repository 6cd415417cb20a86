#include "rtf/RtfBodyWords.h"

#include "rtf/RtfBuilder.h"
#include "rtf/RtfHeaderTables.h"
#include "rtf/RtfTextDecoder.h"

#include <QTextOption>

#include <algorithm>

namespace {

int clampInt(int value, int low, int high)
{
    return std::clamp(value, low, high);
}

} // namespace

RtfBodyWords::RtfBodyWords(
    const RtfHeaderTables &header, RtfTextDecoder &decoder, RtfRowDef *rowDefs)
    : m_header(header)
    , m_decoder(decoder)
    , m_rowDefs(rowDefs)
{ }

void RtfBodyWords::word(const RtfKeyword &k, const RtfToken &token, RtfGroupState &s)
{
    switch (k.kind) {
    case RtfKeyword::Symbol:
        if (s.destination == RtfGroupState::Body)
            m_decoder.appendCharacter(char32_t(k.arg), s.chars);
        return;
    case RtfKeyword::Command:
        command(RtfKeyword::CommandId(k.arg), token, s);
        return;
    default:
        break;
    }
    const int value = k.valueFor(token.parameter, token.hasParameter);
    switch (k.target) {
    case RtfKeyword::Chars:
        s.chars.*k.chars = value;
        return;
    case RtfKeyword::Para:
        s.para.*k.para = value;
        return;
    case RtfKeyword::Row:
        rowDef(s).*k.row = value;
        return;
    case RtfKeyword::Cell:
        rowDef(s).pending.*k.cell = value;
        return;
    default:
        return; // a word of another destination
    }
}

void RtfBodyWords::command(RtfKeyword::CommandId command, const RtfToken &token, RtfGroupState &s)
{
    const int p = token.parameter;
    const bool has = token.hasParameter;
    const bool body = s.destination == RtfGroupState::Body;
    RtfParaProps &para = s.para;
    switch (command) {
    case RtfKeyword::Plain:
    case RtfKeyword::Up:
    case RtfKeyword::Down:
    case RtfKeyword::FontNumber:
    case RtfKeyword::FontSize:
    case RtfKeyword::Foreground:
    case RtfKeyword::Background:
        charCommand(command, p, has, s.chars);
        return;
    case RtfKeyword::Pard:
        m_decoder.flushParagraphText(); // the text belongs to the table level it was read in
        para = RtfParaProps();
        if (s.textBox) {
            para.inTable = s.boxInTable;
            para.tableLevel = s.boxTableLevel;
        }
        return;
    case RtfKeyword::Par:
    case RtfKeyword::Sect:
        if (body) {
            m_decoder.decodeBytes();
            m_builder->endParagraph();
            if (command == RtfKeyword::Sect)
                m_builder->endSection(); // outline numbering starts again in each section
        }
        return;
    case RtfKeyword::Page:
        if (!body)
            return;
        m_decoder.decodeBytes();
        m_builder->pageBreak();
        return;
    case RtfKeyword::TabStop:
        if (para.tabs.size() < 256) {
            QTextOption::Tab tab;
            tab.position = clampInt(p, 0, 31680);
            tab.type = QTextOption::TabType(para.pendingTabType);
            if (tab.type == QTextOption::DelimiterTab)
                tab.delimiter = QLatin1Char('.');
            para.tabs.append(tab);
        }
        para.pendingTabType = QTextOption::LeftTab;
        return;
    case RtfKeyword::InTable:
        m_decoder.flushParagraphText();
        para.inTable = (!has || p != 0) ? 1 : 0;
        return;
    case RtfKeyword::TableLevel:
        m_decoder.flushParagraphText();
        para.tableLevel = clampInt(p, 0, MaxTableDepth);
        return;
    case RtfKeyword::RowDefaults:
    case RtfKeyword::CellEdge:
    case RtfKeyword::CellBackground:
    case RtfKeyword::EndCell:
    case RtfKeyword::EndNestedCell:
    case RtfKeyword::EndRow:
    case RtfKeyword::EndNestedRow:
        tableCommand(command, token, s);
        return;
    default:
        return;
    }
}

void RtfBodyWords::charCommand(RtfKeyword::CommandId command, int p, bool has, RtfCharProps &c)
{
    switch (command) {
    case RtfKeyword::Plain: {
        const int link = c.link;
        c = RtfCharProps();
        c.link = link;
        return;
    }
    case RtfKeyword::Up:
        c.vertical = (!has || p > 0) ? RtfCharProps::Super : RtfCharProps::Baseline;
        return;
    case RtfKeyword::Down:
        c.vertical = (!has || p > 0) ? RtfCharProps::Sub : RtfCharProps::Baseline;
        return;
    case RtfKeyword::FontNumber:
        if (has)
            c.font = p < 0 ? 0 : p;
        return;
    case RtfKeyword::FontSize:
        c.halfPoints = (has && p > 0) ? clampInt(p, 2, 3276) : 24;
        return;
    case RtfKeyword::Foreground:
        if (has && p >= 0 && p < m_header.colourCount())
            c.foreground = m_header.colour(p).isValid() ? p : -1;
        return;
    case RtfKeyword::Background:
        if (has && p >= 0 && p < m_header.colourCount())
            c.background = (p == 0 || !m_header.colour(p).isValid()) ? -1 : p; // 0: no highlight
        return;
    default:
        return;
    }
}

void RtfBodyWords::tableCommand(
    RtfKeyword::CommandId command, const RtfToken &token, const RtfGroupState &s)
{
    const int p = token.parameter;
    const bool has = token.hasParameter;
    const bool body = s.destination == RtfGroupState::Body;
    switch (command) {
    case RtfKeyword::RowDefaults:
        rowDef(s) = RtfRowDef();
        return;
    case RtfKeyword::CellEdge: {
        RtfRowDef &def = rowDef(s);
        if (def.cells.size() < 64) {
            RtfCellDef cell = def.pending;
            cell.right = clampInt(p, -31680, 31680 * 4);
            def.cells.append(cell);
        }
        def.pending = RtfCellDef();
        return;
    }
    case RtfKeyword::CellBackground:
        if (has && p > 0 && m_header.colour(p).isValid())
            rowDef(s).pending.background = p;
        return;
    case RtfKeyword::EndCell:
        if (body) {
            m_decoder.decodeBytes();
            m_builder->endCell(1);
        }
        return;
    case RtfKeyword::EndNestedCell:
        if (body) {
            m_decoder.decodeBytes();
            m_builder->endCell(std::max(2, m_builder->paragraphLevel()));
        }
        return;
    case RtfKeyword::EndRow:
        if (body || s.nestedTableProps) {
            m_decoder.decodeBytes();
            m_builder->endRow(1);
        }
        return;
    case RtfKeyword::EndNestedRow:
        if (body || s.nestedTableProps) {
            m_decoder.decodeBytes();
            m_builder->endRow(std::max(2, std::min(m_builder->openTables(), MaxTableDepth)));
        }
        return;
    default:
        return;
    }
}

RtfRowDef &RtfBodyWords::rowDef(const RtfGroupState &s)
{
    int level = std::max(1, m_builder->paragraphLevel());
    if (s.nestedTableProps)
        level = std::max(2, level);
    return m_rowDefs[std::min(level, MaxTableDepth)];
}
