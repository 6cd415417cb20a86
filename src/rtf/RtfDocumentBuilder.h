// Builds an RTF body into a QTextDocument through one QTextCursor: runs of text with their
// character formats, paragraphs with their block formats, and, through its helpers, tables,
// lists and pictures. Pictures Qt cannot draw become placeholders, which it reports.
#pragma once

#include "rtf/RtfBuilder.h"
#include "rtf/RtfCursorState.h"
#include "rtf/RtfListBuilder.h"
#include "rtf/RtfTableBuilder.h"

#include <QHash>
#include <QTextBlockFormat>
#include <QTextCharFormat>

class QTextDocument;

class RtfDocumentBuilder : public RtfBuilder
{
public:
    // Decoded pictures of one document together; past it pictures become placeholders.
    static constexpr qint64 MaxImageBytes = qint64(512) * 1024 * 1024;

    RtfDocumentBuilder(const RtfReadContext &context, QTextDocument *document);

    void flushRun() override;
    void flushParagraphText(bool bytesWaited) override;
    void endParagraph() override;
    void endOpenParagraph() override;
    void endSection() override { m_lists.endSection(); }
    void pageBreak() override;
    void endCell(int level) override;
    void endRow(int level) override;
    void picture(const RtfPicture &picture) override;
    void listLabel(const QString &label) override { m_lists.setLabel(label); }
    void pnNumberText(
        const std::optional<QString> &before, const std::optional<QString> &after) override
    {
        m_lists.setPnNumberText(before, after);
    }
    void finish() override;
    int openTables() const override { return m_tables.count(); }
    bool leftOutContent() const override { return m_leftOutContent; }

private:
    void prepareContent();
    bool joinParagraph();
    void applyParagraphFormat();
    QTextBlockFormat blockFormat(const RtfParaProps &props);
    QTextCharFormat charFormat(const RtfCharProps &props);

    QTextDocument *m_document;
    RtfCursorState m_at;
    RtfTableBuilder m_tables;
    RtfListBuilder m_lists;
    qsizetype m_endedInRun = 0; // the run's first characters that are whole ended paragraphs
    bool m_pageBreakPending = false;
    bool m_leftOutContent = false;
    qint64 m_imageBudget = MaxImageBytes;
    QHash<RtfCharProps, QTextCharFormat> m_charFormats;
    RtfParaProps m_lastParaProps;
    QTextBlockFormat m_lastBlockFormat;
    bool m_hasLastBlockFormat = false;
    int m_blockFormatGeneration = 0; // changes whenever blockFormat() makes a new format
};
