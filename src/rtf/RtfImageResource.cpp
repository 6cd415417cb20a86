#include "rtf/RtfImageResource.h"

#include <QPixmap>
#include <QVariant>

namespace RtfImageResource {

QImage image(const QVariant &resource)
{
    switch (resource.typeId()) {
    case QMetaType::QImage:
        return resource.value<QImage>();
    case QMetaType::QPixmap:
        return resource.value<QPixmap>().toImage();
    case QMetaType::QByteArray:
        return QImage::fromData(resource.toByteArray());
    default:
        return QImage();
    }
}

bool isPng(QByteArrayView bytes)
{
    return bytes.startsWith("\x89PNG\r\n\x1a\n");
}

bool isJpeg(QByteArrayView bytes)
{
    return bytes.startsWith("\xff\xd8\xff");
}

} // namespace RtfImageResource
