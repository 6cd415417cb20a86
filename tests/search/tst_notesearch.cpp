// The search over notes without a window: the match rules, the text read from RTF, the cache of
// the files' texts and the stopping of a scan.
#include "search/ByteFinder.h"
#include "search/NoteMatcher.h"
#include "search/NoteSearch.h"
#include "search/NoteText.h"
#include "search/NoteTextCache.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {
int countMatches(const QString &text, const QString &needle, SearchOptions options)
{
    int count = 0;
    NoteMatcher(needle, options).find(text, [&](qsizetype) { return ++count, true; });
    return count;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray rtf(const QByteArray &body)
{
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 " + body + "}";
}
} // namespace

class TestNoteSearch : public QObject
{
    Q_OBJECT
private slots:
    void matchRules_data();
    void matchRules();
    void textOfRtf_data();
    void textOfRtf();
    void byteFinderFindsEveryPlace_data();
    void byteFinderFindsEveryPlace();
    void changedFileFoundAgain();
    void hitsListedInNoteOrder();
    void newSearchStopsTheOld();

private:
    struct Run
    {
        QList<SearchHit> hits;
        int matches = -1;
        int notes = -1;
    };
    static Run runSearch(NoteSearch &search, const QList<SearchSource> &sources,
        const QString &needle, SearchOptions options = {});
};

void TestNoteSearch::matchRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<int>("expected");
    QTest::newRow("any case") << "Plan plan PLAN planet"
                              << "plan" << false << false << 4;
    QTest::newRow("match case") << "Plan plan PLAN planet"
                                << "plan" << true << false << 2;
    QTest::newRow("whole words") << "Plan plan PLAN planet"
                                 << "plan" << false << true << 3;
    QTest::newRow("both") << "Plan plan PLAN planet"
                          << "plan" << true << true << 1;
    QTest::newRow("word edge at punctuation") << "(plan), plan_b, 3plan"
                                              << "plan" << false << true << 1;
    QTest::newRow("accented letters fold") << "Éclair éclair"
                                           << "éclair" << false << false << 2;
}

void TestNoteSearch::matchRules()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWords);
    QFETCH(int, expected);
    QCOMPARE(countMatches(text, needle, { matchCase, wholeWords }), expected);
}

void TestNoteSearch::textOfRtf_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("paragraphs") << rtf("one\\par two\\par\\par three") << "one\ntwo\n\nthree";
    QTest::newRow("line break and tab") << rtf("a\\line b\\tab c") << "a\nb\tc";
    QTest::newRow("code page and unicode")
        << rtf("caf\\'e9 \\u8364?5") << QStringLiteral("café €5");
    QTest::newRow("table cells on one line")
        << rtf("\\trowd\\cellx1000\\cellx2000\\intbl Apple\\cell Pear\\cell\\row after")
        << "Apple\tPear\nafter";
    QTest::newRow("picture left out") << rtf("x{\\pict\\pngblip 89504e47}y") << "xy";
    QTest::newRow("hidden text left out") << rtf("shown{\\v hidden}") << "shown";
    QTest::newRow("not RTF") << QByteArray("plain words") << QString();
}

void TestNoteSearch::textOfRtf()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(NoteText::fromRtf(rtf), text);
}

void TestNoteSearch::byteFinderFindsEveryPlace_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("needle");
    const QByteArray filler(37, '.');
    QTest::newRow("one byte") << filler + "z" + filler + "z" << QByteArray("z");
    QTest::newRow("two bytes") << filler + "ab" + filler + "ab" << QByteArray("ab");
    QTest::newRow("across sixteen")
        << QByteArray(14, '.') + "zebra" + filler << QByteArray("zebra");
    QTest::newRow("ends and middle")
        << "zebra" + filler + "zeb-a" + filler + "zebra" << QByteArray("zebra");
    QTest::newRow("overlapping") << QByteArray(40, 'a') << QByteArray("aaa");
    QTest::newRow("longer than the text") << QByteArray("zeb") << QByteArray("zebra");
}

