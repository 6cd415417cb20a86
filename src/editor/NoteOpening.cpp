#include "editor/NoteOpening.h"

#include "rtf/RtfFirstPart.h"
#include "rtf/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QThread>

NoteOpening::NoteOpening(Read read, const QFont &font)
{
    QThread *target = QThread::currentThread();
    m_thread = std::thread([this, read = std::move(read), font, target] {
        run(read, font, target);
        m_ended = true;
    });
}

NoteOpening::~NoteOpening()
{
    cancel();
    m_thread.join();
}

void NoteOpening::cancel()
{
    m_cancelled = true;
    std::lock_guard lock(m_lock);
    if (m_outcome == Outcome::Opening)
        m_outcome = Outcome::Cancelled;
}

NoteOpening::Outcome NoteOpening::outcome() const
{
    std::lock_guard lock(m_lock);
    return m_outcome;
}

int NoteOpening::percent() const
{
    return m_percent;
}

std::unique_ptr<QTextDocument> NoteOpening::takeDocument(bool *leftOutContent)
{
    std::lock_guard lock(m_lock);
    if (leftOutContent)
        *leftOutContent = m_leftOut;
    return std::move(m_document);
}

std::unique_ptr<QTextDocument> NoteOpening::takeStart()
{
    std::lock_guard lock(m_lock);
    return std::move(m_start);
}

std::unique_ptr<QTextDocument> NoteOpening::build(const QByteArray &rtf, const QFont &font,
    bool *leftOutContent, const std::function<bool(qsizetype)> &progress)
{
    if (leftOutContent)
        *leftOutContent = false;
    if (!RtfReader::looksLikeRtf(rtf))
        return nullptr;
    // A document nobody shows yet: no layout is made while it is built, on whatever thread.
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(font);
    document->setUndoRedoEnabled(false);
    RtfReader reader;
    if (!reader.read(rtf, document.get(), progress))
        return nullptr;
    if (leftOutContent)
        *leftOutContent = reader.leftOutContent();
    document->setUndoRedoEnabled(true);
    // The layout's first pass over every block is made here, off the window's thread: at no
    // width yet, it lays nothing out and starts no timer.
    document->setPageSize(QSizeF(0, 0));
    document->documentLayout();
    return document;
}

void NoteOpening::run(const Read &read, const QFont &font, QThread *target)
{
    const auto end = [this](Outcome outcome) {
        std::lock_guard lock(m_lock);
        if (m_outcome == Outcome::Opening)
            m_outcome = outcome;
    };
    QByteArray rtf;
    if (!read(&rtf)) {
        end(Outcome::NotRead);
        return;
    }
    buildStart(rtf, font, target);
    const qsizetype size = qMax<qsizetype>(1, rtf.size());
    bool leftOut = false;
    std::unique_ptr<QTextDocument> document = build(rtf, font, &leftOut, [&](qsizetype bytesRead) {
        m_percent = int(bytesRead * 100 / size);
        return !m_cancelled;
    });
    if (!document) {
        end(m_cancelled ? Outcome::Cancelled : Outcome::NotRtf);
        return;
    }
    m_percent = 100;
    std::lock_guard lock(m_lock);
    // Nobody is to take it: it is deleted here, on its own thread.
    if (m_outcome != Outcome::Opening)
        return;
    // Only the thread a document belongs to can give it to another.
    document->moveToThread(target);
    m_document = std::move(document);
    m_leftOut = leftOut;
    m_outcome = Outcome::Opened;
}

void NoteOpening::buildStart(const QByteArray &rtf, const QFont &font, QThread *target)
{
    if (!RtfReader::looksLikeRtf(rtf))
        return;
    // Past the first half of the note, the whole is near: no start is worth building then.
    const qsizetype end = RtfFirstPart::end(rtf, startBytes, rtf.size() / 2);
    if (end < 0)
        return;
    std::unique_ptr<QTextDocument> start = build(QByteArray::fromRawData(rtf.constData(), end),
        font, nullptr, [this](qsizetype) { return !m_cancelled; });
    if (!start)
        return;
    std::lock_guard lock(m_lock);
    if (m_outcome != Outcome::Opening)
        return;
    start->moveToThread(target);
    m_start = std::move(start);
}
