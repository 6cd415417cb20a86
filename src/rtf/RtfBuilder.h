// What the RTF parser builds the body with. The parser reads tokens, groups, header tables and
// fields, decodes the text into the builder's run, and tells the builder where paragraphs, cells,
// rows and pictures end; a builder makes a document of them (RtfDocumentBuilder) or only their
// text (RtfTextBuilder).
#pragma once

#include "rtf/RtfCharProps.h"
#include "rtf/RtfGroupState.h"
#include "rtf/RtfTableDefs.h"

#include <QString>

#include <algorithm>
#include <optional>
#include <vector>

class RtfFields;
class RtfHeaderTables;
class RtfPicture;

// What the builders read of the parser's state.
struct RtfReadContext
{
    const std::vector<RtfGroupState> &stack; // the groups open, the current one last
    RtfHeaderTables &header;
    const RtfFields &fields;
    const RtfRowDef *rowDefs; // the row being defined, by table level
};

class RtfBuilder
{
public:
    static constexpr int MaxTableDepth = RtfMaxTableDepth;

    explicit RtfBuilder(const RtfReadContext &context)
        : m_context(context)
    { }
    virtual ~RtfBuilder() = default;

    // The text read and not yet given to the builder, all of one character format.
    QString &run() { return m_run; }
    const RtfCharProps &runProps() const { return m_runProps; }
    void setRunProps(const RtfCharProps &props) { m_runProps = props; }

    // The run goes in.
    virtual void flushRun() = 0;
    // Before the paragraph's table level or properties change: the text of the paragraph being
    // read goes in (bytesWaited: the parser had bytes waiting that it has just decoded).
    virtual void flushParagraphText(bool bytesWaited) = 0;
    virtual void endParagraph() = 0;
    // Ends the paragraph being read when it holds anything.
    virtual void endOpenParagraph() = 0;
    // A text box read in place has ended its paragraphs: the paragraph it was anchored in, when
    // nothing follows the box in it, ends without an empty paragraph of its own.
    void boxEnded() { m_afterBox = true; }
    virtual void endSection() = 0;
    virtual void pageBreak() = 0;
    virtual void endCell(int level) = 0;
    virtual void endRow(int level) = 0;
    virtual void picture(const RtfPicture &picture) = 0;
    // The label Word computed for the list item being read.
    virtual void listLabel(const QString &label) { Q_UNUSED(label); }
    // The texts a {\*\pn} group puts before and after its numbers, when it has them.
    virtual void pnNumberText(
        const std::optional<QString> &before, const std::optional<QString> &after)
    {
        Q_UNUSED(before);
        Q_UNUSED(after);
    }
    // The input has ended: the last paragraph and the open tables end.
    virtual void finish() = 0;
    virtual int openTables() const = 0;
    // True when the builder left out something the file holds (a picture shown as a placeholder).
    virtual bool leftOutContent() const { return false; }

    // The table level of the paragraph being read: 0 outside tables.
    int paragraphLevel() const
    {
        const RtfParaProps &para = m_context.stack.back().para;
        const int level = para.inTable ? std::max(1, para.tableLevel) : para.tableLevel;
        // \itap can jump levels in broken files: never more than one deeper than what is open.
        return std::clamp(level, 0, std::min(openTables() + 1, MaxTableDepth));
    }

protected:
    const RtfGroupState &state() const { return m_context.stack.back(); }

    RtfReadContext m_context;
    QString m_run;
    RtfCharProps m_runProps;
    bool m_afterBox = false; // nothing has come since a text box ended
};
