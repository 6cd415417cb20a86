// The project list as it is kept on disk and in the settings: titles found in the note folder, the
// stored list order, note file names, and the cleaning and checking of a title the user types.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class ProjectStore
{
public:
    // Why a typed title is not taken.
    enum class TitleProblem {
        None,
        TooShort, // cancelled, too short, left at the suggested text, or nothing but spaces left
                  // once cleaned
        TooLong, // its note file name would not fit in a file name
    };

    explicit ProjectStore(const QString &applicationFolder);

    // The folder of the note files (no trailing separator).
    QString notesFolder() const { return m_notesFolder; }
    // The note file of a title, or an empty text when the title has no note file (see hasNoteFile).
    QString notePath(const QString &title) const;

    // The title a file in the note folder stands for: the name up to its first ".rtf". Nothing for
    // a name without ".rtf", nothing for a name with ":" (the stored order would split it in two),
    // and nothing for a name that is not valid text or holds a line break or other control
    // character.
    static std::optional<QString> titleFromFileName(const QString &fileName);

    // The titles of a stored order, or nothing when no order is stored ("na" first, or empty text).
    static std::optional<QStringList> titlesFromOrder(const QString &order);
    // The stored form of a list order: the titles joined by ":", "na" for an empty list.
    static QString orderFromTitles(const QStringList &titles);
    // The list as the window opens: the stored order, then each title of the folder scan that the
    // order does not name, once, in the scan's order (a note file is never left out of the list);
    // the scan alone when no order is stored.
    static QStringList listFromScanAndOrder(
        const QStringList &scanned, const std::optional<QStringList> &stored);

    // The note file name of a title: the title with ".rtf" appended, unless it already ends in
    // ".rtf".
    static QString noteFileName(const QString &title);
    // Whether a title can have a note file at all. An empty title cannot; neither can a title that
    // would name a file outside the note folder ("." or "..", or one with a path separator in it),
    // which only a stored order or a file made outside the program can give.
    static bool hasNoteFile(const QString &title);

    // The typed text without the characters a title may not hold: the forbidden punctuation and
    // every control character. Spaces stay, at either end too.
    static QString cleanTitle(const QString &typed);
    // Checks a typed title and gives the cleaned title in *title when it is taken.
    static TitleProblem checkTypedTitle(const QString &typed, QString *title);

    // The stored order that means "no order stored" (its settings entry:
    // SettingsKeys::projectOrder).
    static const QString noOrderMarker;
    static const QString noteSuffix;

private:
    QString m_notesFolder;
};
