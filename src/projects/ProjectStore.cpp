#include "projects/ProjectStore.h"

#include "storage/FileStore.h"

#include <QSet>

#include <algorithm>

const QString ProjectStore::noOrderMarker = QStringLiteral("na");
const QString ProjectStore::noteSuffix = QStringLiteral(".rtf");

namespace {
const QChar separator = QLatin1Char(':');
// Removed from a typed title, in this order.
const QString forbiddenCharacters = QStringLiteral(";:'\"|\\]}[{`~!@#$%^&*()-=+,<.>/?");
} // namespace

ProjectStore::ProjectStore(const QString &applicationFolder)
    : m_notesFolder(applicationFolder + QStringLiteral("/todolist"))
{ }

QString ProjectStore::notePath(const QString &title) const
{
    if (!hasNoteFile(title))
        return QString();
    return m_notesFolder + QLatin1Char('/') + noteFileName(title);
}

std::optional<QString> ProjectStore::titleFromFileName(const QString &fileName)
{
    const qsizetype at = fileName.indexOf(noteSuffix);
    if (at < 0 || fileName.contains(separator))
        return std::nullopt;
    // A name that is not valid in the file system's encoding (read back with replacement
    // characters) would name another file when written; a line break or other control character
    // cannot be shown on one line of the list. Such files stay on disk, unlisted.
    for (const QChar c : fileName)
        if (c == QChar::ReplacementCharacter || c.category() == QChar::Other_Control)
            return std::nullopt;
    return fileName.left(at);
}

std::optional<QStringList> ProjectStore::titlesFromOrder(const QString &order)
{
    if (order.isEmpty())
        return std::nullopt;
    QStringList titles = order.split(separator, Qt::KeepEmptyParts);
    if (titles.first() == noOrderMarker)
        return std::nullopt;
    return titles;
}

QString ProjectStore::orderFromTitles(const QStringList &titles)
{
    // A list of one empty title joins to nothing, which would read back as a list of none.
    const QString joined = titles.join(separator);
    return joined.isEmpty() ? noOrderMarker : joined;
}

QStringList ProjectStore::listFromScanAndOrder(
    const QStringList &scanned, const std::optional<QStringList> &stored)
{
    if (!stored)
        return scanned;
    QStringList titles = *stored;
    QSet<QString> held(titles.cbegin(), titles.cend());
    for (const QString &title : scanned) {
        if (held.contains(title))
            continue;
        held.insert(title);
        titles.append(title);
    }
    return titles;
}

QString ProjectStore::noteFileName(const QString &title)
{
    if (title.endsWith(noteSuffix))
        return title;
    return title + noteSuffix;
}

bool ProjectStore::hasNoteFile(const QString &title)
{
    if (title.isEmpty() || title == QLatin1String(".") || title == QLatin1String(".."))
        return false;
    return !title.contains(QLatin1Char('/')) && !title.contains(QLatin1Char('\\'))
        && !title.contains(QChar(0));
}

QString ProjectStore::cleanTitle(const QString &typed)
{
    QString title = typed;
    for (const QChar c : forbiddenCharacters)
        title.remove(c);
    // A line break, a tab or another control character (a pasted title) would keep the note out
    // of the folder scan, and so out of the list.
    title.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return title;
}

ProjectStore::TitleProblem ProjectStore::checkTypedTitle(const QString &typed, QString *title)
{
    // A character outside the Basic Multilingual Plane is one character, though two UTF-16 units.
    const qsizetype characters = typed.toUcs4().size();
    if (characters < 2 || typed == QLatin1String("0") || typed == QLatin1String("Title"))
        return TitleProblem::TooShort;
    const QString cleaned = cleanTitle(typed);
    // "na" first in the stored order would make the next start ignore the whole order. A title of
    // spaces alone shows as an empty entry.
    const bool onlySpaces
        = std::all_of(cleaned.cbegin(), cleaned.cend(), [](QChar c) { return c.isSpace(); });
    if (onlySpaces || cleaned == noOrderMarker)
        return TitleProblem::TooShort;
    if (noteFileName(cleaned).toUtf8().size() > FileStore::maxFileNameBytes)
        return TitleProblem::TooLong;
    if (title)
        *title = cleaned;
    return TitleProblem::None;
}
