#include "rtf/RtfWriterPictureCache.h"

#include <QImage>
#include <QMutexLocker>
#include <QPixmap>

namespace {

// Room for a note of forty pasted screenshots, hex and bytes, with some to spare.
constexpr qsizetype sharedMaxBytes = 256 * 1024 * 1024;

} // namespace

RtfWriterPictureCache::RtfWriterPictureCache(qsizetype maxBytes)
    : m_entries(maxBytes)
{ }

RtfWriterPictureCache &RtfWriterPictureCache::shared()
{
    static RtfWriterPictureCache cache(sharedMaxBytes);
    return cache;
}

std::optional<RtfWriterPictureCache::Key> RtfWriterPictureCache::keyOf(
    const QString &name, Role role, const QVariant &resource)
{
    Key key { name, role, resource.typeId(), 0, 0 };
    switch (key.type) {
    case QMetaType::QByteArray: {
        QByteArray bytes = resource.toByteArray(); // data_ptr() is not const, and does not detach
        // Bytes over memory of someone else's could change under the same address.
        if (bytes.isEmpty() || !bytes.data_ptr().isMutable())
            return std::nullopt;
        key.identity = quint64(quintptr(bytes.constData()));
        key.size = bytes.size();
        return key;
    }
    case QMetaType::QImage: {
        const QImage image = resource.value<QImage>();
        if (role == Original || image.isNull())
            return std::nullopt;
        key.identity = quint64(image.cacheKey());
        return key;
    }
    case QMetaType::QPixmap: {
        const QPixmap pixmap = resource.value<QPixmap>();
        if (role == Original || pixmap.isNull())
            return std::nullopt;
        key.identity = quint64(pixmap.cacheKey());
        return key;
    }
    default:
        return std::nullopt;
    }
}

std::optional<RtfWriterPicture> RtfWriterPictureCache::find(const Key &key)
{
    const QMutexLocker locker(&m_mutex);
    if (const Entry *entry = m_entries.object(key))
        return entry->picture;
    return std::nullopt;
}

void RtfWriterPictureCache::insert(
    const Key &key, const RtfWriterPicture &picture, const QVariant &resource)
{
    // Only bytes known by their address must stay alive with the picture; an image's key never
    // comes back, and holding it would keep its pixels after the document let them go.
    const bool holdsResource = key.type == QMetaType::QByteArray;
    const qsizetype cost = picture.hexLines().size() + (holdsResource ? key.size : 0);
    const QMutexLocker locker(&m_mutex);
    m_entries.insert(key, new Entry { picture, holdsResource ? resource : QVariant() }, cost);
}

qsizetype RtfWriterPictureCache::heldBytes() const
{
    const QMutexLocker locker(&m_mutex);
    return m_entries.totalCost();
}
