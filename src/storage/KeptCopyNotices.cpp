#include "storage/KeptCopyNotices.h"

#include <QFileInfo>

QString KeptCopyNotices::notReadableText(const QString &shownName, const QString &keptName)
{
    return QStringLiteral("%1 could not be read as a note and is shown empty.  Before anything is "
                          "saved into it, the file is kept as %2 in the same folder.")
        .arg(shownName, QFileInfo(keptName).fileName());
}

QString KeptCopyNotices::broughtInText(const QString &shownName, const QString &keptName)
{
    return QStringLiteral("%1 holds content that Quillmark cannot keep as it is (footnotes, "
                          "comments, text boxes, headers and footers or pictures).  The file as "
                          "it was is kept as %2 in the same folder.")
        .arg(shownName, QFileInfo(keptName).fileName());
}
