// What a list format carries beyond Qt's own properties: the number its first item shows. Qt 6.6
// numbers from it itself; before that it is kept for the file written back.
#pragma once

#include <QTextListFormat>
#include <QtGlobal>

namespace RtfListFormat {

constexpr int StartProperty = QTextFormat::UserProperty + 0x5155;

inline int start(const QTextListFormat &format)
{
    return format.hasProperty(StartProperty) ? format.intProperty(StartProperty) : 1;
}

inline void setStart(QTextListFormat &format, int start)
{
    if (start == 1)
        return;
    format.setProperty(StartProperty, start);
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    format.setStart(start);
#endif
}

} // namespace RtfListFormat
