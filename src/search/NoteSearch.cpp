#include "search/NoteSearch.h"

#include "search/NoteText.h"
#include "search/NoteTextCache.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <mutex>
#include <vector>

namespace {
// Matches go to the window in batches, at most this often, so that it stays responsive.
constexpr qint64 deliveryIntervalMs = 100;
// The notes are scanned in runs of this many, taken in turn by the scanning threads, and their
// matches passed on in the notes' order.
constexpr qsizetype notesPerRun = 64;
// Reading and parsing notes keeps a core busy: two share the work where there are two.
constexpr int scanThreads = 2;
} // namespace

struct NoteSearch::Run
{
    QList<SearchHit> hits; // its first matches, as many as may still be listed
    int matches = 0;
    int notes = 0;
    bool done = false;
};

struct NoteSearch::Progress
{
    int generation;
    QList<SearchSource> sources;
    NoteMatcher matcher;
    std::shared_ptr<std::atomic_bool> cancelled;
    std::atomic<qsizetype> nextRun { 0 };
    // The matches listed so far, in the notes' order: a run begun after the list is full builds
    // no excerpts.
    std::atomic<int> listed { 0 };

    // Under lock: the runs' results, and those passed on in order.
    std::mutex lock;
    std::vector<Run> runs;
    qsizetype passedOn = 0;
    QList<SearchHit> batch;
    int matches = 0;
    int notes = 0;
    QElapsedTimer sinceDelivery;
};

NoteSearch::NoteSearch(std::shared_ptr<NoteTextCache> cache, QObject *parent)
    : QObject(parent)
    , m_cache(std::move(cache))
{
    // A stopped scan's threads end at their next note; the next scan's wait for them.
    m_pool.setMaxThreadCount(std::clamp(QThread::idealThreadCount(), 1, scanThreads));
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
        m_generation, sources, NoteMatcher(needle, options), m_cancelled);
    progress->runs.resize(std::max<qsizetype>(1, (sources.size() + notesPerRun - 1) / notesPerRun));
    progress->sinceDelivery.start();
    for (int i = 0; i < m_pool.maxThreadCount(); ++i)
        m_pool.start([this, progress] { scan(progress); });
}

SearchText NoteSearch::textOf(const SearchSource &source) const
{
    if (source.text)
        return SearchText::from(*source.text);
    const auto stamp = NoteTextCache::stampOf(source.path);
    if (!stamp)
        return {};
    if (auto kept = m_cache->find(source.path, *stamp))
        return std::move(*kept);
    // Read, never written: the file store's memory of what the program read and wrote is left
    // alone, so that its checks for outside changes keep their meaning.
    QFile file(source.path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    SearchText text = SearchText::from(NoteText::fromRtf(file.readAll()));
    m_cache->insert(source.path, *stamp, text);
    return text;
}

void NoteSearch::scan(const std::shared_ptr<Progress> &progress)
{
    const qsizetype sourceCount = progress->sources.size();
    for (;;) {
        const qsizetype index = progress->nextRun++;
        if (index >= qsizetype(progress->runs.size()) || *progress->cancelled)
            return;
        Run run;
        const qsizetype end = std::min(sourceCount, (index + 1) * notesPerRun);
        for (qsizetype i = index * notesPerRun; i < end; ++i) {
            if (*progress->cancelled)
                return;
            const SearchSource &source = progress->sources.at(i);
            const SearchText text = textOf(source);
            int inNote = 0;
            progress->matcher.find(text, [&](qsizetype position) {
                if (progress->listed + run.hits.size() < maxListedHits)
                    run.hits.append(SearchHit { source.label, source.row, source.day, inNote,
                        NoteMatcher::excerpt(text, position, progress->matcher.byteLength()) });
                ++inNote;
                return true;
            });
            if (inNote > 0) {
                run.matches += inNote;
                ++run.notes;
            }
        }
        run.done = true;
        passOn(progress, index, std::move(run));
    }
}

void NoteSearch::passOn(const std::shared_ptr<Progress> &progress, qsizetype index, Run run)
{
    std::lock_guard lock(progress->lock);
    progress->runs[index] = std::move(run);
    std::vector<Run> &runs = progress->runs;
    while (progress->passedOn < qsizetype(runs.size()) && runs[progress->passedOn].done) {
        Run &next = runs[progress->passedOn++];
        for (SearchHit &hit : next.hits) {
            if (progress->listed >= maxListedHits)
                break;
            progress->batch.append(std::move(hit));
            ++progress->listed;
        }
        progress->matches += next.matches;
        progress->notes += next.notes;
        next = Run { {}, 0, 0, true };
    }
    const bool done = progress->passedOn == qsizetype(runs.size());
    if (done && *progress->cancelled)
        return;
    if (done
        || (!progress->batch.isEmpty()
            && progress->sinceDelivery.elapsed() >= deliveryIntervalMs)) {
        deliver(progress->generation, progress->batch, done, progress->matches, progress->notes);
        progress->batch.clear();
        progress->sinceDelivery.restart();
    }
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
