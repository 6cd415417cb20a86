#include "ScreenshotNote.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QUrl>

ScreenshotNote::ScreenshotNote()
{
    QRandomGenerator random(20240801u);
    QTextCursor cursor(&document);
    for (int i = 0; i < count; ++i) {
        QImage image(640, 640, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
            random.fillRange(line, image.width());
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        png.append(bytes);
        const QString name = QStringLiteral("pasted-image-%1.png").arg(i);
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);
        QTextImageFormat format;
        format.setName(name);
        cursor.insertText(QStringLiteral("Screenshot %1: ").arg(i));
        cursor.insertImage(format);
        cursor.insertBlock();
    }
    renewBytes();
}

void ScreenshotNote::renewBytes()
{
    for (int i = 0; i < count; ++i) {
        const QByteArray &bytes = png.at(i);
        document.addResource(QTextDocument::UserResource,
            QUrl(QStringLiteral("rtf-original:pasted-image-%1.png").arg(i)),
            QByteArray(bytes.constData(), bytes.size()));
    }
}
