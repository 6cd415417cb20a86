// Deletes the documents a box lets go on a thread of its own: freeing the blocks and layouts of a
// note of many megabytes holds a thread for a fifth of a second and more, which the window's
// thread is spared. A document is handed over only once nothing on the window's thread refers to
// it any more (no cursor, highlight, pacer or connection).
#pragma once

#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>

class QTextDocument;

class DocumentDisposal
{
public:
    DocumentDisposal() = default;
    // Waits until the documents handed over are deleted.
    ~DocumentDisposal();
    DocumentDisposal(const DocumentDisposal &) = delete;
    DocumentDisposal &operator=(const DocumentDisposal &) = delete;

    // Deletes document: a small one at once, a large one on the disposal's thread. It must belong
    // to the calling thread and have no parent.
    void dispose(std::unique_ptr<QTextDocument> document);
    // Waits until the documents handed over are deleted.
    void waitForDone();

    // From this many characters on a document goes to the thread; below, deleting it costs well
    // under a millisecond.
    static constexpr int threadedCharacters = 100000;

private:
    QThread m_thread;
    // Lives on m_thread: the deletions are run there through it.
    QObject *m_bin = nullptr;
    std::mutex m_lock;
    std::condition_variable m_deleted;
    int m_pending = 0;
};
