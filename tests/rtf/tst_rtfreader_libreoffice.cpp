// RtfReader against LibreOffice: each LibreOffice-dialect fixture (tests/data/rtf/libreoffice*.rtf)
// is converted to text by LibreOffice itself, and its paragraphs must be the ones we read; the
// numbering fixtures (word95*.rtf, the legacy kind; word-lists.rtf and lists-from-libreoffice.rtf,
// Word's list table) must also give the list labels LibreOffice gives.
#include "rtf/RtfListFormat.h"
#include "rtf/RtfReader.h"
#include "support/ExternalTool.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QtTest>

namespace {

QString dataDir()
{
    return QStringLiteral(QUILLMARK_TEST_DATA "/rtf");
}

QStringList fixtures(const QString &pattern = QStringLiteral("libreoffice*.rtf"))
{
    const QDir dir(dataDir());
    QStringList paths;
    for (const QString &name : dir.entryList({ pattern }, QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

QStringList numberingFixtures()
{
    return fixtures(QStringLiteral("word95*.rtf")) + fixtures(QStringLiteral("word-lists.rtf"))
        + fixtures(QStringLiteral("lists-from-libreoffice.rtf"));
}

// Our paragraphs as LibreOffice's text shows them: a list item as four spaces per level, its
// label and a space.
QStringList labelledParagraphs(const QTextDocument &doc)
{
    QStringList lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QString line = block.text();
        if (QTextList *list = block.textList()) {
            const QTextListFormat format = list->format();
            QString label;
            switch (RtfListFormat::style(format)) {
            case QTextListFormat::ListDisc:
                label = QStringLiteral("\u2022");
                break;
            case QTextListFormat::ListCircle:
                label = QStringLiteral("\u25e6");
                break;
            case QTextListFormat::ListSquare:
                label = QStringLiteral("\u25aa");
                break;
            default:
                label = RtfListFormat::itemText(block);
                break;
            }
            line = QString(4 * format.indent(), QLatin1Char(' ')) + label + QLatin1Char(' ') + line;
        }
        lines << line;
    }
    return lines;
}

// Paragraph texts without list labels, leading blanks, empty lines and picture characters: what
// both readers must agree on whatever each does with labels and pictures.
QStringList normalised(const QStringList &lines)
{
    static const QRegularExpression label(
        QStringLiteral("^\\s*(?:[•◦▪●○■–-]|[0-9]+[.)]|[a-zA-Z][.)]|[ivxIVX]+[.)])\\s+"));
    QStringList out;
    for (QString line : lines) {
        line.remove(QChar(0xfeff));
        line.remove(QChar(0xfffc));
        line.replace(QChar(0x2028), QLatin1Char('\n'));
        for (QString part : line.split(QLatin1Char('\n'))) {
            part.remove(label);
            part = part.trimmed();
            if (!part.isEmpty())
                out << part;
        }
    }
    return out;
}

// Our paragraphs as LibreOffice's text shows them: without the notes' texts after the text, and
// without the marks of comments, which LibreOffice's text leaves out.
QStringList withoutNotes(QStringList lines)
{
    const qsizetype rule = lines.indexOf(QStringLiteral("________________"));
    if (rule >= 0)
        lines.resize(rule);
    static const QRegularExpression commentMark(QStringLiteral("\\[[0-9]+\\]"));
    for (QString &line : lines)
        line.remove(commentMark);
    return lines;
}

} // namespace

class RtfReaderLibreOfficeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sameTextAsLibreOffice_data();
    void sameTextAsLibreOffice();
    void legacyNumberingAsLibreOffice_data();
    void legacyNumberingAsLibreOffice();

private:
    QTemporaryDir m_out;
    QString m_soffice;
};

void RtfReaderLibreOfficeTest::initTestCase()
{
    QVERIFY(!fixtures().isEmpty());
    QVERIFY(!numberingFixtures().isEmpty());
    QUILLMARK_REQUIRE_TOOL(m_soffice, "soffice", "libreoffice-writer-nogui");
    QVERIFY(m_out.isValid());
    QProcess soffice;
    QStringList arguments { QStringLiteral("--headless"), QStringLiteral("--norestore"),
        QStringLiteral("-env:UserInstallation=file://") + m_out.filePath(QStringLiteral("profile")),
        QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):UTF8"),
        QStringLiteral("--outdir"), m_out.path() };
    arguments << fixtures() << numberingFixtures();
    soffice.start(m_soffice, arguments);
    QVERIFY(soffice.waitForFinished(300000));
    QCOMPARE(soffice.exitCode(), 0);
}

void RtfReaderLibreOfficeTest::sameTextAsLibreOffice_data()
{
    QTest::addColumn<QString>("path");
    for (const QString &path : fixtures())
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
}

void RtfReaderLibreOfficeTest::sameTextAsLibreOffice()
{
    QFETCH(QString, path);
    QFile converted(m_out.filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".txt")));
    QVERIFY2(converted.open(QIODevice::ReadOnly), qPrintable(converted.fileName()));
    const QStringList theirs
        = normalised(QString::fromUtf8(converted.readAll()).split(QLatin1Char('\n')));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument doc;
    QVERIFY(RtfReader().read(file.readAll(), &doc));
    QStringList blocks;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        blocks << block.text();
    const QStringList ours = normalised(withoutNotes(blocks));

    QCOMPARE(ours, theirs);
}

void RtfReaderLibreOfficeTest::legacyNumberingAsLibreOffice_data()
{
    QTest::addColumn<QString>("path");
    for (const QString &path : numberingFixtures())
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
}

// Bullets, simple numbering, paragraphs that go on with a list without a number, and Word's
// multi-level labels: the labels and levels LibreOffice shows, paragraph by paragraph.
void RtfReaderLibreOfficeTest::legacyNumberingAsLibreOffice()
{
    QFETCH(QString, path);
    QFile converted(m_out.filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".txt")));
    QVERIFY2(converted.open(QIODevice::ReadOnly), qPrintable(converted.fileName()));
    QString text = QString::fromUtf8(converted.readAll());
    text.remove(QChar(0xfeff));
    text.remove(QLatin1Char('\r'));
    QStringList theirs = text.split(QLatin1Char('\n'));
    static const QRegularExpression trailing(QStringLiteral("\\s+$"));
    for (QString &line : theirs)
        line.remove(trailing);
    while (!theirs.isEmpty() && theirs.last().isEmpty())
        theirs.removeLast();

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument doc;
    QVERIFY(RtfReader().read(file.readAll(), &doc));
    QCOMPARE(labelledParagraphs(doc), theirs);
}

QTEST_MAIN(RtfReaderLibreOfficeTest)
#include "tst_rtfreader_libreoffice.moc"
