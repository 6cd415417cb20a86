// The pictures a QTextDocument keeps as resources: the image a resource holds, and what kind of
// encoded picture a run of bytes is. Shared by the RTF writer and the clipboard's picture handling.
#pragma once

#include <QByteArrayView>
#include <QImage>

class QVariant;

namespace RtfImageResource {

// The image a resource holds (a QImage, a QPixmap or encoded bytes); null for anything else.
QImage image(const QVariant &resource);

bool isPng(QByteArrayView bytes);
bool isJpeg(QByteArrayView bytes);

} // namespace RtfImageResource
