#include "rtf/RtfPicture.h"

#include "rtf/Twips.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The value of every byte as a hex digit, -1 for the bytes that are not one.
struct HexDigits
{
    signed char value[256] = {};
    constexpr HexDigits()
    {
        for (int c = 0; c < 256; ++c)
            value[c] = -1;
        for (int c = '0'; c <= '9'; ++c)
            value[c] = char(c - '0');
        for (int c = 'a'; c <= 'f'; ++c)
            value[c] = char(c - 'a' + 10);
        for (int c = 'A'; c <= 'F'; ++c)
            value[c] = char(c - 'A' + 10);
    }
};
constexpr HexDigits hexDigits;

// The byte of every pair of hex digits, indexed by the first digit plus 256 times the second;
// -1 where either is not a digit. One look-up per byte of picture.
const qint16 *hexPairs()
{
    static const std::vector<qint16> table = [] {
        std::vector<qint16> pairs(65536, -1);
        for (int first = 0; first < 256; ++first) {
            for (int second = 0; second < 256; ++second) {
                const int high = hexDigits.value[first];
                const int low = hexDigits.value[second];
                if (high >= 0 && low >= 0)
                    pairs[size_t(first + 256 * second)] = qint16(high * 16 + low);
            }
        }
        return pairs;
    }();
    return table.data();
}

#ifdef __SSE2__
// Decodes 16 hex digits at in into 8 bytes at out, when all 16 are digits; false otherwise.
inline bool decodeSixteenDigits(const uchar *in, char *out)
{
    const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
    // Signed compares: shift the ranges so that each becomes "greater than x and less than y".
    const __m128i digit = _mm_sub_epi8(text, _mm_set1_epi8('0'));
    const __m128i isDigit = _mm_and_si128(
        _mm_cmpgt_epi8(digit, _mm_set1_epi8(-1)), _mm_cmplt_epi8(digit, _mm_set1_epi8(10)));
    const __m128i letter
        = _mm_sub_epi8(_mm_or_si128(text, _mm_set1_epi8(0x20)), _mm_set1_epi8('a' - 10));
    const __m128i isLetter = _mm_and_si128(
        _mm_cmpgt_epi8(letter, _mm_set1_epi8(9)), _mm_cmplt_epi8(letter, _mm_set1_epi8(16)));
    if (_mm_movemask_epi8(_mm_or_si128(isDigit, isLetter)) != 0xffff)
        return false;
    const __m128i value
        = _mm_or_si128(_mm_and_si128(isDigit, digit), _mm_and_si128(isLetter, letter));
    // Each 16-bit lane holds a pair: the high digit in its low byte, the low digit above it.
    const __m128i high = _mm_slli_epi16(_mm_and_si128(value, _mm_set1_epi16(0x00ff)), 4);
    const __m128i low = _mm_srli_epi16(value, 8);
    const __m128i bytes = _mm_packus_epi16(_mm_or_si128(high, low), _mm_setzero_si128());
    _mm_storel_epi64(reinterpret_cast<__m128i *>(out), bytes);
    return true;
}
#endif

} // namespace

void RtfPicture::reset()
{
    *this = RtfPicture();
}

void RtfPicture::appendHex(QByteArrayView text)
{
    // Two hex digits make a byte; line breaks and anything else between them are ignored. The
    // bytes are written straight into the buffer, which grows geometrically: pictures come in
    // lines of a few dozen digits, and megabytes of them must not be copied line by line.
    qsizetype size = m_bytes.size();
    const qsizetype needed = size + (text.size() + 1) / 2;
    if (needed > m_bytes.capacity())
        m_bytes.reserve(std::max(needed, m_bytes.capacity() * 2));
    m_bytes.resize(needed);
    char *out = m_bytes.data();
    const uchar *in = reinterpret_cast<const uchar *>(text.data());
    const uchar *const end = in + text.size();
    const qint16 *const pairs = hexPairs();
    int nibble = m_nibble;
    while (in < end) {
#ifdef __SSE2__
        if (nibble < 0 && end - in >= 16 && decodeSixteenDigits(in, out + size)) {
            in += 16;
            size += 8;
            continue;
        }
#endif
        if (nibble < 0 && end - in >= 2) {
            // The common case: two digits in a row.
            const int byte = pairs[in[0] + 256 * in[1]];
            if (byte >= 0) {
                out[size++] = char(byte);
                in += 2;
                continue;
            }
        }
        const int h = hexDigits.value[*in++];
        if (h < 0)
            continue;
        if (nibble < 0) {
            nibble = h;
        } else {
            out[size++] = char(nibble * 16 + h);
            nibble = -1;
        }
    }
    m_nibble = nibble;
    m_bytes.truncate(size);
}

void RtfPicture::appendBinary(QByteArrayView bytes)
{
    m_bytes.append(bytes);
}

QImage RtfPicture::image(qint64 maxBytes) const
{
    switch (kind) {
    case Png:
        return decode(m_bytes, "PNG", maxBytes);
    case Jpeg:
        return decode(m_bytes, "JPEG", maxBytes);
    case Dib:
        return dibImage(maxBytes);
    case WindowsBitmap:
        if (qint64(width) * height * 4 > maxBytes)
            return QImage();
        return windowsBitmapImage();
    case Unknown:
        // No type word: some writers leave it out for PNG and JPEG; let Qt recognise the bytes.
        return decode(m_bytes, nullptr, maxBytes);
    case Metafile:
        break;
    }
    return QImage();
}

