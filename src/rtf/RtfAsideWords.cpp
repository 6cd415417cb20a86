#include "rtf/RtfAsideWords.h"

#include "rtf/RtfBuilder.h"
#include "rtf/RtfTextDecoder.h"
#include "rtf/RtfTokenizer.h"

#include <algorithm>
#include <utility>

namespace {

constexpr size_t MaxOpenShapes = 64;

} // namespace

RtfAsideWords::RtfAsideWords(
    RtfTokenizer &tokenizer, std::vector<RtfGroupState> &stack, RtfTextDecoder &decoder)
    : m_tokenizer(tokenizer)
    , m_stack(stack)
    , m_decoder(decoder)
{ }

void RtfAsideWords::word(const RtfKeyword &k)
{
    if (k.target == RtfKeyword::Notes)
        noteWord(RtfNotes::Word(k.arg));
    else
        shapeWord(ShapeWord(k.arg));
}

QByteArrayView RtfAsideWords::readPastGroup(QByteArrayView word, bool *found)
{
    // The rest of the group just opened, without its closing brace; its state goes with it. The
    // input may be a note's own text, read after the body.
    const QByteArrayView input = m_tokenizer.input();
    const qsizetype begin = m_tokenizer.position();
    const bool hasWord = m_tokenizer.skipGroup(word);
    if (found)
        *found = hasWord;
    if (m_stack.size() > 1)
        m_stack.pop_back();
    qsizetype end = m_tokenizer.position();
    if (end > begin && input[end - 1] == '}')
        --end;
    return input.sliced(begin, end - begin);
}

// ---------------------------------------------------------------------------------------------
// Footnotes, endnotes and comments

void RtfAsideWords::noteWord(RtfNotes::Word word)
{
    const bool body = state().destination == RtfGroupState::Body;
    switch (word) {
    case RtfNotes::NoteText:
    case RtfNotes::CommentText: {
        m_leftOutContent = true; // a save writes the notes as text of the note
        const RtfGroupState start = state();
        bool endnote = false;
        const QByteArrayView rtf = readPastGroup("ftnalt", &endnote);
        if (!body || m_readingNotes)
            return; // a note inside a note, or outside the body: not shown
        if (word == RtfNotes::CommentText) {
            m_notes.add(RtfNotes::Comment, rtf, start);
            return;
        }
        // Without a \chftn before it, the text before it is the note's own mark.
        m_notes.add(endnote ? RtfNotes::Endnote : RtfNotes::Footnote, rtf, start,
            !std::exchange(m_numberedMark, false));
        return;
    }
    case RtfNotes::CommentAuthor:
        m_notes.setAuthor(readPastGroup());
        return;
    case RtfNotes::NoteMark:
        if (!body)
            return;
        if (!m_readingNotes)
            m_numberedMark = true;
        appendMark(m_readingNotes ? m_noteMark : m_notes.nextMark(nextNoteKind()), !m_readingNotes);
        return;
    case RtfNotes::CommentMark:
        if (body && !m_readingNotes)
            appendMark(m_notes.nextMark(RtfNotes::Comment), true);
        return;
    default:
        m_notes.setStyle(word - RtfNotes::StyleBase);
        return;
    }
}

void RtfAsideWords::appendMark(const QString &mark, bool superscript)
{
    RtfCharProps chars = state().chars;
    if (superscript)
        chars.vertical = RtfCharProps::Super;
    for (const QChar c : mark)
        m_decoder.appendCharacter(c.unicode(), chars);
}

RtfNotes::Kind RtfAsideWords::nextNoteKind() const
{
    // A mark comes just before its note, and an endnote says so at its start.
    const QByteArrayView input = m_tokenizer.input();
    const qsizetype at = m_tokenizer.position();
    const QByteArrayView ahead = input.sliced(at, std::min<qsizetype>(512, input.size() - at));
    const qsizetype note = ahead.indexOf("\\footnote");
    if (note < 0)
        return RtfNotes::Footnote;
    const QByteArrayView start = ahead.sliced(note, std::min<qsizetype>(48, ahead.size() - note));
    return start.indexOf("\\ftnalt") >= 0 ? RtfNotes::Endnote : RtfNotes::Footnote;
}

std::vector<RtfNotes::Piece> RtfAsideWords::startNotes()
{
    m_readingNotes = true;
    m_shapes.clear();
    return m_notes.pieces();
}

// ---------------------------------------------------------------------------------------------
// Shapes and drawing objects

void RtfAsideWords::shapeWord(ShapeWord word)
{
    RtfGroupState &s = state();
    const bool inShape = !m_shapes.empty() && s.destination == RtfGroupState::Ignore;
    switch (word) {
    case Shape:
    case DrawingObject:
        // A shape in the body, or one of a group's shapes, in the group's instructions.
        if ((s.destination != RtfGroupState::Body && !inShape)
            || m_shapes.size() >= MaxOpenShapes) {
            readPastGroup();
            return;
        }
        m_shapes.push_back({ m_stack.size(), false });
        // A shape's result part goes where its text would have gone; a drawing object has none.
        s.outerDestination = s.destination;
        s.destination = word == Shape ? RtfGroupState::Container : RtfGroupState::Ignore;
        return;
    case ShapeInstructions:
        if (s.destination != RtfGroupState::Container || m_shapes.empty()) {
            readPastGroup();
            return;
        }
        s.destination = RtfGroupState::Ignore; // its words count, its text is not the note's
        return;
    case ShapeProperty:
        if (!inShape)
            readPastGroup();
        return;
    case PropertyName:
        m_pictureProperty = readPastGroup().trimmed() == "pib";
        return;
    case PropertyValue:
        if (!inShape || !m_pictureProperty) {
            readPastGroup();
            return;
        }
        // The shape's picture: its \pict is read in place.
        m_shapes.back().read = true;
        s.destination = RtfGroupState::Body;
        return;
    case TextBox:
        if (!inShape) {
            readPastGroup();
            return;
        }
        startTextBox();
        return;
    case ShapeResult:
        if (s.destination != RtfGroupState::Container || m_shapes.empty() || m_shapes.back().read) {
            readPastGroup(); // never both the shape's text and its copy
            return;
        }
        s.destination = s.outerDestination;
        return;
    }
}

void RtfAsideWords::startTextBox()
{
    // The box's paragraphs stand by themselves where the shape is anchored, in the table cell
    // it may be in; its place and frame are all that is lost.
    m_leftOutContent = true;
    m_shapes.back().read = true;
    m_decoder.decodeBytes();
    m_builder->endOpenParagraph();
    RtfGroupState &s = state();
    RtfParaProps para;
    para.inTable = s.para.inTable;
    para.tableLevel = s.para.tableLevel;
    s.para = para;
    s.boxInTable = std::int8_t(para.inTable != 0);
    s.boxTableLevel = std::int8_t(std::clamp(para.tableLevel, 0, RtfMaxTableDepth));
    s.destination = RtfGroupState::Body;
    s.textBox = true;
}

void RtfAsideWords::shapeGroupClosed(const RtfGroupState &closing)
{
    if (closing.textBox && !state().textBox) {
        m_decoder.decodeBytes();
        m_builder->endOpenParagraph();
        m_builder->boxEnded();
    }
    while (!m_shapes.empty() && m_shapes.back().depth > m_stack.size()) {
        const bool read = m_shapes.back().read;
        m_shapes.pop_back();
        if (read && !m_shapes.empty())
            m_shapes.back().read = true; // the group's copy is not read either
    }
}
