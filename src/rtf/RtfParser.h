// The state machine behind RtfReader: reads tokens, keeps the group stack, reads the header
// tables and fields, decodes the text, and hands the body to a builder: a QTextDocument's
// (RtfDocumentBuilder) or a text-only one (RtfTextBuilder).
#pragma once

#include "rtf/RtfAsideWords.h"
#include "rtf/RtfBodyWords.h"
#include "rtf/RtfBuilder.h"
#include "rtf/RtfCodePages.h"
#include "rtf/RtfFields.h"
#include "rtf/RtfGroupState.h"
#include "rtf/RtfHeaderTables.h"
#include "rtf/RtfKeywords.h"
#include "rtf/RtfListText.h"
#include "rtf/RtfPicture.h"
#include "rtf/RtfTextDecoder.h"
#include "rtf/RtfTokenizer.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QTextDocument;
class RtfTextBuilder;

class RtfParser
{
public:
    static constexpr int MaxGroupDepth = 1000;
    static constexpr int MaxTableDepth = RtfBuilder::MaxTableDepth;

    // Reads into the document, or, without one, only the text (see text()).
    RtfParser(QByteArrayView data, QTextDocument *document);
    ~RtfParser();

    // Told how many bytes of the input are read, every progressStep bytes or so; reading stops
    // when it returns false.
    using Progress = std::function<bool(qsizetype bytesRead)>;
    static constexpr qsizetype progressStep = 64 * 1024;
    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // False when the progress function stopped it: the document then holds only a part.
    bool parse();
    // True when the file holds content the document does not keep as the file has it: notes and
    // comments, text boxes, page headers and footers, pictures shown as placeholders.
    bool leftOutContent() const
    {
        return m_leftOutContent || m_asideWords.leftOutContent() || m_builder->leftOutContent();
    }
    // After a parse without a document: the text, each paragraph a line.
    QString text() const;

private:
    // Tokens: false when the progress function stopped the reading.
    bool readTokens(qsizetype &nextReport);
    void handleWord(const RtfToken &token);
    void documentWord(const RtfKeyword &k, const RtfToken &token);
    // True when the word belongs to the destination with structure being read.
    bool destinationWord(const RtfKeyword &k, const RtfToken &token);
    void handleSymbol(char symbol);
    void handleText(QByteArrayView text, bool printable);
    void handleBinary(QByteArrayView bytes);
    bool openGroup(); // false when the group was too deep and has been read past
    void closeGroup();
    // True when the control word named word is in the group read past.
    bool skipDestination(QByteArrayView word = {});
    void startDestination(RtfKeyword::DestinationId id);
    void startStructuredDestination(RtfKeyword::DestinationId id);
    void startListDestination(RtfKeyword::DestinationId id);
    void enter(RtfGroupState::Destination destination);
    void startFieldResult();
    void insertSymbol(int field);
    // Footnotes, endnotes and comments, read after the body.
    void readNotes();

    RtfGroupState &state() { return m_stack.back(); }

    // Body text
    void appendCharacter(char32_t c);
    void appendUnicode(int value);
    int instructionCodePage(int font) const;

    RtfTokenizer m_tokenizer;
    Progress m_progress;
    RtfCodePages m_codePages;
    std::vector<RtfGroupState> m_stack;
    RtfHeaderTables m_header;
    RtfFields m_fields;
    RtfPicture m_picture;
    RtfListText m_listText;
    // The texts before and after the number of the {\*\pn} group being read, when it has them.
    std::optional<QString> m_pnBefore;
    std::optional<QString> m_pnAfter;
    RtfRowDef m_rowDefs[MaxTableDepth + 1];
    bool m_leftOutContent = false;

    // Reading state
    bool m_optionalDestination = false; // a {\* was just read
    bool m_groupJustOpened = false; // the last token was a {
    int m_skipUnits = 0; // fallback units after \uN still to skip
    RtfTextDecoder m_decoder;
    RtfBodyWords m_bodyWords;
    RtfAsideWords m_asideWords;

    std::unique_ptr<RtfBuilder> m_builder;
    RtfTextBuilder *m_textBuilder = nullptr; // the builder, when it builds text only
};
