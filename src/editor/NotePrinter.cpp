#include "editor/NotePrinter.h"

#include "editor/ListLabelPainter.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>
#include <memory>

namespace {
constexpr double headerPoints = 10.0;
} // namespace

QString NotePrinter::footerText(int number, int count)
{
    return QStringLiteral("Page %1 of %2").arg(number).arg(count);
}

bool NotePrinter::print(QTextDocument &note, const QString &title, QPagedPaintDevice &device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The copy asks the note for the pictures it holds as resources (its parent document).
    std::unique_ptr<QTextDocument> pages(note.clone(&note));
    pages->documentLayout()->setPaintDevice(&device);

    QFont headerFont = note.defaultFont();
    headerFont.setPointSizeF(headerPoints);
    QFont titleFont = headerFont;
    titleFont.setBold(true);
    const QFontMetricsF metrics(headerFont, &device);
    const qreal width = device.width();
    const qreal headerHeight = metrics.height() * 2;
    const qreal footerHeight = metrics.height() * 2;
    const qreal bodyHeight = device.height() - headerHeight - footerHeight;
    if (width <= 0 || bodyHeight <= 0)
        return false;
    pages->setPageSize(QSizeF(width, bodyHeight));

    const int count = pages->pageCount();
    for (int page = 0; page < count; ++page) {
        if (page > 0 && !device.newPage())
            return false;
        painter.setPen(Qt::black);
        painter.setFont(titleFont);
        painter.drawText(QRectF(0, 0, width, metrics.height()),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
            metrics.elidedText(title, Qt::ElideRight, width));
        painter.drawLine(
            QPointF(0, metrics.height() * 1.4), QPointF(width, metrics.height() * 1.4));
        painter.setFont(headerFont);
        painter.drawText(QRectF(0, device.height() - metrics.height(), width, metrics.height()),
            Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine, footerText(page + 1, count));

        painter.save();
        const QRectF body(0, page * bodyHeight, width, bodyHeight);
        painter.translate(0, headerHeight - body.top());
        painter.setClipRect(body);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = body;
        context.palette.setColor(QPalette::Text, Qt::black);
        pages->documentLayout()->draw(&painter, context);
        ListLabelPainter::paint(painter, *pages, body, context.palette.brush(QPalette::Text));
        painter.restore();
    }
    return painter.end();
}
