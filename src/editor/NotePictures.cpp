#include "editor/NotePictures.h"

#include "rtf/RtfImageResource.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QHash>
#include <QImageReader>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVariant>

namespace {

bool samePixels(const QImage &a, const QImage &b)
{
    if (a.isNull() || b.isNull() || a.size() != b.size())
        return false;
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

// "name-2.png" from "name.png": the extension stays, so the name still says what it is.
QString numbered(const QString &name, int number)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    const qsizetype cut = dot > slash && dot > 0 ? dot : name.size();
    return name.left(cut) + QLatin1Char('-') + QString::number(number) + name.mid(cut);
}

QVariant resourceOf(const QTextDocument &document, int type, const QString &name)
{
    return document.resource(type, QUrl(name));
}

} // namespace

QString NotePictures::originalName(const QString &pictureName)
{
    return QLatin1String("rtf-original:") + pictureName;
}

QStringList NotePictures::names(const QTextDocument &document)
{
    QStringList result;
    QSet<QString> seen;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QString name = format.toImageFormat().name();
            if (!name.isEmpty() && !seen.contains(name)) {
                seen.insert(name);
                result.append(name);
            }
        }
    }
    return result;
}

QImage NotePictures::soleImage(const QTextDocument &document)
{
    // One character and the end of the paragraph.
    if (document.characterCount() != 2
        || document.characterAt(0) != QChar::ObjectReplacementCharacter)
        return QImage();
    const QStringList pictures = names(document);
    if (pictures.size() != 1)
        return QImage();
    return RtfImageResource::image(
        resourceOf(document, QTextDocument::ImageResource, pictures.first()));
}

void NotePictures::copyResources(const QTextDocument &from, QTextDocument *to)
{
    for (const QString &name : names(*to)) {
        const QVariant image = resourceOf(from, QTextDocument::ImageResource, name);
        if (!image.isValid())
            continue;
        to->addResource(QTextDocument::ImageResource, QUrl(name), image);
        const QVariant original = resourceOf(from, QTextDocument::UserResource, originalName(name));
        if (original.isValid())
            to->addResource(QTextDocument::UserResource, QUrl(originalName(name)), original);
    }
}

void NotePictures::adopt(QTextDocument *pasted, QTextDocument *target)
{
    const QStringList pictures = names(*pasted);
    const QSet<QString> taken(pictures.cbegin(), pictures.cend());
    QHash<QString, QString> newNames;
    for (const QString &name : pictures) {
        const QVariant image = resourceOf(*pasted, QTextDocument::ImageResource, name);
        if (!image.isValid())
            continue;
        const QVariant original
            = resourceOf(*pasted, QTextDocument::UserResource, originalName(name));
        const QString used = place(target, name, image,
            original.typeId() == QMetaType::QByteArray ? original.toByteArray() : QByteArray(),
            taken);
        if (used != name)
            newNames.insert(name, used);
    }
    if (!newNames.isEmpty())
        rename(pasted, newNames);
}

QString NotePictures::addImage(
    QTextDocument *document, const QImage &image, const QByteArray &original)
{
    // Named after the pixels, so the same picture pasted twice is kept once.
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const qint32 dimensions[2] = { pixels.width(), pixels.height() };
    hash.addData(QByteArrayView(reinterpret_cast<const char *>(dimensions), sizeof(dimensions)));
    for (int y = 0; y < pixels.height(); ++y) {
        hash.addData(QByteArrayView(reinterpret_cast<const char *>(pixels.constScanLine(y)),
            qsizetype(pixels.width()) * 4));
    }
    const QString name
        = QStringLiteral("pasted-image-%1.%2")
              .arg(QLatin1String(hash.result().toHex().left(16)),
                  RtfImageResource::isJpeg(original) ? QLatin1String("jpg") : QLatin1String("png"));
    return place(document, name, image, original, {});
}

QByteArray NotePictures::originalBytes(const QByteArray &bytes, const QImage &image)
{
    if (!RtfImageResource::isPng(bytes) && !RtfImageResource::isJpeg(bytes))
        return QByteArray();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return reader.size() == image.size() ? bytes : QByteArray();
}

QString NotePictures::place(QTextDocument *target, const QString &name, const QVariant &image,
    const QByteArray &original, const QSet<QString> &taken)
{
    const QImage pixels = RtfImageResource::image(image);
    for (int number = 1;; ++number) {
        const QString candidate = number == 1 ? name : numbered(name, number);
        if (number > 1 && taken.contains(candidate))
            continue;
        const QVariant held = resourceOf(*target, QTextDocument::ImageResource, candidate);
        const bool heldOriginal
            = resourceOf(*target, QTextDocument::UserResource, originalName(candidate)).isValid();
        if (!held.isValid() && !heldOriginal) {
            target->addResource(QTextDocument::ImageResource, QUrl(candidate), image);
            if (!original.isEmpty()) {
                target->addResource(
                    QTextDocument::UserResource, QUrl(originalName(candidate)), original);
            }
            return candidate;
        }
        if (held.isValid() && samePixels(RtfImageResource::image(held), pixels)) {
            // The same picture: the one already there stays, with its bytes when it has them.
            if (!heldOriginal && !original.isEmpty()) {
                target->addResource(
                    QTextDocument::UserResource, QUrl(originalName(candidate)), original);
            }
            return candidate;
        }
    }
}

void NotePictures::rename(QTextDocument *document, const QHash<QString, QString> &newNames)
{
    struct Renamed
    {
        int position;
        int length;
        QTextImageFormat format;
    };
    QList<Renamed> renamed;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const auto newName = newNames.constFind(format.name());
            if (newName == newNames.cend())
                continue;
            format.setName(*newName);
            renamed.append({ fragment.position(), fragment.length(), format });
        }
    }
    // Only formats change, so the positions found stay valid.
    QTextCursor cursor(document);
    for (const Renamed &picture : std::as_const(renamed)) {
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
}
