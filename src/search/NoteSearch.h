// A search over many notes, off the program's thread: the notes' texts come from the cache, or
// are read from their files once; the matches arrive as they are found, and a new search stops
// the one before it. A search never writes a file.
#pragma once

#include "search/NoteMatcher.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <memory>
#include <optional>

class NoteTextCache;

// One note to search: a project entry's note (row) or a day's note (day).
struct SearchSource
{
    QString label; // the project title or the weekday
    int row = -1; // the list row of a project note
    int day = -1; // the day index of a day note
    QString path; // the note's file, read when text is not given
    std::optional<QString> text; // the note as its box holds it
};

// One match: where it is and the line it is in.
struct SearchHit
{
    QString label;
    int row = -1;
    int day = -1;
    int occurrence = 0; // the match's number in its note, 0 the first
    MatchExcerpt excerpt;
};

class NoteSearch : public QObject
{
    Q_OBJECT
public:
    // Matches past this many are counted but not listed.
    static constexpr int maxListedHits = 1000;

    explicit NoteSearch(std::shared_ptr<NoteTextCache> cache, QObject *parent = nullptr);
    // Stops the scan under way and waits for it to end.
    ~NoteSearch() override;

    // Stops the search under way, and starts this one (none for an empty text).
    void start(const QList<SearchSource> &sources, const QString &needle, SearchOptions options);
    void cancel();
    bool isRunning() const { return m_running; }

signals:
    void hitsFound(const QList<SearchHit> &hits);
    // The search went through every note: all its matches and the notes that hold them.
    void finished(int matches, int notes);

private:
    struct Run;
    struct Progress;
    // Takes runs of notes in turn until none is left; on each scanning thread.
    void scan(const std::shared_ptr<Progress> &progress);
    // Keeps a run's results and passes on, in the notes' order, those of every run done.
    void passOn(const std::shared_ptr<Progress> &progress, qsizetype index, Run run);
    // The note's text: as given, from the cache, or read from its file.
    SearchText textOf(const SearchSource &source) const;
    void deliver(int generation, const QList<SearchHit> &hits, bool done, int matches, int notes);

    std::shared_ptr<NoteTextCache> m_cache;
    QThreadPool m_pool;
    std::shared_ptr<std::atomic_bool> m_cancelled;
    int m_generation = 0;
    bool m_running = false;
};
