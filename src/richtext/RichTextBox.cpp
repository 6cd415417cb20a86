#include "RichTextBox.h"

#include "RtfReader.h"
#include "RtfWriter.h"

#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace {
const QString rtfMimeTypes[] = { QStringLiteral("text/rtf"), QStringLiteral("application/rtf") };
}

RichTextBox::RichTextBox(QWidget *parent)
    : QTextEdit(parent)
{
    setAcceptRichText(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QTextEdit::textChanged, this, &RichTextBox::Change);
}

bool RichTextBox::loadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return loadRtf(file.readAll());
}

bool RichTextBox::loadRtf(const QByteArray &rtf)
{
    if (!RtfReader::looksLikeRtf(rtf))
        return false;
    QTextDocument *doc = document();
    // A load is not an undoable step: build without undo and start the history empty.
    doc->setUndoRedoEnabled(false);
    const bool loaded = RtfReader().read(rtf, doc);
    doc->setUndoRedoEnabled(true);
    if (loaded)
        setCaretPosition(0);
    return loaded;
}

QByteArray RichTextBox::textRTF() const
{
    return RtfWriter(fontSize()).write(*document());
}

void RichTextBox::setText(const QString &plainText)
{
    setPlainText(plainText);
}

void RichTextBox::setFontSize(double points)
{
    if (points <= 0)
        return;
    QFont font = document()->defaultFont();
    font.setPointSizeF(points);
    document()->setDefaultFont(font);
    QTextCharFormat format = currentCharFormat();
    format.setFontPointSize(points);
    setCurrentCharFormat(format);
}

double RichTextBox::fontSize() const
{
    return document()->defaultFont().pointSizeF();
}

void RichTextBox::setCaretPosition(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(qBound(0, position, document()->characterCount() - 1));
    setTextCursor(cursor);
}

void RichTextBox::keyReleaseEvent(QKeyEvent *event)
{
    QTextEdit::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        emit KeyUp(event->key(), event->modifiers());
}

QMimeData *RichTextBox::createMimeDataFromSelection() const
{
    QMimeData *data = QTextEdit::createMimeDataFromSelection();
    const QTextDocumentFragment fragment = textCursor().selection();
    if (!fragment.isEmpty()) {
        QTextDocument selection;
        selection.setDefaultFont(document()->defaultFont());
        QTextCursor(&selection).insertFragment(fragment);
        data->setData(rtfMimeTypes[0], RtfWriter(fontSize()).write(selection));
    }
    return data;
}

bool RichTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    for (const QString &type : rtfMimeTypes)
        if (source->hasFormat(type))
            return true;
    return QTextEdit::canInsertFromMimeData(source);
}

void RichTextBox::insertFromMimeData(const QMimeData *source)
{
    if (!isReadOnly()) {
        for (const QString &type : rtfMimeTypes) {
            if (!source->hasFormat(type))
                continue;
            QTextDocument pasted;
            pasted.setDefaultFont(document()->defaultFont());
            if (RtfReader().read(source->data(type), &pasted)) {
                textCursor().insertFragment(QTextDocumentFragment(&pasted));
                ensureCursorVisible();
                return;
            }
        }
    }
    QTextEdit::insertFromMimeData(source);
}
