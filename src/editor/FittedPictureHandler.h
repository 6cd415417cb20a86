// Shows the pictures of a note box no wider than the box: a wider picture is drawn shrunk to the
// box's width, in proportion. Only the display changes; the picture's format keeps its own size,
// which is the size written to the note. Qt's own image handler still loads and draws the image.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTextObjectInterface>

class QAbstractTextDocumentLayout;

class FittedPictureHandler : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    // Takes over the pictures of layout's document; the handler lives as long as the layout.
    static void install(QAbstractTextDocumentLayout *layout);

    QSizeF intrinsicSize(QTextDocument *document, int position, const QTextFormat &format) override;
    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int position,
        const QTextFormat &format) override;

private:
    FittedPictureHandler(
        QObject *qtHandler, QTextObjectInterface *qtInterface, QAbstractTextDocumentLayout *layout);

    // Qt's image handler, a child of the layout like this one.
    QPointer<QObject> m_qtHandler;
    QTextObjectInterface *m_qtInterface = nullptr;
};