QImage RtfPicture::decode(const QByteArray &data, const char *format, qint64 maxBytes)
{
    // A few kilobytes of PNG can claim a picture of gigabytes: look at the size first.
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() * 4 > maxBytes)
        return QImage();
    return reader.read();
}

QImage RtfPicture::dibImage(qint64 maxBytes) const
{
    // A packed DIB: BITMAPINFOHEADER, colour table, bits. Prepend the 14-byte file header the BMP
    // reader expects, with the offset of the bits.
    if (m_bytes.size() < 16)
        return QImage();
    const uchar *data = reinterpret_cast<const uchar *>(m_bytes.constData());
    const quint32 headerSize = qFromLittleEndian<quint32>(data);
    if (headerSize < 12 || headerSize > quint32(m_bytes.size()))
        return QImage();
    quint64 paletteBytes = 0;
    quint32 masks = 0;
    if (headerSize >= 40 && m_bytes.size() >= 40) {
        const quint16 bitCount = qFromLittleEndian<quint16>(data + 14);
        const quint32 compression = qFromLittleEndian<quint32>(data + 16);
        quint64 colours = qFromLittleEndian<quint32>(data + 32);
        if (colours == 0 && bitCount <= 8)
            colours = 1u << bitCount;
        paletteBytes = std::min<quint64>(colours, 65536) * 4;
        if (headerSize == 40 && (compression == 3 || compression == 6))
            masks = compression == 3 ? 12 : 16;
    } else if (headerSize == 12) {
        const quint16 bitCount = qFromLittleEndian<quint16>(data + 10);
        if (bitCount <= 8)
            paletteBytes = (quint64(1) << bitCount) * 3; // RGBTRIPLEs in the old header
    }
    const quint64 offset = 14 + quint64(headerSize) + paletteBytes + masks;
    const quint64 fileSize = 14 + quint64(m_bytes.size());
    QByteArray file;
    file.reserve(qsizetype(fileSize));
    uchar header[14] = { 'B', 'M' };
    qToLittleEndian<quint32>(quint32(fileSize), header + 2);
    qToLittleEndian<quint32>(quint32(std::min<quint64>(offset, fileSize)), header + 10);
    file.append(reinterpret_cast<const char *>(header), 14);
    file.append(m_bytes);
    return decode(file, "BMP", maxBytes);
}

QImage RtfPicture::windowsBitmapImage() const
{
    // A Windows 3 device-dependent bitmap: rows of bits, top row first, each padded to
    // \wbmwidthbytes. Monochrome and true-colour ones are drawn; others are placeholders.
    const int w = width;
    const int h = height;
    if (w <= 0 || h <= 0 || w > 20000 || h > 20000)
        return QImage();
    const int bpp = bitsPerPixel > 0 ? bitsPerPixel : 1;
    qint64 stride = bytesPerLine;
    const qint64 minimum = (qint64(w) * bpp + 7) / 8;
    if (stride < minimum)
        stride = (minimum + 1) / 2 * 2;
    if (stride * h > m_bytes.size())
        return QImage();
    const uchar *bits = reinterpret_cast<const uchar *>(m_bytes.constData());
    if (bpp == 1) {
        QImage image(w, h, QImage::Format_Mono);
        if (image.isNull())
            return QImage();
        image.setColorCount(2);
        image.setColor(0, qRgb(0, 0, 0));
        image.setColor(1, qRgb(255, 255, 255));
        for (int y = 0; y < h; ++y)
            std::copy_n(bits + stride * y, minimum, image.scanLine(y));
        return image;
    }
    if (bpp == 24 || bpp == 32) {
        QImage image(w, h, QImage::Format_RGB32);
        if (image.isNull())
            return QImage();
        const int step = bpp / 8;
        for (int y = 0; y < h; ++y) {
            const uchar *row = bits + stride * y;
            QRgb *out = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < w; ++x)
                out[x] = qRgb(row[x * step + 2], row[x * step + 1], row[x * step]);
        }
        return image;
    }
    return QImage();
}

QSizeF RtfPicture::displaySize(const QSize &imageSize) const
{
    // The goal size (twips) first; a metafile's own size is in 0.01 mm, a bitmap's in pixels.
    double w = Twips::toPixels(goalWidth);
    double h = Twips::toPixels(goalHeight);
    if (w <= 0)
        w = kind == Metafile ? width * 96.0 / 2540.0 : imageSize.width();
    if (h <= 0)
        h = kind == Metafile ? height * 96.0 / 2540.0 : imageSize.height();
    if (w <= 0)
        w = imageSize.width();
    if (h <= 0)
        h = imageSize.height();
    const int sx = scaleX > 0 ? scaleX : 100;
    const int sy = scaleY > 0 ? scaleY : 100;
    w = std::clamp(w * sx / 100.0, 1.0, 20000.0);
    h = std::clamp(h * sy / 100.0, 1.0, 20000.0);
    return QSizeF(w, h);
}

QImage RtfPicture::placeholder() const
{
    // A small flat image: the document draws it at the picture's size (the image format's width
    // and height), so a page of big metafiles costs no memory.
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(0xd0, 0xd0, 0xd0));
    return image;
}
