// The notices that tell the user a note or day file is kept under a hidden name beside it before
// a save replaces it, shared by the project notes and the day notes.
#pragma once

#include <QString>

class KeptCopyNotices
{
public:
    // The tag of the copy of a file that could not be read: ".Plan.rtf.unreadable-1".
    static QString unreadableTag() { return QStringLiteral("unreadable"); }
    // The tag of the copy of a file that holds content a note cannot show: ".Plan.rtf.original-1".
    static QString broughtInTag() { return QStringLiteral("original"); }

    // A file that could not be read is shown as an empty note; keptName is the name its copy will
    // get. shownName is the note's title, or the day file's name.
    static QString notReadableCaption() { return QStringLiteral("Note Not Readable"); }
    static QString notReadableText(const QString &shownName, const QString &keptName);

    // A file holding content a note cannot keep as it is (footnotes, comments and text boxes, which
    // a save writes as the note's own text; headers and footers; some pictures) was kept as
    // keptName before the first save replaced it.
    static QString broughtInCaption() { return QStringLiteral("Kept As Brought In"); }
    static QString broughtInText(const QString &shownName, const QString &keptName);
};
