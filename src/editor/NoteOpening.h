// One note being opened on a thread of its own: the file is read and its RTF built into a
// document of its own there, so that the window goes on answering while a large note opens. The
// document is handed to the thread that started the opening once it is whole. Everything that
// passes between the threads goes through one mutex.
#pragma once

#include <QByteArray>
#include <QFont>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QTextDocument;
class QThread;

class NoteOpening
{
public:
    // Reads the note's bytes; runs on the opening's thread.
    using Read = std::function<bool(QByteArray *rtf)>;
    enum class Outcome { Opening, Opened, NotRead, NotRtf, Cancelled };

    // Starts reading at once. font is the document's default font (the box's own font and size).
    NoteOpening(Read read, const QFont &font);
    // Stops the reading where it is and waits for its thread.
    ~NoteOpening();

    // Stops the reading where it is; the outcome becomes Cancelled unless it had ended.
    void cancel();
    Outcome outcome() const;
    // How much of the note is read, 0 to 100.
    int percent() const;
    // The thread has ended: the opening can be let go without waiting.
    bool hasEnded() const { return m_ended; }
    // Once Opened: the document, now of the thread that started the opening, and whether the note
    // held content the document cannot show (RtfReader::leftOutContent). Null after the first
    // call.
    std::unique_ptr<QTextDocument> takeDocument(bool *leftOutContent = nullptr);

    // Builds the document of rtf on the calling thread, the way an opening does; null when rtf is
    // not RTF or progress stopped it.
    static std::unique_ptr<QTextDocument> build(const QByteArray &rtf, const QFont &font,
        bool *leftOutContent, const std::function<bool(qsizetype bytesRead)> &progress = {});

private:
    void run(const Read &read, const QFont &font, QThread *target);

    mutable std::mutex m_lock;
    Outcome m_outcome = Outcome::Opening;
    std::unique_ptr<QTextDocument> m_document;
    bool m_leftOut = false;
    std::atomic<bool> m_cancelled { false };
    std::atomic<int> m_percent { 0 };
    std::atomic<bool> m_ended { false };
    std::thread m_thread;
};
