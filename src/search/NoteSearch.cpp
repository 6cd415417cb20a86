#include "search/NoteSearch.h"

#include "search/NoteText.h"
#include "search/NoteTextCache.h"

#include <QElapsedTimer>
#include <QFile>

namespace {
// Matches go to the window in batches, at most this often, so that it stays responsive.
constexpr qint64 deliveryIntervalMs = 100;
} // namespace

struct NoteSearch::Progress
{
    int generation;
    QList<SearchSource> sources;
    NoteMatcher matcher;
    std::shared_ptr<std::atomic_bool> cancelled;
};

NoteSearch::NoteSearch(std::shared_ptr<NoteTextCache> cache, QObject *parent)
    : QObject(parent)
    , m_cache(std::move(cache))
{
    // One scan at a time: a stopped scan ends before the next one starts.
    m_pool.setMaxThreadCount(1);
}

NoteSearch::~NoteSearch()
{
    cancel();
    m_pool.waitForDone();
}

void NoteSearch::cancel()
{
    if (m_cancelled)
        *m_cancelled = true;
    m_cancelled.reset();
    ++m_generation;
    m_running = false;
}

void NoteSearch::start(
    const QList<SearchSource> &sources, const QString &needle, SearchOptions options)
{
    cancel();
    if (needle.isEmpty())
        return;
    m_cancelled = std::make_shared<std::atomic_bool>(false);
    m_running = true;
    auto progress = std::make_shared<Progress>(
        Progress { m_generation, sources, NoteMatcher(needle, options), m_cancelled });
    m_pool.start([this, progress] { scan(progress); });
}

void NoteSearch::scan(const std::shared_ptr<Progress> &progress)
{
    QList<SearchHit> batch;
    int matches = 0;
    int notes = 0;
    int listed = 0;
    QElapsedTimer sinceDelivery;
    sinceDelivery.start();
    for (const SearchSource &source : std::as_const(progress->sources)) {
        if (*progress->cancelled)
            return;
        SearchText text;
        if (source.text) {
            text = SearchText::from(*source.text);
        } else if (const auto stamp = NoteTextCache::stampOf(source.path)) {
            if (auto kept = m_cache->find(source.path, *stamp)) {
                text = std::move(*kept);
            } else {
                // Read, never written: the file store's memory of what the program read and wrote
                // is left alone, so that its checks for outside changes keep their meaning.
                QFile file(source.path);
                if (!file.open(QIODevice::ReadOnly))
                    continue;
                text = SearchText::from(NoteText::fromRtf(file.readAll()));
                m_cache->insert(source.path, *stamp, text);
            }
        }
        int inNote = 0;
        progress->matcher.find(text, [&](qsizetype position) {
            if (listed < maxListedHits) {
                batch.append(SearchHit { source.label, source.row, source.day, inNote,
                    NoteMatcher::excerpt(text, position, progress->matcher.byteLength()) });
                ++listed;
            }
            ++inNote;
            return true;
        });
        if (inNote > 0) {
            matches += inNote;
            ++notes;
        }
        if (!batch.isEmpty() && sinceDelivery.elapsed() >= deliveryIntervalMs) {
            deliver(progress->generation, batch, false, matches, notes);
            batch.clear();
            sinceDelivery.restart();
        }
    }
    if (!*progress->cancelled)
        deliver(progress->generation, batch, true, matches, notes);
}

void NoteSearch::deliver(
    int generation, const QList<SearchHit> &hits, bool done, int matches, int notes)
{
    // Runs on the program's thread; a batch of a search that was stopped meanwhile is dropped.
    QMetaObject::invokeMethod(
        this,
        [this, generation, hits, done, matches, notes] {
            if (generation != m_generation)
                return;
            if (!hits.isEmpty())
                emit hitsFound(hits);
            if (done) {
                m_running = false;
                emit finished(matches, notes);
            }
        },
        Qt::QueuedConnection);
}
