// A picture of a document as the RTF writer embeds it: the bytes the reader kept from the file when
// there are any (PNG or JPEG), otherwise the document's image encoded as PNG, and its sizes.
#pragma once

#include <QByteArray>
#include <QSize>

class QTextDocument;
class QTextImageFormat;
class RtfOutput;

class RtfWriterPicture
{
public:
    enum Kind { None, Png, Jpeg };

    // The image that format shows in document; kind() is None when the document has no picture by
    // that name or it cannot be encoded.
    static RtfWriterPicture fromFormat(
        const QTextDocument &document, const QTextImageFormat &format);

    Kind kind() const { return m_kind; }
    const QByteArray &bytes() const { return m_bytes; }
    QSize pixelSize() const { return m_pixels; }

    // {\pict\pngblip\picwN\pichN\picwgoalN\pichgoalN hex...}, the goal size being the size the
    // document shows the picture at.
    void write(RtfOutput &output, const QTextImageFormat &format) const;

private:
    Kind m_kind = None;
    QByteArray m_bytes;
    QSize m_pixels;
};
