// The formatting commands of a note box: each works on the selection, or, without one, on the
// format the next typed characters take. Every command that changes the text is one undo step.
#pragma once

#include <QColor>
#include <QTextListFormat>

class QTextEdit;

class NoteFormat
{
public:
    static void toggleBold(QTextEdit &edit);
    static void toggleItalic(QTextEdit &edit);
    static void toggleUnderline(QTextEdit &edit);
    static void toggleStrikethrough(QTextEdit &edit);
    static void setTextColour(QTextEdit &edit, const QColor &colour);
    static void setHighlight(QTextEdit &edit, const QColor &colour);
    // One step up or down the usual list of point sizes, each run of the selection from its own
    // size, so mixed sizes keep their differences.
    static void makeBigger(QTextEdit &edit);
    static void makeSmaller(QTextEdit &edit);
    static double nextSize(double points, int direction);
    static void setAlignment(QTextEdit &edit, Qt::Alignment alignment);
    // The paragraphs of the selection become a list of this style, or, when they already are
    // one, plain paragraphs again.
    static void toggleList(QTextEdit &edit, QTextListFormat::Style style);
    // Back to the box's plain text format; links stay links.
    static void clearFormatting(QTextEdit &edit);
    // The clipboard's text without its formatting, in the format at the caret.
    static void pastePlainText(QTextEdit &edit);

    // The size the text at the caret is shown in (the box's own size where the text sets none).
    static double sizeAtCaret(const QTextEdit &edit);

private:
    static void mergeFormat(QTextEdit &edit, const QTextCharFormat &format);
    static void stepSize(QTextEdit &edit, int direction);
};
