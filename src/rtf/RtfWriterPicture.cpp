#include "rtf/RtfWriterPicture.h"

#include "rtf/RtfImageResource.h"
#include "rtf/RtfOutput.h"
#include "rtf/RtfWriterPictureCache.h"
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
    const QTextDocument &document, const QTextImageFormat &format, RtfWriterPictureCache &cache)
{
    const QString name = format.name();
    if (name.isEmpty())
        return RtfWriterPicture();
    RtfWriterPicture picture = fromOriginalResource(name, originalOf(document, name), cache);
    if (picture.m_kind != None)
        return picture;
    return fromShownResource(
        name, document.resource(QTextDocument::ImageResource, QUrl(name)), cache);
}

QVariant RtfWriterPicture::originalOf(const QTextDocument &document, const QString &name)
{
    return document.resource(
        QTextDocument::UserResource, QUrl(QLatin1String("rtf-original:") + name));
}

RtfWriterPicture::Resources RtfWriterPicture::resourcesOf(
    const QTextDocument &document, const QString &name)
{
    Resources resources { name, originalOf(document, name), QVariant() };
    // The image shown is needed only where the reader kept no bytes.
    if (resources.original.typeId() != QMetaType::QByteArray)
        resources.shown = document.resource(QTextDocument::ImageResource, QUrl(name));
    return resources;
}

RtfWriterPicture RtfWriterPicture::fromResources(
    const Resources &resources, RtfWriterPictureCache &cache)
{
    RtfWriterPicture picture = fromOriginalResource(resources.name, resources.original, cache);
    if (picture.m_kind != None || !resources.shown.isValid())
        return picture;
    return fromShownResource(resources.name, resources.shown, cache);
}

RtfWriterPicture RtfWriterPicture::fromOriginalResource(
    const QString &name, const QVariant &original, RtfWriterPictureCache &cache)
{
    if (original.typeId() != QMetaType::QByteArray)
        return RtfWriterPicture();
    const auto key = RtfWriterPictureCache::keyOf(name, RtfWriterPictureCache::Original, original);
    if (key) {
        if (auto kept = cache.find(*key))
            return *kept;
    }
    RtfWriterPicture picture = fromOriginal(original.toByteArray());
    if (key && picture.m_kind != None)
        cache.insert(*key, picture, original);
    return picture;
}

RtfWriterPicture RtfWriterPicture::fromShownResource(
    const QString &name, const QVariant &shown, RtfWriterPictureCache &cache)
{
    const auto key = RtfWriterPictureCache::keyOf(name, RtfWriterPictureCache::Shown, shown);
    if (key) {
        if (auto kept = cache.find(*key))
            return *kept;
    }
    RtfWriterPicture picture = fromImage(RtfImageResource::image(shown));
    if (key && picture.m_kind != None)
        cache.insert(*key, picture, shown);
    return picture;
}

RtfWriterPicture RtfWriterPicture::fromOriginal(const QByteArray &bytes)
{
    RtfWriterPicture picture;
    const Kind kind = kindOf(bytes);
    const QSize size = kind == None ? QSize() : sizeOf(bytes);
    if (kind != None && size.isValid())
        picture.setBytes(kind, bytes, size);
    return picture;
}

RtfWriterPicture RtfWriterPicture::fromImage(const QImage &image)
{
    RtfWriterPicture picture;
    if (image.isNull())
        return picture;
    const QByteArray bytes = encodePng(image);
    if (!bytes.isEmpty())
        picture.setBytes(Png, bytes, image.size());
    return picture;
}

void RtfWriterPicture::setBytes(Kind kind, const QByteArray &bytes, QSize pixels)
{
    m_kind = kind;
    m_pixels = pixels;
    RtfOutput hex(RtfOutput::hexLinesSize(bytes.size()));
    hex.hexLines(bytes);
    m_hex = hex.take();
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
    output.shared(m_hex);
    output.closeGroup();
}