void TestNoteSearch::byteFinderFindsEveryPlace()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, needle);
    const ByteFinder finder(needle);
    for (qsizetype from = 0; from <= text.size(); ++from)
        QCOMPARE(finder.indexIn(text.constData(), text.size(), from), text.indexOf(needle, from));
}

TestNoteSearch::Run TestNoteSearch::runSearch(NoteSearch &search,
    const QList<SearchSource> &sources, const QString &needle, SearchOptions options)
{
    Run run;
    auto hits = connect(&search, &NoteSearch::hitsFound, &search,
        [&](const QList<SearchHit> &found) { run.hits += found; });
    auto done = connect(&search, &NoteSearch::finished, &search, [&](int matches, int notes) {
        run.matches = matches;
        run.notes = notes;
    });
    search.start(sources, needle, options);
    if (!QTest::qWaitFor([&] { return !search.isRunning(); }, 5000))
        qWarning("the search did not end");
    disconnect(hits);
    disconnect(done);
    return run;
}

void TestNoteSearch::changedFileFoundAgain()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Plan.rtf"));
    writeFile(path, rtf("alpha"));
    auto cache = std::make_shared<NoteTextCache>();
    NoteSearch search(cache);
    const QList<SearchSource> sources { { QStringLiteral("Plan"), 0, -1, path, std::nullopt } };
    QCOMPARE(runSearch(search, sources, QStringLiteral("alpha")).matches, 1);
    QCOMPARE(cache->count(), 1);

    writeFile(path, rtf("beta beta"));
    const Run run = runSearch(search, sources, QStringLiteral("beta"));
    QCOMPARE(run.matches, 2);
    QCOMPARE(run.hits.size(), 2);
    QCOMPARE(run.hits.at(1).occurrence, 1);
    QCOMPARE(run.hits.at(0).excerpt.text, QStringLiteral("beta beta"));
}

void TestNoteSearch::hitsListedInNoteOrder()
{
    // Notes enough for the scanning threads to share them: the listed matches are still the
    // first ones, note after note, and all are counted.
    QList<SearchSource> sources;
    for (int row = 0; row < 300; ++row)
        sources.append({ QString::number(row), row, -1, {}, QStringLiteral("word ").repeated(5) });
    NoteSearch search(std::make_shared<NoteTextCache>());
    const Run run = runSearch(search, sources, QStringLiteral("word"));
    QCOMPARE(run.matches, 1500);
    QCOMPARE(run.notes, 300);
    QCOMPARE(run.hits.size(), NoteSearch::maxListedHits);
    for (int i = 0; i < run.hits.size(); ++i) {
        QCOMPARE(run.hits.at(i).row, i / 5);
        QCOMPARE(run.hits.at(i).occurrence, i % 5);
    }
}

void TestNoteSearch::newSearchStopsTheOld()
{
    // Enough notes that the first scan is still going when the second starts.
    QList<SearchSource> sources;
    const QString text = QStringLiteral("old new ").repeated(2000);
    for (int i = 0; i < 3000; ++i)
        sources.append({ QString::number(i), i, -1, QString(), text });
    NoteSearch search(std::make_shared<NoteTextCache>());
    QList<SearchHit> hits;
    QList<int> finished;
    connect(&search, &NoteSearch::hitsFound, this,
        [&](const QList<SearchHit> &found) { hits += found; });
    connect(&search, &NoteSearch::finished, this, [&](int matches, int) { finished << matches; });
    search.start(sources, QStringLiteral("old"), {});
    search.start(sources.first(1), QStringLiteral("new"), {});
    QTRY_VERIFY(!search.isRunning());
    QTest::qWait(50);
    QCOMPARE(finished, QList<int> { 2000 });
    QCOMPARE(hits.size(), qsizetype(NoteSearch::maxListedHits));
    for (const SearchHit &hit : std::as_const(hits))
        QCOMPARE(hit.excerpt.text.mid(hit.excerpt.start, 3), QStringLiteral("new"));

    // Stopped with nothing after it: nothing more arrives.
    search.start(sources, QStringLiteral("old"), {});
    search.cancel();
    QTest::qWait(100);
    QCOMPARE(finished.size(), 1);
}

QTEST_GUILESS_MAIN(TestNoteSearch)
#include "tst_notesearch.moc"
