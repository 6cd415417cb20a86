// The state machine behind RtfReader: reads tokens, keeps the group stack and the tables of the
// document header, and builds the document body through one QTextCursor.
#pragma once

#include "rtf/RtfCodePages.h"
#include "rtf/RtfFields.h"
#include "rtf/RtfGroupState.h"
#include "rtf/RtfHeaderTables.h"
#include "rtf/RtfKeywords.h"
#include "rtf/RtfPicture.h"
#include "rtf/RtfTokenizer.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextList>

#include <array>
#include <vector>

class QTextDocument;
class QTextTable;

class RtfParser
{
public:
    static constexpr int MaxGroupDepth = 1000;
    static constexpr int MaxTableDepth = 16;
    static constexpr int MaxColumns = 64;
    // Decoded pictures of one document together; past it pictures become placeholders.
    static constexpr qint64 MaxImageBytes = qint64(512) * 1024 * 1024;

    RtfParser(QByteArrayView data, QTextDocument *document);
    ~RtfParser();

    void parse();
    // True when the document holds content the parse left out: footnotes, endnotes, comments,
    // page headers and footers, the text of shapes, pictures shown as placeholders.
    bool leftOutContent() const { return m_leftOutContent; }

private:
    struct Merge
    {
        int row, column, rows, columns;
    };
    struct OpenTable
    {
        QTextTable *table = nullptr;
        int level = 1;
        int row = 0;
        int column = 0;
        int cellIndex = 0; // the cell's number in its row, which can differ from its column
        QList<int> boundaries; // the right edges of the columns (twips), from the first row
        QList<int> starts; // the current row's column of each cell, when it has wide cells
        QList<int> spans; // and how many columns each of them covers
        bool cellEnded = false;
        bool rowEnded = false;
        QList<int> widths; // twips, from the row with the most cells
        int gap = 108;
        int percentWidth = 0; // fiftieths of a percent of the text's width, 0 for fixed widths
        QList<int> verticalStart; // per column, the row a vertical merge started at, or -1
        QList<Merge> merges;
        QList<int> rowEnds; // per ended row, the column after its last cell
        int definedColumns = 0; // the most columns the \cellx edges of any row make
    };

    // Tokens
    void handleWord(const RtfToken &token);
    void handleSymbol(char symbol);
    void handleText(QByteArrayView text, bool printable);
    void handleBinary(QByteArrayView bytes);
    void documentWord(const RtfKeyword &k, const RtfToken &token);
    // True when the word belongs to the destination with structure being read.
    bool destinationWord(const RtfKeyword &k, const RtfToken &token);
    void bodyWord(const RtfKeyword &k, const RtfToken &token);
    void bodyCommand(RtfKeyword::CommandId command, const RtfToken &token);
    void handlePnWord(const RtfKeyword &k, int value);
    void setPnBullet(char16_t c);
    bool openGroup(); // false when the group was too deep and has been read past
    void closeGroup();
    // True when the control word named word is in the group read past.
    bool skipDestination(QByteArrayView word = {});
    void startDestination(RtfKeyword::DestinationId id);
    void startStructuredDestination(RtfKeyword::DestinationId id);
    void enter(RtfGroupState::Destination destination);

    RtfGroupState &state() { return m_stack.back(); }

    // Body text
    void appendBytes(QByteArrayView bytes, bool printable);
    void appendCharacter(char32_t c);
    void appendUnicode(int value);
    void prepareRun();
    void decodeBytes();
    void decodeIntoRun(QByteArrayView bytes, int codePage, bool printable);
    void flushRun();
    // Flushes the run when it holds text of the paragraph being read.
    void flushParagraphText();
    QTextCharFormat charFormat(const RtfCharProps &props);
    int instructionCodePage(int font) const;

    // Paragraphs, lists and tables
    void prepareContent();
    void endParagraph();
    bool joinParagraph();
    void applyParagraphFormat();
    QTextBlockFormat blockFormat(const RtfParaProps &props);
    void applyList(const RtfParaProps &props);
    void applyPnList(const RtfParaProps &props);
    int paragraphLevel() const;
    void syncTables(int level);
    void openTable();
    void closeTable();
    void removeSpareRows(QTextTable *table, int from);
    void spanExtraColumns(OpenTable &table);
    void advanceCell(OpenTable &table);
    void layoutRow(OpenTable &table);
    void endCell(int level);
    void endRow(int level);
    RtfRowDef &rowDef();

    // Destinations with structure
    void startFieldResult();
    void insertPicture();

    RtfTokenizer m_tokenizer;
    QTextDocument *m_document;
    QTextCursor m_cursor;
    RtfCodePages m_codePages;
    std::vector<RtfGroupState> m_stack;

    RtfHeaderTables m_header;
    RtfFields m_fields;
    RtfPicture m_picture;
    qint64 m_imageBudget = MaxImageBytes;
    bool m_leftOutContent = false;

    // Reading state
    bool m_optionalDestination = false; // a {\* was just read
    bool m_groupJustOpened = false; // the last token was a {
    int m_skipUnits = 0; // fallback units after \uN still to skip
    int m_lastFontForCodePage = -2;
    int m_lastCodePage = 1252;

    // Body state
    QString m_run;
    qsizetype m_endedInRun = 0; // the run's first characters that are whole ended paragraphs
    RtfCharProps m_runProps;
    QByteArray m_bytes;
    int m_bytesCodePage = 1252;
    bool m_bytesPrintable = true; // printable 7-bit bytes only: nothing to decode or clean
    bool m_blockPending = false; // a paragraph ended: the next content starts a new block
    bool m_paragraphHasContent = false;
    bool m_pageBreakPending = false;
    QHash<RtfCharProps, QTextCharFormat> m_charFormats;
    RtfParaProps m_lastParaProps;
    QTextBlockFormat m_lastBlockFormat;
    bool m_hasLastBlockFormat = false;
    int m_blockFormatGeneration = 0; // changes whenever blockFormat() makes a new format
    int m_inheritedFormat = -1; // the generation of the format the current block already has

    // Lists
    // Qt deletes a list when its last block leaves it: hold them weakly.
    QHash<int, std::array<QPointer<QTextList>, 9>> m_wordLists; // by \ls, then \ilvl
    QPointer<QTextList> m_pnList; // the run of simple numbering or bullets going on
    int m_pnKey = -1;
    std::array<QPointer<QTextList>, 9> m_pnOutline; // \pnlvlN numbering, by level
    QPointer<QTextList> m_pnLast; // the list of the last item, for a paragraph continuing it

    // Tables
    std::vector<OpenTable> m_tables;
    RtfRowDef m_rowDefs[MaxTableDepth + 1];
};
