// A note opened into a document of its own, on the program's thread (loadRtf) or on a thread of
// its own (openNote): the box shows exactly what the reader makes of the file, and an opening
// stopped half-way leaves the box as it was.
#include "editor/RichTextBox.h"
#include "support/DocumentDump.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSemaphore>
#include <QSignalSpy>
#include <QtTest>

namespace {
QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
// A note of as many paragraphs as lines, each the line given.
QByteArray noteOfLines(int lines, const QByteArray &line)
{
    QByteArray rtf = "{\\rtf1 ";
    for (int paragraph = 0; paragraph < lines; ++paragraph)
        rtf += line + "\\par\n";
    return rtf + "}";
}
// Tells on which thread the object it is given to is deleted.
class DeletionWitness : public QObject
{
public:
    DeletionWitness(QObject *watched, QThread **deletedOn)
        : QObject(watched)
        , m_deletedOn(deletedOn)
    { }
    ~DeletionWitness() override { *m_deletedOn = QThread::currentThread(); }

private:
    QThread **m_deletedOn;
};
} // namespace

class NoteOpeningTest : public QObject
{
    Q_OBJECT
private slots:
    void openedNoteIsTheGoldenDocument_data();
    void openedNoteIsTheGoldenDocument();
    void stoppedOpeningLeavesTheBoxAsItWas();
    void startOfALargeNoteShowsUntilTheWholeIsIn();
    void largeNoteIsLaidOutToItsEndInSlices();
    void noteTallerThanQtCanMeasureKeepsItsScrollBar();
    void largeNoteLeftIsDeletedOffTheBoxThread_data();
    void largeNoteLeftIsDeletedOffTheBoxThread();
    void disabledBoxShowsTheOpeningNoteInItsOwnColours();
};

void NoteOpeningTest::openedNoteIsTheGoldenDocument_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("inBackground");
    const QDir dir(QStringLiteral(QUILLMARK_TEST_DATA "/rtf"));
    for (const QString &file : dir.entryList({ QStringLiteral("*.rtf") }, QDir::Files)) {
        QTest::addRow("%s at once", qPrintable(file)) << dir.filePath(file) << false;
        QTest::addRow("%s in the background", qPrintable(file)) << dir.filePath(file) << true;
    }
}

void NoteOpeningTest::openedNoteIsTheGoldenDocument()
{
    QFETCH(QString, path);
    QFETCH(bool, inBackground);
    RichTextBox box;
    // Wide enough that no table is shrunk to fit.
    box.resize(4000, 400);
    box.show();
    box.setText(QStringLiteral("the note shown before"));
    if (inBackground) {
        QSignalSpy opened(&box, &RichTextBox::noteOpened);
        box.openNote([path](QByteArray *rtf) {
            *rtf = readFile(path);
            return true;
        });
        QTRY_COMPARE(opened.size(), 1);
        QCOMPARE(opened.first().first().toBool(), true);
    } else {
        QVERIFY(box.loadRtf(readFile(path)));
    }
    const QString golden
        = QString::fromUtf8(readFile(path.left(path.size() - 4) + QStringLiteral(".dump")));
    QCOMPARE(dumpDocument(*box.document()), golden);
    QCOMPARE(box.textCursor().position(), 0);
    QVERIFY(!box.document()->isUndoAvailable());
}

void NoteOpeningTest::stoppedOpeningLeavesTheBoxAsItWas()
{
    RichTextBox box;
    box.show();
    box.setText(QStringLiteral("kept"));
    QSignalSpy opened(&box, &RichTextBox::noteOpened);
    QSemaphore reading;
    box.openNote([&reading](QByteArray *rtf) {
        reading.acquire();
        *rtf = QByteArray("{\\rtf1 replaced}");
        return true;
    });
    QVERIFY(box.isOpening());
    QTest::keyClicks(&box, "x");
    box.cancelOpening();
    reading.release();
    QTest::qWait(100);
    QVERIFY(opened.isEmpty());
    QCOMPARE(box.toPlainText(), QStringLiteral("kept"));
}

void NoteOpeningTest::startOfALargeNoteShowsUntilTheWholeIsIn()
{
    RichTextBox box;
    box.show();
    box.setText(QStringLiteral("before"));
    const QByteArray rtf = noteOfLines(40000, "A line of a note that takes a while to open.");
    QSignalSpy opened(&box, &RichTextBox::noteOpened);
    box.openNote([rtf](QByteArray *read) {
        *read = rtf;
        return true;
    });
    QTRY_VERIFY(box.toPlainText().startsWith(QStringLiteral("A line")));
    QVERIFY(box.isOpening());
    const QString start = box.toPlainText();
    QTest::keyClicks(&box, "x");
    QCOMPARE(box.toPlainText(), start);
    QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 1, 60000);
    QCOMPARE(box.document()->blockCount(), 40000);
    QVERIFY(start.size() < box.toPlainText().size());
    // The scroll bar of the start stays, and is let go to follow the whole.
    QVERIFY(box.verticalScrollBar()->isVisible());
    QTRY_COMPARE(box.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
}

