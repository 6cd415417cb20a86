// The control words of the body, applied to the group being read and the builder: formatting
// words by their keyword table rows, and the commands with work of their own (paragraph, section,
// page, cell and row ends, tab stops, the row being defined).
#pragma once

#include "rtf/RtfGroupState.h"
#include "rtf/RtfKeywords.h"
#include "rtf/RtfTableDefs.h"
#include "rtf/RtfToken.h"

class RtfBuilder;
class RtfHeaderTables;
class RtfTextDecoder;

class RtfBodyWords
{
public:
    static constexpr int MaxTableDepth = RtfMaxTableDepth;

    // rowDefs: the rows being defined, by table level (MaxTableDepth + 1 of them).
    RtfBodyWords(const RtfHeaderTables &header, RtfTextDecoder &decoder, RtfRowDef *rowDefs);

    void setBuilder(RtfBuilder *builder) { m_builder = builder; }
    void word(const RtfKeyword &k, const RtfToken &token, RtfGroupState &s);

private:
    void command(RtfKeyword::CommandId command, const RtfToken &token, RtfGroupState &s);
    void charCommand(RtfKeyword::CommandId command, int p, bool has, RtfCharProps &c);
    void tableCommand(RtfKeyword::CommandId command, const RtfToken &token, const RtfGroupState &s);
    RtfRowDef &rowDef(const RtfGroupState &s);

    const RtfHeaderTables &m_header;
    RtfTextDecoder &m_decoder;
    RtfRowDef *m_rowDefs;
    RtfBuilder *m_builder = nullptr;
};
