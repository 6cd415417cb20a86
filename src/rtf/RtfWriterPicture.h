// A picture of a document as the RTF writer embeds it: the bytes the reader kept from the file when
// there are any (PNG or JPEG), otherwise the document's image encoded as PNG, and its sizes. The
// bytes are kept as the hex lines the RTF carries, made once per picture.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QVariant>

class QImage;
class QTextDocument;
class QTextImageFormat;
class RtfOutput;
class RtfWriterPictureCache;

class RtfWriterPicture
{
public:
    enum Kind { None, Png, Jpeg };

    // The image that format shows in document; kind() is None when the document has no picture by
    // that name or it cannot be encoded. A picture whose resource cache already holds is taken
    // from there; one made anew is left in it.
    static RtfWriterPicture fromFormat(const QTextDocument &document,
        const QTextImageFormat &format, RtfWriterPictureCache &cache);

    // What a picture is made from: the bytes the reader kept and the image the document shows,
    // taken from the document on its own thread; a picture can then be made on any thread.
    struct Resources
    {
        QString name;
        QVariant original;
        QVariant shown;
    };
    static Resources resourcesOf(const QTextDocument &document, const QString &name);
    static RtfWriterPicture fromResources(const Resources &resources, RtfWriterPictureCache &cache);

    Kind kind() const { return m_kind; }
    // The bytes as lower-case hex, 128 digits to the line, each line ended.
    const QByteArray &hexLines() const { return m_hex; }
    QSize pixelSize() const { return m_pixels; }

    // {\pict\pngblip\picwN\pichN\picwgoalN\pichgoalN hex...}, the goal size being the size the
    // document shows the picture at.
    void write(RtfOutput &output, const QTextImageFormat &format) const;

private:
    static QVariant originalOf(const QTextDocument &document, const QString &name);
    static RtfWriterPicture fromOriginalResource(
        const QString &name, const QVariant &original, RtfWriterPictureCache &cache);
    static RtfWriterPicture fromShownResource(
        const QString &name, const QVariant &shown, RtfWriterPictureCache &cache);
    static RtfWriterPicture fromOriginal(const QByteArray &bytes);
    static RtfWriterPicture fromImage(const QImage &image);
    void setBytes(Kind kind, const QByteArray &bytes, QSize pixels);

    Kind m_kind = None;
    QByteArray m_hex;
    QSize m_pixels;
};