void NoteOpeningTest::largeNoteIsLaidOutToItsEndInSlices()
{
    RichTextBox box;
    box.resize(500, 300);
    box.show();
    const QByteArray rtf
        = noteOfLines(8000, "A line of a long note, long enough to wrap in a narrow box.");
    QVERIFY(box.loadRtf(rtf));
    const LayoutPacer *pacer = box.findChild<LayoutPacer *>();
    QVERIFY(pacer && pacer->isPacing());
    // Typed and narrowed while the layout goes on.
    QTest::keyClicks(&box, "x");
    box.resize(400, 300);
    QTRY_VERIFY(!pacer->isPacing());
    QScrollBar *bar = box.verticalScrollBar();
    const qreal height = box.document()->documentLayout()->documentSize().height();
    QTRY_COMPARE(bar->maximum(), qCeil(height) - box.viewport()->height());
    QVERIFY(box.toPlainText().startsWith(QStringLiteral("xA line")));
}

void NoteOpeningTest::noteTallerThanQtCanMeasureKeepsItsScrollBar()
{
    RichTextBox box;
    box.resize(400, 300);
    box.show();
    const QByteArray rtf = noteOfLines(100, "A line of a note.");
    QVERIFY(box.loadRtf(rtf));
    QScrollBar *bar = box.verticalScrollBar();
    QTRY_VERIFY(bar->isVisible());
    bar->setValue(bar->maximum() / 2);
    const int scrolled = bar->value();
    // A note of about 1.5 million lines takes Qt most of a minute to lay out: its layout's report
    // of the part laid out so far stands in for it.
    QAbstractTextDocumentLayout *layout = box.document()->documentLayout();
    emit layout->documentSizeChanged(QSizeF(box.viewport()->width(), 30e6));
    QCOMPARE(bar->maximum(), 30'000'000 - box.viewport()->height());
    QCOMPARE(bar->value(), scrolled);
    QTest::qWait(50);
    QVERIFY(bar->isVisible());
    QCOMPARE(box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void NoteOpeningTest::largeNoteLeftIsDeletedOffTheBoxThread_data()
{
    QTest::addColumn<bool>("emptied");
    QTest::newRow("another note shown") << false;
    QTest::newRow("box emptied") << true;
}

void NoteOpeningTest::largeNoteLeftIsDeletedOffTheBoxThread()
{
    QFETCH(bool, emptied);
    RichTextBox box;
    box.show();
    const QByteArray rtf = noteOfLines(4000, "A line of a long note, with a word to find in it.");
    QVERIFY(box.loadRtf(rtf));
    QTextEdit::ExtraSelection found;
    found.cursor = box.document()->find(QStringLiteral("word"));
    box.setHighlights(RichTextBox::FindHighlights, { found });
    QThread *deletedOn = nullptr;
    new DeletionWitness(box.document(), &deletedOn);
    if (emptied)
        box.setText(QStringLiteral("after"));
    else
        QVERIFY(box.loadRtf("{\\rtf1 after\\par}"));
    box.waitForDisposedDocuments();
    QVERIFY(deletedOn);
    QVERIFY(deletedOn != box.thread());
    QCOMPARE(box.toPlainText().trimmed(), QStringLiteral("after"));
}

void NoteOpeningTest::disabledBoxShowsTheOpeningNoteInItsOwnColours()
{
    QSemaphore reading;
    RichTextBox box;
    box.show();
    box.setEnabled(false);
    const QPalette before = box.palette();
    // Lets the reading end before the box waits for it, whatever the checks find.
    const auto readingEnds = qScopeGuard([&reading] { reading.release(); });
    box.openNote([&reading](QByteArray *rtf) {
        reading.acquire();
        *rtf = QByteArray("{\\rtf1 opened}");
        return true;
    });
    for (const QPalette::ColorRole role : { QPalette::Text, QPalette::Base, QPalette::Highlight })
        QCOMPARE(
            box.palette().color(QPalette::Disabled, role), before.color(QPalette::Active, role));
    reading.release();
    QTRY_VERIFY(!box.isOpening());
    QCOMPARE(box.palette(), before);
}

QTEST_MAIN(NoteOpeningTest)
#include "tst_noteopening.moc"
