// The note writer's thread on its own: the order of the writes of one file, a newer content taking
// the place of a waiting one, and a failure that reaches the caller with its reason.
#include "storage/NoteWriter.h"
#include "support/FaultyFileStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <condition_variable>
#include <mutex>

namespace {
// A store whose writes wait at a gate until the test opens it, and which lists what it wrote.
class GatedStore : public FileStore
{
public:
    bool writeFileAtomic(const QString &path, const QByteArray &contents) override
    {
        {
            std::unique_lock lock(m_mutex);
            ++m_entered;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return m_open; });
            written.append(contents);
        }
        return FileStore::writeFileAtomic(path, contents);
    }
    void waitUntilWriting()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_entered > 0; });
    }
    void open()
    {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_changed.notify_all();
    }
    QList<QByteArray> written; // read once the writer has ended its writes

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_entered = 0;
    bool m_open = false;
};
} // namespace

class NoteWriterTest : public QObject
{
    Q_OBJECT
private slots:
    void newerContentTakesThePlaceOfTheWaitingOne();
    void failedWriteReachesTheCallerWithItsReason();
};

void NoteWriterTest::newerContentTakesThePlaceOfTheWaitingOne()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Plan.rtf");
    GatedStore store;
    NoteWriter writer(store, true);
    QVERIFY(writer.hasOwnThread());
    QStringList ended;
    const auto log = [&ended](const char *content) {
        return [&ended, content](const NoteWriter::Outcome &outcome) {
            ended.append(QString::fromLatin1(content) + (outcome.written ? " written" : " failed"));
        };
    };
    writer.write(path, "first", log("first"));
    store.waitUntilWriting();
    writer.write(path, "second", log("second"));
    writer.write(path, "third", log("third"));
    store.open();
    writer.waitFor(path);
    QCOMPARE(store.written, (QList<QByteArray> { "first", "third" }));
    QCOMPARE(ended, (QStringList { "first written", "third written" }));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("third"));
}

void NoteWriterTest::failedWriteReachesTheCallerWithItsReason()
{
    QTemporaryDir dir;
    FaultyFileStore store;
    store.failAllWrites = true;
    NoteWriter writer(store, true);
    NoteWriter::Outcome outcome;
    writer.write(dir.filePath("Plan.rtf"), "text",
        [&outcome](const NoteWriter::Outcome &ended) { outcome = ended; });
    QTRY_COMPARE(outcome.error, QStringLiteral("No space left on device"));
    QVERIFY(!outcome.written);
}

QTEST_GUILESS_MAIN(NoteWriterTest)
#include "tst_notewriter.moc"
