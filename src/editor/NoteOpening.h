// One note being opened on a thread of its own: the file is read and its RTF built into a
// document of its own there, so that the window goes on answering while a large note opens. A
// large note's first paragraphs are built first into a document of their own, handed over at once
// so that the box can show its first screen; the whole document is handed to the thread that
// started the opening once it is whole. Everything that passes between the threads goes through
// one mutex.
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
    // The note's first paragraphs, built before the rest, as soon as they are; null before, after
    // the first call, and for a note too small to be worth it. It looks as the start of the whole
    // document does, and is for showing only: it is not the note.
    std::unique_ptr<QTextDocument> takeStart();

    // The RTF read into the start: about this many bytes, up to the end of a paragraph.
    static constexpr qsizetype startBytes = 64 * 1024;

    // Builds the document of rtf on the calling thread, the way an opening does; null when rtf is
    // not RTF or progress stopped it.
    static std::unique_ptr<QTextDocument> build(const QByteArray &rtf, const QFont &font,
        bool *leftOutContent, const std::function<bool(qsizetype bytesRead)> &progress = {});

private:
    void run(const Read &read, const QFont &font, QThread *target);
    void buildStart(const QByteArray &rtf, const QFont &font, QThread *target);

    mutable std::mutex m_lock;
    Outcome m_outcome = Outcome::Opening;
    std::unique_ptr<QTextDocument> m_document;
    std::unique_ptr<QTextDocument> m_start;
    bool m_leftOut = false;
    std::atomic<bool> m_cancelled { false };
    std::atomic<int> m_percent { 0 };
    std::atomic<bool> m_ended { false };
    std::thread m_thread;
};
