// What a list format carries beyond Qt's own properties: the number its first item shows, and the
// label every item shows. Qt 6.6 numbers from the start itself; before that a numbered list that
// does not start at one is held without a Qt style, so that Qt draws no label of its own, and its
// real style is kept beside it: ask a list's style through style(), never QTextListFormat::style().
#pragma once

#include <QTextListFormat>
#include <QtGlobal>

class QTextBlock;

namespace RtfListFormat {

constexpr int StartProperty = QTextFormat::UserProperty + 0x5155;
constexpr int StyleProperty = QTextFormat::UserProperty + 0x5156;

inline int start(const QTextListFormat &format)
{
    return format.hasProperty(StartProperty) ? format.intProperty(StartProperty) : 1;
}

inline QTextListFormat::Style style(const QTextListFormat &format)
{
    return format.hasProperty(StyleProperty)
        ? QTextListFormat::Style(format.intProperty(StyleProperty))
        : format.style();
}

// The list's style is held beside it: Qt draws no label, the note box draws it.
inline bool styleHeld(const QTextListFormat &format)
{
    return format.hasProperty(StyleProperty);
}

// Call after the format's style is set.
void setStart(QTextListFormat &format, int start);

// The label of a list item as it is shown: prefix, number (from the list's start) and suffix, or
// the fixed text of a list that has no number; empty for bullets and blocks outside lists.
QString itemText(const QTextBlock &block);

} // namespace RtfListFormat
