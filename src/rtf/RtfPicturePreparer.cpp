#include "rtf/RtfPicturePreparer.h"

#include "rtf/RtfWriterPicture.h"
#include "rtf/RtfWriterPictureCache.h"

#include <QList>
#include <QSet>
#include <QTextDocument>
#include <QTextFormat>

RtfPicturePreparer::RtfPicturePreparer()
{
    m_pool.setMaxThreadCount(1);
}

RtfPicturePreparer::~RtfPicturePreparer()
{
    m_pool.waitForDone();
}

void RtfPicturePreparer::prepare(const QTextDocument &document)
{
    // The document's formats name every picture it shows, without a walk through its text.
    QList<RtfWriterPicture::Resources> pictures;
    QSet<QString> seen;
    const QList<QTextFormat> formats = document.allFormats();
    for (const QTextFormat &format : formats) {
        if (!format.isImageFormat())
            continue;
        const QString name = format.toImageFormat().name();
        if (name.isEmpty() || seen.contains(name))
            continue;
        seen.insert(name);
        pictures.append(RtfWriterPicture::resourcesOf(document, name));
    }
    if (pictures.isEmpty())
        return;
    m_pool.start([pictures] {
        for (const RtfWriterPicture::Resources &picture : pictures)
            RtfWriterPicture::fromResources(picture, RtfWriterPictureCache::shared());
    });
}
