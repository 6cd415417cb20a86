// LibreOffice as a second reader: the RTF we write for every RTF file in the test data must give
// LibreOffice the text rtftool prints, and LibreOffice-written files must read the same in both.
// LibreOffice's text is compared after these normalisations: its byte order mark is dropped,
// trailing spaces and tabs of each line and empty lines at the end are ignored, a list item may
// carry LibreOffice's label (four spaces per level, the label, a space), and each
// vertically merged cell (\clvmrg) may show as one extra empty line, LibreOffice keeping the
// covered cell where Qt has none.
#include "support/ExternalTool.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString toolPath()
{
    return QStringLiteral(QUILLMARK_RTFTOOL);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// rtftool COMMAND FILE; the output, or a null array when it fails.
QByteArray rtftool(const QString &command, const QString &file, int *exitCode = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(toolPath(), { command, file });
    process.waitForFinished(120000);
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (exitCode)
        *exitCode = code;
    return code == 0 ? process.readAllStandardOutput() : QByteArray();
}

QStringList normalisedLines(QString text)
{
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.remove(QLatin1Char('\r'));
    QStringList lines = text.split(QLatin1Char('\n'));
    static const QRegularExpression trailing(QStringLiteral("[ \\t]+$"));
    for (QString &line : lines)
        line.remove(trailing);
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// An empty string when LibreOffice's text matches ours, otherwise where it first differs.
QString compareTexts(const QString &ours, const QString &libreOffice, int extraEmptyLinesAllowed)
{
    // A label may hold spaces of its own ("CH I", "Sect I.01").
    static const QRegularExpression label(QStringLiteral("^(?: {4})+\\S.{0,23} $"));
    const QStringList expected = normalisedLines(ours);
    const QStringList actual = normalisedLines(libreOffice);
    qsizetype e = 0;
    qsizetype a = 0;
    while (e < expected.size() || a < actual.size()) {
        const QString want = expected.value(e);
        const QString got = actual.value(a);
        if (e < expected.size() && a < actual.size()) {
            if (got == want) {
                ++e;
                ++a;
                continue;
            }
            if (got.endsWith(want) && label.match(got.chopped(want.size())).hasMatch()) {
                ++e;
                ++a;
                continue;
            }
        }
        if (a < actual.size() && got.isEmpty() && extraEmptyLinesAllowed > 0) {
            --extraEmptyLinesAllowed;
            ++a;
            continue;
        }
        return QStringLiteral("line %1: rtftool \"%2\", LibreOffice line %3 \"%4\"")
            .arg(e + 1)
            .arg(e < expected.size() ? want : QStringLiteral("(end)"))
            .arg(a + 1)
            .arg(a < actual.size() ? got : QStringLiteral("(end)"));
    }
    return QString();
}

// Our text as LibreOffice's text of a file shows it: without the notes' texts after the text, and
// without the marks of comments, which LibreOffice's text leaves out.
QString withoutNotes(const QString &text)
{
    QString shown = text.left(text.indexOf(QStringLiteral("\n________________\n")) + 1);
    if (shown.isEmpty())
        shown = text;
    static const QRegularExpression commentMark(QStringLiteral("\\[[0-9]+\\]"));
    return shown.remove(commentMark);
}

} // namespace

class LibreOfficeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void ourRtfGivesLibreOfficeTheSameText_data();
    void ourRtfGivesLibreOfficeTheSameText();
    void libreOfficeFilesReadTheSameInBoth_data();
    void libreOfficeFilesReadTheSameInBoth();
    void normalisationAcceptsOnlyLabelsAndMergedCells();

private:
    struct Fixture
    {
        QString name; // path below the test data folder
        QString expectedText; // rtftool text of the fixture
        QString ourConverted; // LibreOffice's text of our RTF
        int ourMergedCells = 0;
        bool libreOfficeWritten = false;
        QString originalConverted; // LibreOffice's text of the fixture itself
        int originalMergedCells = 0;
    };

    QTemporaryDir m_dir;
    QList<Fixture> m_fixtures;
};

