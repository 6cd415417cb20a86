// Builds only the text of an RTF body, without a document: each paragraph a line, the cells of a
// table row separated by tabs, a field's result as its text, no pictures. For searching notes.
#pragma once

#include "rtf/RtfBuilder.h"

class RtfTextBuilder : public RtfBuilder
{
public:
    explicit RtfTextBuilder(const RtfReadContext &context);

    // After finish(): the lines joined by line feeds, without a last one.
    const QString &text() const { return m_text; }

    void flushRun() override;
    void flushParagraphText(bool) override { flushRun(); }
    void endParagraph() override;
    void endOpenParagraph() override
    {
        if (m_lineHasContent || !m_run.isEmpty())
            endParagraph();
    }
    void endSection() override { }
    void pageBreak() override;
    void endCell(int level) override;
    void endRow(int level) override;
    // A picture is no text, but its paragraph is not empty.
    void picture(const RtfPicture &) override
    {
        flushRun();
        m_afterBox = false;
        m_lineHasContent = true;
    }
    void finish() override;
    int openTables() const override { return m_tables; }

private:
    QString m_text;
    bool m_lineHasContent = false;
    int m_tables = 0;
};
