// The control words of text set aside from the body's flow: footnotes, endnotes and comments
// (kept in RtfNotes, read after the body), and shapes and drawing objects, whose text boxes and
// pictures are read where the shape is anchored, as paragraphs of their own, in place of the
// copy the file keeps for readers that do not know shapes (\shprslt).
#pragma once

#include "rtf/RtfGroupState.h"
#include "rtf/RtfKeywords.h"
#include "rtf/RtfNotes.h"

#include <QByteArrayView>
#include <QString>

#include <vector>

class RtfBuilder;
class RtfTextDecoder;
class RtfTokenizer;

class RtfAsideWords
{
public:
    // The rows' arguments for shapes (RtfKeyword::Shapes).
    enum ShapeWord {
        Shape, // \shp, \shpgrp
        ShapeInstructions, // \shpinst
        ShapeProperty, // \sp
        PropertyName, // \sn
        PropertyValue, // \sv
        TextBox, // \shptxt, \dptxbxtext
        ShapeResult, // \shprslt
        DrawingObject, // \do
    };

    RtfAsideWords(
        RtfTokenizer &tokenizer, std::vector<RtfGroupState> &stack, RtfTextDecoder &decoder);

    void setBuilder(RtfBuilder *builder) { m_builder = builder; }
    void word(const RtfKeyword &k);
    // The group closing has been popped off the stack. Called for every group: the common case,
    // outside shapes, costs a test.
    void groupClosed(const RtfGroupState &closing)
    {
        if (closing.textBox || !m_shapes.empty())
            shapeGroupClosed(closing);
    }

    // After the body: what to read of the notes (empty without notes); while they are read,
    // noteMark is what a \chftn shows.
    std::vector<RtfNotes::Piece> startNotes();
    void setNoteMark(const QString &mark) { m_noteMark = mark; }
    bool leftOutContent() const { return m_leftOutContent; }

private:
    void noteWord(RtfNotes::Word word);
    void shapeWord(ShapeWord word);
    void startTextBox();
    void shapeGroupClosed(const RtfGroupState &closing);
    QByteArrayView readPastGroup(QByteArrayView word = {}, bool *found = nullptr);
    void appendMark(const QString &mark, bool superscript);
    RtfNotes::Kind nextNoteKind() const;
    RtfGroupState &state() { return m_stack.back(); }

    // A shape being read: the depth of its group, and whether its text or picture was read (a
    // group's, when one of its shapes' was).
    struct OpenShape
    {
        size_t depth;
        bool read;
    };

    RtfTokenizer &m_tokenizer;
    std::vector<RtfGroupState> &m_stack;
    RtfTextDecoder &m_decoder;
    RtfBuilder *m_builder = nullptr;
    RtfNotes m_notes;
    bool m_readingNotes = false;
    bool m_numberedMark = false; // a \chftn in the body waits for its note
    QString m_noteMark;
    std::vector<OpenShape> m_shapes;
    bool m_pictureProperty = false; // the last \sn named the shape's picture (pib)
    bool m_leftOutContent = false;
};
