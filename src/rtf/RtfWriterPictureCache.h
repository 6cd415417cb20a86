// The pictures the RTF writer made lately, kept while the resource each was made from stays the
// same: hex-encoding a note's screenshots is most of the time an autosave takes, and an autosave
// writes the same pictures every time. Bounded by the bytes it holds, the least recently used
// picture going first; locked, so writers on any thread can use it, one at a time.
#pragma once

#include "rtf/RtfWriterPicture.h"

#include <QCache>
#include <QMutex>
#include <QString>
#include <QVariant>
#include <optional>

class RtfWriterPictureCache
{
public:
    // Which resource of the document a picture was made from: the bytes the reader kept, or the
    // image the document shows.
    enum Role : quint8 { Original, Shown };

    struct Key
    {
        QString name;
        Role role = Original;
        int type = 0; // the resource's QMetaType
        // The address of the bytes, the cache holding them so that no other bytes can take it;
        // or the image's cacheKey, which changes with every change of its pixels.
        quint64 identity = 0;
        qsizetype size = 0;

        friend bool operator==(const Key &, const Key &) = default;
        friend size_t qHash(const Key &key, size_t seed = 0)
        {
            return qHashMulti(seed, key.name, int(key.role), key.type, key.identity, key.size);
        }
    };

    explicit RtfWriterPictureCache(qsizetype maxBytes);

    // The one every RtfWriter uses.
    static RtfWriterPictureCache &shared();

    // The key of a picture made from resource; none for a resource whose sameness cannot be told
    // cheaply (bytes the array does not own, a null image, anything else).
    static std::optional<Key> keyOf(const QString &name, Role role, const QVariant &resource);

    std::optional<RtfWriterPicture> find(const Key &key);
    // Keeps picture, and resource with it when the key names its bytes by their address. A
    // picture larger than the whole cache is not kept.
    void insert(const Key &key, const RtfWriterPicture &picture, const QVariant &resource);
    // The bytes held: the pictures' hex and the resources kept with them.
    qsizetype heldBytes() const;

private:
    struct Entry
    {
        RtfWriterPicture picture;
        QVariant resource;
    };

    mutable QMutex m_mutex;
    QCache<Key, Entry> m_entries;
};
