// One {\pict} group being read: its properties and bytes, and the image they make. Pictures decode
// only from the file's own bytes; metafiles, which Qt cannot draw, become a grey placeholder.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>

class RtfPicture
{
public:
    enum Kind { Unknown, Png, Jpeg, Dib, WindowsBitmap, Metafile };

    void reset();
    void appendHex(QByteArrayView text);
    void appendBinary(QByteArrayView bytes);

    int kind = Unknown; // a Kind
    int width = 0; // \picw: pixels for bitmaps, 0.01 mm for metafiles
    int height = 0;
    int goalWidth = 0; // \picwgoal, twips
    int goalHeight = 0;
    int scaleX = 100; // \picscalex, percent
    int scaleY = 100;
    int bitsPerPixel = 0; // \wbmbitspixel
    int bytesPerLine = 0; // \wbmwidthbytes

    // The decoded image, null when the bytes do not make one (placeholders included) or when
    // it would take more than maxBytes of memory.
    QImage image(qint64 maxBytes) const;
    // A light grey image standing for a picture Qt cannot draw (shown at its display size).
    QImage placeholder() const;
    // The size to show the picture at, in pixels (96 per inch), given the image's own size.
    QSizeF displaySize(const QSize &imageSize) const;
    // The bytes as found in the file (PNG or JPEG data, a DIB, ...).
    const QByteArray &bytes() const { return m_bytes; }

private:
    static QImage decode(const QByteArray &data, const char *format, qint64 maxBytes);
    QImage dibImage(qint64 maxBytes) const;
    QImage windowsBitmapImage() const;

    QByteArray m_bytes;
    int m_nibble = -1;
};
