#include "rtf/RtfWriterPicture.h"

#include "rtf/RtfImageResource.h"
#include "rtf/RtfOutput.h"
#include "rtf/Twips.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTextDocument>
#include <QTextFormat>
#include <QUrl>

namespace {

RtfWriterPicture::Kind kindOf(const QByteArray &bytes)
{
    if (RtfImageResource::isPng(bytes))
        return RtfWriterPicture::Png;
    if (RtfImageResource::isJpeg(bytes))
        return RtfWriterPicture::Jpeg;
    return RtfWriterPicture::None;
}

QSize sizeOf(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return reader.size();
}

QByteArray encodePng(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return QByteArray();
    return bytes;
}

long twips(double pixels)
{
    // A picture stays within what a 32-bit RTF parameter holds.
    return Twips::fromPixels(pixels, 0L, 31680000L);
}

} // namespace

RtfWriterPicture RtfWriterPicture::fromFormat(
    const QTextDocument &document, const QTextImageFormat &format)
{
    RtfWriterPicture picture;
    const QString name = format.name();
    if (name.isEmpty())
        return picture;
    const QVariant original = document.resource(
        QTextDocument::UserResource, QUrl(QLatin1String("rtf-original:") + name));
    if (original.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = original.toByteArray();
        const Kind kind = kindOf(bytes);
        const QSize size = kind == None ? QSize() : sizeOf(bytes);
        if (kind != None && size.isValid()) {
            picture.m_kind = kind;
            picture.m_bytes = bytes;
            picture.m_pixels = size;
            return picture;
        }
    }
    const QImage image
        = RtfImageResource::image(document.resource(QTextDocument::ImageResource, QUrl(name)));
    if (image.isNull())
        return picture;
    picture.m_bytes = encodePng(image);
    if (picture.m_bytes.isEmpty())
        return picture;
    picture.m_kind = Png;
    picture.m_pixels = image.size();
    return picture;
}

void RtfWriterPicture::write(RtfOutput &output, const QTextImageFormat &format) const
{
    if (m_kind == None)
        return;
    // The document shows the picture at its own size unless the format gives one; a single given
    // side scales the other in proportion.
    double width = m_pixels.width();
    double height = m_pixels.height();
    const bool hasWidth = format.hasProperty(QTextFormat::ImageWidth) && format.width() > 0;
    const bool hasHeight = format.hasProperty(QTextFormat::ImageHeight) && format.height() > 0;
    if (hasWidth && hasHeight) {
        width = format.width();
        height = format.height();
    } else if (hasWidth) {
        height = m_pixels.width() > 0 ? height * format.width() / m_pixels.width() : height;
        width = format.width();
    } else if (hasHeight) {
        width = m_pixels.height() > 0 ? width * format.height() / m_pixels.height() : width;
        height = format.height();
    }
    output.openGroup();
    output.word("pict");
    output.word(m_kind == Jpeg ? "jpegblip" : "pngblip");
    output.word("picw", m_pixels.width());
    output.word("pich", m_pixels.height());
    output.word("picwgoal", twips(width));
    output.word("pichgoal", twips(height));
    output.newline();
    output.hexLines(m_bytes);
    output.closeGroup();
}
