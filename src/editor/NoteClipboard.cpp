#include "editor/NoteClipboard.h"

#include "editor/NotePictures.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QMimeData>
#include <QPixmap>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace {
const QString rtfMimeTypes[] = { QStringLiteral("text/rtf"), QStringLiteral("application/rtf") };
// Picture formats whose bytes are kept as they come (the writer embeds PNG and JPEG as they are).
const QString pictureMimeTypes[] = { QStringLiteral("image/png"), QStringLiteral("image/jpeg") };

bool hasRtf(const QMimeData *source)
{
    for (const QString &type : rtfMimeTypes)
        if (source->hasFormat(type))
            return true;
    return false;
}

bool hasPictureBytes(const QMimeData *source)
{
    for (const QString &type : pictureMimeTypes)
        if (source->hasFormat(type))
            return true;
    return false;
}

QImage imageOf(const QMimeData *source)
{
    if (source->hasImage()) {
        const QVariant data = source->imageData();
        const QImage image = data.typeId() == QMetaType::QPixmap ? data.value<QPixmap>().toImage()
                                                                 : data.value<QImage>();
        if (!image.isNull())
            return image;
    }
    for (const QString &type : pictureMimeTypes) {
        if (source->hasFormat(type)) {
            const QImage image = QImage::fromData(source->data(type));
            if (!image.isNull())
                return image;
        }
    }
    return QImage();
}
} // namespace

void NoteClipboard::addSelection(QMimeData *data, const QTextCursor &selection, double fontSize)
{
    const QTextDocumentFragment fragment = selection.selection();
    if (fragment.isEmpty())
        return;
    const QTextDocument *source = selection.document();
    QTextDocument selected;
    selected.setDefaultFont(source->defaultFont());
    QTextCursor(&selected).insertFragment(fragment);
    NotePictures::copyResources(*source, &selected);
    data->setData(rtfMimeTypes[0], RtfWriter(fontSize).write(selected));
    // One picture alone can also go to an image editor.
    const QImage picture = NotePictures::soleImage(selected);
    if (!picture.isNull())
        data->setImageData(picture);
}

bool NoteClipboard::canInsert(const QMimeData *source)
{
    return hasRtf(source) || source->hasImage() || hasPictureBytes(source);
}

bool NoteClipboard::insert(const QMimeData *source, QTextCursor &cursor, double maxWidth)
{
    return insertRtf(source, cursor) || insertImage(source, cursor, maxWidth);
}

bool NoteClipboard::insertRtf(const QMimeData *source, QTextCursor &cursor)
{
    QTextDocument *target = cursor.document();
    for (const QString &type : rtfMimeTypes) {
        if (!source->hasFormat(type))
            continue;
        QTextDocument pasted;
        pasted.setDefaultFont(target->defaultFont());
        if (RtfReader().read(source->data(type), &pasted)) {
            // The fragment names its pictures; their images stay with the document they were
            // read into unless the note is given them.
            NotePictures::adopt(&pasted, target);
            cursor.insertFragment(QTextDocumentFragment(&pasted));
            return true;
        }
    }
    return false;
}

bool NoteClipboard::insertImage(const QMimeData *source, QTextCursor &cursor, double maxWidth)
{
    const QImage image = imageOf(source);
    if (image.isNull())
        return false;
    QByteArray original;
    for (const QString &type : pictureMimeTypes) {
        if (original.isEmpty() && source->hasFormat(type))
            original = NotePictures::originalBytes(source->data(type), image);
    }
    QTextImageFormat format;
    format.setName(NotePictures::addImage(cursor.document(), image, original));
    // The box does not scroll sideways: a wide picture (a screenshot) is shown at the box's width.
    if (maxWidth > 0 && image.width() > maxWidth) {
        format.setWidth(maxWidth);
        format.setHeight(image.height() * maxWidth / image.width());
    }
    cursor.insertImage(format);
    return true;
}
