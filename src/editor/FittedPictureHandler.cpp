#include "editor/FittedPictureHandler.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>

void FittedPictureHandler::install(QAbstractTextDocumentLayout *layout)
{
    QTextObjectInterface *qtInterface = layout->handlerForObject(QTextFormat::ImageObject);
    auto *qtHandler = dynamic_cast<QObject *>(qtInterface);
    if (!qtInterface || !qtHandler)
        return;
    layout->registerHandler(
        QTextFormat::ImageObject, new FittedPictureHandler(qtHandler, qtInterface, layout));
}

FittedPictureHandler::FittedPictureHandler(
    QObject *qtHandler, QTextObjectInterface *qtInterface, QAbstractTextDocumentLayout *layout)
    : QObject(layout)
    , m_qtHandler(qtHandler)
    , m_qtInterface(qtInterface)
{ }

QSizeF FittedPictureHandler::intrinsicSize(
    QTextDocument *document, int position, const QTextFormat &format)
{
    if (!m_qtHandler)
        return QSizeF();
    const QSizeF own = m_qtInterface->intrinsicSize(document, position, format);
    // The box does not scroll sideways: the width its text is laid out in is all there is.
    const qreal room = document->textWidth() - 2 * document->documentMargin();
    if (room <= 0 || own.width() <= room)
        return own;
    return QSizeF(room, own.height() * room / own.width());
}

void FittedPictureHandler::drawObject(QPainter *painter, const QRectF &rect,
    QTextDocument *document, int position, const QTextFormat &format)
{
    // Qt's handler draws the image into whatever rectangle it is given.
    if (m_qtHandler)
        m_qtInterface->drawObject(painter, rect, document, position, format);
}
