#include "editor/DocumentDisposal.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>

DocumentDisposal::~DocumentDisposal()
{
    if (!m_bin)
        return;
    waitForDone();
    m_thread.quit();
    m_thread.wait();
}

void DocumentDisposal::dispose(std::unique_ptr<QTextDocument> document)
{
    if (!document || document->characterCount() < threadedCharacters)
        return;
    // Nothing on this thread hears from it any more.
    document->documentLayout()->disconnect();
    document->disconnect();
    if (!m_bin) {
        m_bin = new QObject;
        m_bin->moveToThread(&m_thread);
        QObject::connect(&m_thread, &QThread::finished, m_bin, &QObject::deleteLater);
        m_thread.setObjectName(QStringLiteral("DocumentDisposal"));
        m_thread.start(QThread::LowestPriority);
    }
    {
        std::lock_guard lock(m_lock);
        ++m_pending;
    }
    QTextDocument *going = document.release();
    // Its layout's timers go with it and are stopped on that thread when it is deleted there.
    going->moveToThread(&m_thread);
    QMetaObject::invokeMethod(
        m_bin,
        [this, going] {
            delete going;
            std::lock_guard lock(m_lock);
            --m_pending;
            m_deleted.notify_all();
        },
        Qt::QueuedConnection);
}

void DocumentDisposal::waitForDone()
{
    std::unique_lock lock(m_lock);
    m_deleted.wait(lock, [this] { return m_pending == 0; });
}
