#include "editor/NoteFormat.h"

#include "rtf/RtfListFormat.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <algorithm>
#include <array>
#include <functional>

namespace {
constexpr std::array<double, 21> pointSizes { 6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 28,
    32, 36, 40, 48, 56, 64, 72 };

double sizeOf(const QTextCharFormat &format, const QTextDocument &document)
{
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        return format.fontPointSize();
    return document.defaultFont().pointSizeF();
}

// The blocks the selection touches, the caret's block without one.
QList<QTextBlock> selectedBlocks(const QTextCursor &cursor)
{
    QList<QTextBlock> blocks;
    const QTextDocument *document = cursor.document();
    QTextBlock block = document->findBlock(cursor.selectionStart());
    const QTextBlock last = document->findBlock(cursor.selectionEnd());
    for (; block.isValid(); block = block.next()) {
        blocks.append(block);
        if (block == last)
            break;
    }
    return blocks;
}
// Changes each stretch of one character format between start and end, given a cursor selecting
// it and its format. The stretches are collected first, then changed: changing formats while
// walking the fragments would walk a document that changes under the walk. One undo step.
void reformatRuns(QTextDocument &document, int start, int end,
    const std::function<void(QTextCursor &, const QTextCharFormat &)> &change)
{
    struct Run
    {
        int from;
        int to;
        QTextCharFormat format;
    };
    QList<Run> runs;
    for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int from = std::max(start, fragment.position());
            const int to = std::min(end, fragment.position() + fragment.length());
            if (from < to)
                runs.append({ from, to, fragment.charFormat() });
        }
    }
    QTextCursor editing(&document);
    editing.beginEditBlock();
    for (const Run &run : std::as_const(runs)) {
        editing.setPosition(run.from);
        editing.setPosition(run.to, QTextCursor::KeepAnchor);
        change(editing, run.format);
    }
    editing.endEditBlock();
}

} // namespace

void NoteFormat::mergeFormat(QTextEdit &edit, const QTextCharFormat &format)
{
    // Without a selection this changes only the format of what is typed next: no content change.
    edit.mergeCurrentCharFormat(format);
}

void NoteFormat::toggleBold(QTextEdit &edit)
{
    QTextCharFormat format;
    format.setFontWeight(
        edit.currentCharFormat().fontWeight() > QFont::Normal ? QFont::Normal : QFont::Bold);
    mergeFormat(edit, format);
}

void NoteFormat::toggleItalic(QTextEdit &edit)
{
    QTextCharFormat format;
    format.setFontItalic(!edit.currentCharFormat().fontItalic());
    mergeFormat(edit, format);
}

void NoteFormat::toggleUnderline(QTextEdit &edit)
{
    QTextCharFormat format;
    format.setFontUnderline(!edit.currentCharFormat().fontUnderline());
    mergeFormat(edit, format);
}

void NoteFormat::toggleStrikethrough(QTextEdit &edit)
{
    QTextCharFormat format;
    format.setFontStrikeOut(!edit.currentCharFormat().fontStrikeOut());
    mergeFormat(edit, format);
}

void NoteFormat::setTextColour(QTextEdit &edit, const QColor &colour)
{
    if (!colour.isValid())
        return;
    QTextCharFormat format;
    format.setForeground(colour);
    mergeFormat(edit, format);
}

void NoteFormat::setHighlight(QTextEdit &edit, const QColor &colour)
{
    if (!colour.isValid())
        return;
    QTextCharFormat format;
    format.setBackground(colour);
    mergeFormat(edit, format);
}

double NoteFormat::nextSize(double points, int direction)
{
    if (direction > 0) {
        const auto bigger = std::upper_bound(pointSizes.begin(), pointSizes.end(), points + 0.01);
        return bigger == pointSizes.end() ? pointSizes.back() : *bigger;
    }
    const auto smaller = std::lower_bound(pointSizes.begin(), pointSizes.end(), points - 0.01);
    return smaller == pointSizes.begin() ? pointSizes.front() : *(smaller - 1);
}

double NoteFormat::sizeAtCaret(const QTextEdit &edit)
{
    return sizeOf(edit.currentCharFormat(), *edit.document());
}

void NoteFormat::makeBigger(QTextEdit &edit)
{
    stepSize(edit, +1);
}

void NoteFormat::makeSmaller(QTextEdit &edit)
{
    stepSize(edit, -1);
}

void NoteFormat::stepSize(QTextEdit &edit, int direction)
{
    QTextCursor cursor = edit.textCursor();
    QTextDocument &document = *edit.document();
    if (!cursor.hasSelection()) {
        QTextCharFormat format;
        format.setFontPointSize(nextSize(sizeAtCaret(edit), direction));
        mergeFormat(edit, format);
        return;
    }
    reformatRuns(document, cursor.selectionStart(), cursor.selectionEnd(),
        [&](QTextCursor &run, const QTextCharFormat &current) {
            QTextCharFormat format;
            format.setFontPointSize(nextSize(sizeOf(current, document), direction));
            run.mergeCharFormat(format);
        });
    // The caret's typing format follows the text it stands in.
    edit.setTextCursor(cursor);
}

void NoteFormat::setAlignment(QTextEdit &edit, Qt::Alignment alignment)
{
    edit.setAlignment(alignment);
}

void NoteFormat::toggleList(QTextEdit &edit, QTextListFormat::Style style)
{
    QTextCursor cursor = edit.textCursor();
    cursor.beginEditBlock();
    const QList<QTextBlock> blocks = selectedBlocks(cursor);
    const bool allInThisStyle
        = std::all_of(blocks.begin(), blocks.end(), [style](const QTextBlock &block) {
              return block.textList() && RtfListFormat::style(block.textList()->format()) == style;
          });
    if (allInThisStyle) {
        for (const QTextBlock &block : blocks) {
            block.textList()->remove(block);
            QTextCursor blockCursor(block);
            QTextBlockFormat format = block.blockFormat();
            format.setIndent(0);
            blockCursor.setBlockFormat(format);
        }
    } else {
        QTextListFormat format;
        format.setStyle(style);
        format.setIndent(1);
        QTextList *list = nullptr;
        for (const QTextBlock &block : blocks) {
            if (QTextList *old = block.textList())
                old->remove(block);
            if (!list) {
                list = QTextCursor(block).createList(format);
            } else {
                list->add(block);
            }
        }
    }
    cursor.endEditBlock();
}

void NoteFormat::clearFormatting(QTextEdit &edit)
{
    QTextCursor cursor = edit.textCursor();
    if (!cursor.hasSelection()) {
        QTextCharFormat plain;
        const QTextCharFormat current = edit.currentCharFormat();
        if (current.isAnchor()) {
            plain.setAnchor(true);
            plain.setAnchorHref(current.anchorHref());
        }
        edit.setCurrentCharFormat(plain);
        return;
    }
    reformatRuns(*edit.document(), cursor.selectionStart(), cursor.selectionEnd(),
        [](QTextCursor &run, const QTextCharFormat &current) {
            QTextCharFormat plain;
            if (current.isAnchor() && !current.anchorHref().isEmpty()) {
                plain.setAnchor(true);
                plain.setAnchorHref(current.anchorHref());
            }
            run.setCharFormat(plain);
        });
    edit.setTextCursor(cursor);
}

void NoteFormat::pastePlainText(QTextEdit &edit)
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return;
    edit.insertPlainText(data->text());
}
