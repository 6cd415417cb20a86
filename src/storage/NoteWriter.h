// Writes note and day files on a thread of its own, so that typing never waits for the disk. Per
// file at most one write runs and one waits: a newer content replaces the waiting one, and a file
// never gets an older content after a newer. What a write ended with reaches its caller on the
// caller's thread: soon, from the event loop, or at once from waitFor(), which everything that must
// know a file is on disk calls first. Without a thread of its own (tests, and while none can be
// started) every write runs at once on the caller's thread.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

class FileStore;
class QTimer;

class NoteWriter : public QObject
{
    Q_OBJECT
public:
    struct Outcome
    {
        QString path;
        bool written = false;
        QString error; // why it failed; empty when it did not
    };
    using Done = std::function<void(const Outcome &)>;

    NoteWriter(FileStore &files, bool ownThread, QObject *parent = nullptr);
    // Finishes the writes already queued first: nothing reported as queued is dropped.
    ~NoteWriter() override;

    // Queues a write of contents to path. done runs on this object's thread once the write has
    // ended, unless a newer write of the same file replaced this one before it started (then only
    // the newer one's done runs).
    void write(const QString &path, QByteArray contents, Done done);
    // The same for content given as pieces that follow one another; they are joined on the
    // writer's thread, so a large note is not copied on the caller's.
    void write(const QString &path, QList<QByteArray> pieces, Done done);
    // Writes at once, after whatever of this file waits, and tells how it went.
    Outcome writeNow(const QString &path, const QByteArray &contents);
    // Waits until no write of path is queued or running, and runs the done of every write that
    // has ended.
    void waitFor(const QString &path);
    void waitForAll();
    bool hasOwnThread() const { return m_thread.joinable(); }

private:
    struct Job
    {
        QList<QByteArray> pieces;
        Done done;
    };
    struct Slot
    {
        bool running = false;
        bool waiting = false;
        Job next;
    };
    struct Ended
    {
        Outcome outcome;
        Done done;
    };
    void run();
    Outcome perform(const QString &path, const QList<QByteArray> &pieces);
    // Runs the done of every write that has ended, in the order they ended.
    void deliver();
    bool busyLocked(const QString *path) const;

    FileStore &m_files;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::unordered_map<QString, Slot> m_slots;
    std::deque<QString> m_queue; // files with a waiting write, in the order they were queued
    std::vector<Ended> m_ended;
    bool m_stopping = false;
    std::thread m_thread;
    QTimer *m_deliveryTimer = nullptr;
};