void LibreOfficeTest::initTestCase()
{
    QVERIFY2(QFileInfo(toolPath()).isExecutable(), qPrintable(toolPath()));
    QString soffice;
    QUILLMARK_REQUIRE_TOOL(soffice, "soffice", "libreoffice-writer-nogui");
    QVERIFY(m_dir.isValid());
    const QString in = m_dir.filePath(QStringLiteral("in"));
    const QString out = m_dir.filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(in) && QDir().mkpath(out));

    QStringList fixtures;
    QDirIterator it(QStringLiteral(QUILLMARK_TEST_DATA), { QStringLiteral("*.rtf") }, QDir::Files,
        QDirIterator::Subdirectories);
    while (it.hasNext())
        fixtures << it.next();
    fixtures.sort();

    QStringList toConvert;
    const QDir data(QStringLiteral(QUILLMARK_TEST_DATA));
    for (const QString &path : fixtures) {
        int code = 0;
        const QByteArray ours = rtftool(QStringLiteral("rtf"), path, &code);
        if (code == 1)
            continue; // not RTF at all: nothing for LibreOffice to compare
        QVERIFY2(code == 0, qPrintable(QStringLiteral("rtftool rtf failed on ") + path));
        const int number = int(m_fixtures.size());
        Fixture fixture;
        fixture.name = data.relativeFilePath(path);
        fixture.expectedText = QString::fromUtf8(rtftool(QStringLiteral("text"), path));
        fixture.ourMergedCells = int(ours.count("\\clvmrg"));
        const QString ourFile
            = QStringLiteral("%1/w%2.rtf").arg(in).arg(number, 3, 10, QLatin1Char('0'));
        QVERIFY(writeFile(ourFile, ours));
        toConvert << ourFile;
        const QByteArray original = readFile(path);
        fixture.libreOfficeWritten = original.contains("{\\*\\generator LibreOffice");
        if (fixture.libreOfficeWritten) {
            fixture.originalMergedCells = int(original.count("\\clvmrg"));
            const QString copy
                = QStringLiteral("%1/l%2.rtf").arg(in).arg(number, 3, 10, QLatin1Char('0'));
            QVERIFY(QFile::copy(path, copy));
            toConvert << copy;
        }
        m_fixtures << fixture;
    }
    QVERIFY2(m_fixtures.size() >= 5, "too few RTF fixtures found");

    // One LibreOffice run for every file: it takes seconds to start. A private profile keeps it
    // away from the user's, and a UTF-8 locale makes its Text filter write UTF-8.
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QString profile
        = QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("profile"))).toString();
    process.start(soffice,
        QStringList { QStringLiteral("-env:UserInstallation=") + profile,
            QStringLiteral("--headless"), QStringLiteral("--norestore"),
            QStringLiteral("--convert-to"), QStringLiteral("txt:Text"), QStringLiteral("--outdir"),
            out }
            + toConvert);
    QVERIFY2(process.waitForFinished(540000), "LibreOffice did not finish converting");
    QVERIFY2(process.exitCode() == 0, process.readAll().constData());

    for (int number = 0; number < m_fixtures.size(); ++number) {
        Fixture &fixture = m_fixtures[number];
        const QString stem = QString::number(number).rightJustified(3, QLatin1Char('0'));
        const QString ours = QStringLiteral("%1/w%2.txt").arg(out, stem);
        QVERIFY2(QFile::exists(ours),
            qPrintable(QStringLiteral("LibreOffice could not convert our RTF of ") + fixture.name));
        fixture.ourConverted = QString::fromUtf8(readFile(ours));
        if (fixture.libreOfficeWritten)
            fixture.originalConverted
                = QString::fromUtf8(readFile(QStringLiteral("%1/l%2.txt").arg(out, stem)));
    }
}

void LibreOfficeTest::ourRtfGivesLibreOfficeTheSameText_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < m_fixtures.size(); ++i)
        QTest::newRow(qPrintable(m_fixtures.at(i).name)) << i;
}

void LibreOfficeTest::ourRtfGivesLibreOfficeTheSameText()
{
    QFETCH(int, index);
    const Fixture &fixture = m_fixtures.at(index);
    const QString difference
        = compareTexts(fixture.expectedText, fixture.ourConverted, fixture.ourMergedCells);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void LibreOfficeTest::libreOfficeFilesReadTheSameInBoth_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < m_fixtures.size(); ++i) {
        if (m_fixtures.at(i).libreOfficeWritten)
            QTest::newRow(qPrintable(m_fixtures.at(i).name)) << i;
    }
}

void LibreOfficeTest::libreOfficeFilesReadTheSameInBoth()
{
    QFETCH(int, index);
    const Fixture &fixture = m_fixtures.at(index);
    QVERIFY(!fixture.originalConverted.isEmpty());
    const QString difference = compareTexts(
        withoutNotes(fixture.expectedText), fixture.originalConverted, fixture.originalMergedCells);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void LibreOfficeTest::normalisationAcceptsOnlyLabelsAndMergedCells()
{
    const QString ours = QStringLiteral("Title\nitem\nsub item\ncell\n");
    QCOMPARE(
        compareTexts(ours,
            QStringLiteral("\ufeffTitle  \n    \u2022 item\n        a. sub item\ncell\n\n\n"), 0),
        QString());
    QCOMPARE(compareTexts(
                 ours, QStringLiteral("Title\n    CH I item\n    Sect I.01 sub item\ncell\n"), 0),
        QString());
    QCOMPARE(compareTexts(ours, QStringLiteral("Title\nitem\n\nsub item\ncell\n"), 1), QString());
    QVERIFY(!compareTexts(ours, QStringLiteral("Title\nitem\n\nsub item\ncell\n"), 0).isEmpty());
    QVERIFY(
        !compareTexts(ours, QStringLiteral("Title\n\u2022 item\nsub item\ncell\n"), 0).isEmpty());
    QVERIFY(!compareTexts(ours, QStringLiteral("Title\nitem\nsub item\n"), 0).isEmpty());
    QVERIFY(
        !compareTexts(ours, QStringLiteral("Title\nitem\nsub item\ncell\nmore\n"), 0).isEmpty());
    QVERIFY(!compareTexts(ours, QStringLiteral("Title\nitem\nsub  item\ncell\n"), 0).isEmpty());
}

QTEST_MAIN(LibreOfficeTest)
#include "tst_libreoffice.moc"
