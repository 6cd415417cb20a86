#include "storage/NoteWriter.h"

#include "storage/FileStore.h"
#include "storage/VersionKeeper.h"

#include <QTimer>

#include <algorithm>

namespace {
// How soon the caller's thread looks for ended writes while some are under way.
constexpr int deliveryIntervalMs = 10;
} // namespace

NoteWriter::NoteWriter(FileStore &files, bool ownThread, QObject *parent)
    : QObject(parent)
    , m_files(files)
    , m_deliveryTimer(new QTimer(this))
{
    // The ended writes are fetched by a timer on this thread rather than posted by the writer's
    // thread: every hand-over between the threads goes through m_mutex.
    m_deliveryTimer->setInterval(deliveryIntervalMs);
    connect(m_deliveryTimer, &QTimer::timeout, this, [this] { deliver(); });
    if (ownThread) {
        try {
            m_thread = std::thread([this] { run(); });
        } catch (const std::system_error &) {
            // No thread to be had: every write runs at once, as it did before there was one.
        }
    }
}

NoteWriter::~NoteWriter()
{
    if (m_thread.joinable()) {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
}

NoteWriter::Outcome NoteWriter::perform(const QString &path, const QList<QByteArray> &pieces)
{
    // One piece is shared as it is; several are joined here, off the caller's thread.
    const QByteArray contents = pieces.size() == 1 ? pieces.first() : pieces.join();
    Outcome outcome;
    outcome.path = path;
    outcome.written = m_files.writeFileAtomic(path, contents);
    if (!outcome.written)
        outcome.error = m_files.errorString();
    // The tidying of the earlier versions runs here, on the writer's thread, once the note is
    // safe.
    if (const auto keeper = m_files.versionKeeper())
        keeper->writeEnded();
    return outcome;
}

void NoteWriter::write(const QString &path, QByteArray contents, Done done)
{
    write(path, QList<QByteArray> { std::move(contents) }, std::move(done));
}

void NoteWriter::write(const QString &path, QList<QByteArray> pieces, Done done)
{
    if (!m_thread.joinable()) {
        const Outcome outcome = perform(path, pieces);
        if (done)
            done(outcome);
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        Slot &slot = m_slots[path];
        if (!slot.waiting)
            m_queue.push_back(path);
        // A write that has not started yet is replaced: its content is older than this one.
        slot.waiting = true;
        slot.next = { std::move(pieces), std::move(done) };
    }
    m_changed.notify_all();
    if (!m_deliveryTimer->isActive())
        m_deliveryTimer->start();
}

NoteWriter::Outcome NoteWriter::writeNow(const QString &path, const QByteArray &contents)
{
    Outcome result;
    bool ended = false;
    write(path, contents, [&](const Outcome &outcome) {
        result = outcome;
        ended = true;
    });
    waitFor(path);
    Q_ASSERT(ended);
    return result;
}

bool NoteWriter::busyLocked(const QString *path) const
{
    if (!path)
        return !m_queue.empty()
            || std::any_of(m_slots.cbegin(), m_slots.cend(),
                [](const auto &entry) { return entry.second.running; });
    const auto slot = m_slots.find(*path);
    return slot != m_slots.end() && (slot->second.running || slot->second.waiting);
}

void NoteWriter::waitFor(const QString &path)
{
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !busyLocked(&path); });
    }
    deliver();
}

void NoteWriter::waitForAll()
{
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !busyLocked(nullptr); });
    }
    deliver();
}

void NoteWriter::run()
{
    for (;;) {
        QString path;
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_stopping || !m_queue.empty(); });
            if (m_queue.empty())
                return;
            path = m_queue.front();
            m_queue.pop_front();
            Slot &slot = m_slots[path];
            job = std::move(slot.next);
            slot.waiting = false;
            slot.running = true;
        }
        Outcome outcome = perform(path, job.pieces);
        {
            std::lock_guard lock(m_mutex);
            Slot &slot = m_slots[path];
            slot.running = false;
            if (!slot.waiting)
                m_slots.erase(path);
            m_ended.push_back({ std::move(outcome), std::move(job.done) });
        }
        m_changed.notify_all();
    }
}

void NoteWriter::deliver()
{
    std::vector<Ended> ended;
    bool busy = false;
    {
        std::lock_guard lock(m_mutex);
        ended.swap(m_ended);
        busy = busyLocked(nullptr);
    }
    if (!busy)
        m_deliveryTimer->stop();
    for (const Ended &write : ended)
        if (write.done)
            write.done(write.outcome);
    // Versions of other programs that the writes kept aside are told on this thread.
    m_files.reportOutsideChanges();
}
