// RtfReader: hand-made files of each dialect against their golden dumps, code pages, Unicode
// fallbacks, fields, pictures, tables and malformed input.
#include "rtf/RtfReader.h"
#include "support/DocumentDump.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QtTest>

namespace {

QString dataDir()
{
    return QStringLiteral(QUILLMARK_TEST_DATA "/rtf");
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// Every block's text joined by "\n", characters kept as they are (U+2028 for \line and so on).
QString blockTexts(const QTextDocument &doc)
{
    QStringList texts;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts.join(QLatin1Char('\n'));
}

QString readText(const QByteArray &rtf)
{
    QTextDocument doc;
    if (!RtfReader().read(rtf, &doc))
        return QStringLiteral("<not read>");
    return blockTexts(doc);
}

// The character format at the first occurrence of text.
QTextCharFormat formatOf(const QTextDocument &doc, const QString &text)
{
    const QTextCursor found = doc.find(text, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull())
        return QTextCharFormat();
    QTextCursor cursor(const_cast<QTextDocument *>(&doc));
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat();
}

QByteArray pngBytes(const QColor &colour, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Pictures are named after their bytes.
const QRegularExpression imageName(QStringLiteral("^rtf-image-[0-9a-f]{32}\\.(png|jpg)$"));

QByteArray jpegBytes()
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

} // namespace

class RtfReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void goldenFixtures_data();
    void goldenFixtures();
    void regressions_data();
    void regressions();

    void notRtfLeavesDocumentUntouched_data();
    void notRtfLeavesDocumentUntouched();
    void readReplacesContentAndStartsUndoEmpty();

    void codePages_data();
    void codePages();
    void fontNameInItsCodePage();
    void symbolFonts();
    void unicode_data();
    void unicode();

    void paragraphs_data();
    void paragraphs();
    void characterFormats();
    void colourTableRules();
    void fields_data();
    void fields();

    void pictures();
    void linkedPicture();
    void jpegAndMetafile();
    void binaryPicture();
    void pictureClaimingHugeSize();
    void shapesReadInPlace_data();
    void shapesReadInPlace();
    void notesFollowTheText_data();
    void notesFollowTheText();
    void leftOutContentIsReported_data();
    void leftOutContentIsReported();

    void wordRepeatedRowIsOneTable();
    void tableEdges_data();
    void tableEdges();
    void manyRows();
    void wideCellsSpanColumns();
    void surplusCellsBelongToTheirRow();
    void lists();
    void legacyNumbering();
    void bulletShapes_data();
    void bulletShapes();
    void mergedCellsKeepParagraphFormats();
    void emptyLastParagraphOfCellKeepsFormat();

    void malformed_data();
    void malformed();
    void deepNesting();
    void plainText_data();
    void plainText();
    void plainTextMatchesDocument();
};

void RtfReaderTest::goldenFixtures_data()
{
    QTest::addColumn<QString>("path");
    const QDir dir(dataDir());
    const QStringList files = dir.entryList({ QStringLiteral("*.rtf") }, QDir::Files, QDir::Name);
    QVERIFY(files.size() >= 8);
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << dir.filePath(file);
}

// Each hand-made file has its dump checked in beside it. QUILLMARK_UPDATE_GOLDEN=1 rewrites them;
// every rewritten dump is read by eye before it is committed.
void RtfReaderTest::goldenFixtures()
{
    QFETCH(QString, path);
    const QByteArray rtf = readFile(path);
    QVERIFY(!rtf.isEmpty());
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    const QString dump = dumpDocument(doc);
    // Reading twice gives the same document.
    QTextDocument again;
    QVERIFY(RtfReader().read(rtf, &again));
    QCOMPARE(dumpDocument(again), dump);

    const QString goldenPath = path.left(path.size() - 4) + QStringLiteral(".dump");
    if (qEnvironmentVariableIntValue("QUILLMARK_UPDATE_GOLDEN") == 1) {
        QFile golden(goldenPath);
        QVERIFY(golden.open(QIODevice::WriteOnly | QIODevice::Truncate));
        golden.write(dump.toUtf8());
        return;
    }
    const QString expected = QString::fromUtf8(readFile(goldenPath));
    QVERIFY2(!expected.isEmpty(), qPrintable(QStringLiteral("no golden dump ") + goldenPath));
    if (dump != expected) {
        const QStringList got = dump.split(QLatin1Char('\n'));
        const QStringList want = expected.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < std::max(got.size(), want.size()); ++i) {
            const QString a = got.value(i);
            const QString b = want.value(i);
            if (a != b)
                QFAIL(qPrintable(
                    QStringLiteral("line %1:\n got: %2\nwant: %3").arg(i + 1).arg(a, b)));
        }
    }
}

void RtfReaderTest::regressions_data()
{
    QTest::addColumn<QString>("path");
    const QDir dir(dataDir() + QStringLiteral("/regress"));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    if (files.isEmpty())
        QTest::newRow("none") << QString();
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << dir.filePath(file);
}

// Inputs that once crashed or hung the reader (found by fuzzing) must load.
void RtfReaderTest::regressions()
{
    QFETCH(QString, path);
    if (path.isEmpty())
        QSKIP("no regression inputs");
    QByteArray data = readFile(path);
    if (!RtfReader::looksLikeRtf(data))
        data.prepend("{\\rtf1 "); // the fuzzer gives inputs that prefix
    QTextDocument doc;
    QVERIFY(RtfReader().read(data, &doc));
    QVERIFY(!dumpDocument(doc).isEmpty());
}

void RtfReaderTest::notRtfLeavesDocumentUntouched_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("plain text") << QByteArray("hello {\\rtf1 world}");
    QTest::newRow("half a header") << QByteArray("{\\rt");
    QTest::newRow("leading space") << QByteArray(" {\\rtf1 x}");
    QTest::newRow("html") << QByteArray("<html><body>{\\rtf1</body></html>");
    QTest::newRow("utf-16") << QByteArray("\xff\xfe{\0\\\0r\0t\0f\0", 12);
}

void RtfReaderTest::notRtfLeavesDocumentUntouched()
{
    QFETCH(QByteArray, data);
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("kept as it was"));
    QVERIFY(!RtfReader::looksLikeRtf(data));
    QVERIFY(!RtfReader().read(data, &doc));
    QCOMPARE(doc.toPlainText(), QStringLiteral("kept as it was"));
    QVERIFY(!RtfReader().read("{\\rtf1 x}", nullptr));
}

void RtfReaderTest::readReplacesContentAndStartsUndoEmpty()
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("old text"));
    QVERIFY(doc.isUndoAvailable());
    QVERIFY(RtfReader().read("{\\rtf1 new\\par}", &doc));
    QCOMPARE(blockTexts(doc), QStringLiteral("new"));
    QVERIFY(doc.isUndoRedoEnabled());
    QVERIFY(!doc.isUndoAvailable());

    QTextDocument noUndo;
    noUndo.setUndoRedoEnabled(false);
    QVERIFY(RtfReader().read("{\\rtf1 x}", &noUndo));
    QVERIFY(!noUndo.isUndoRedoEnabled());
}

void RtfReaderTest::codePages_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("1252 by \\ansi")
        << QByteArray("{\\rtf1\\ansi caf\\'e9 \\'80 \\'93x\\'94}") << QStringLiteral("café € “x”");
    QTest::newRow("1252 raw 8-bit bytes")
        << QByteArray("{\\rtf1\\ansi caf\xe9}") << QStringLiteral("café");
    QTest::newRow("1251 by \\ansicpg")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}")
        << QStringLiteral("Привет");
    QTest::newRow("1251 by \\fcharset204") << QByteArray(
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}"
        "\\f0 \\'e9\\f1 \\'e9}") << QStringLiteral("éй");
    QTest::newRow("1250 by \\fcharset238") << QByteArray(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset238 Arial CE;}}\\f0 \\'8a\\'9a\\'e8\\'f8}")
                                           << QStringLiteral("Šščř");
    QTest::newRow("\\cpg beats \\fcharset")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0\\cpg1251 Odd;}}\\f0 \\'e9}")
        << QStringLiteral("й");
    QTest::newRow("932 pairs with a \\'5c trail byte") << QByteArray(
        "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fnil\\fcharset128 MS Mincho;}}"
        "\\f0 \\'82\\'a0\\'81\\'5c\\'95\\'5c}") << QStringLiteral("あ\u2015表");
    QTest::newRow("932 raw lead byte with escaped backslash trail") << QByteArray(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Gothic;}}\\f0 \x95\\\\\x82\xa0}")
                                                                    << QStringLiteral("表あ");
    QTest::newRow("932 pair split by ignored words") << QByteArray(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Gothic;}}\\f0 \\'82\\loch\\hich\\dbch\\'a0}")
                                                     << QStringLiteral("あ");
    QTest::newRow("936 pairs with a \\'5c trail byte") << QByteArray(
        "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}"
        "\\f0 \\'d6\\'d0\\'ce\\'c4\\'81\\'5c ok}") << QStringLiteral("中文乗 ok");
    QTest::newRow("936 document default without a font table")
        << QByteArray("{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0}") << QStringLiteral("中");
    QTest::newRow("code page switches mid-paragraph") << QByteArray(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset128 MS Gothic;}{\\f2\\fcharset204 "
        "Cyr;}}\\f0 a\\'e9\\f1\\'82\\'a0\\f2\\'e9\\f0 b}")
                                                      << QStringLiteral("aéあйb");
    QTest::newRow("\\mac") << QByteArray("{\\rtf1\\mac \\'8e\\'8f}") << QStringLiteral("éè");
    QTest::newRow("\\pc") << QByteArray("{\\rtf1\\pc \\'82\\'e1}") << QStringLiteral("éß");
    QTest::newRow("unknown code page falls back to 1252")
        << QByteArray("{\\rtf1\\ansi\\ansicpg99999 \\'e9}") << QStringLiteral("é");
}

void RtfReaderTest::codePages()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(readText(rtf), text);
}

void RtfReaderTest::fontNameInItsCodePage()
{
    QTextDocument doc;
    QVERIFY(RtfReader().read(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72 "
        "\\'96\\'be\\'92\\'a9;}{\\f1\\fswiss\\fcharset0 Arial{\\*\\falt Helvetica};}"
        "{\\f2\\fnil\\fcharset0\\u23435?\\u20307?;}{\\f3\\fcharset134 \\'cb\\'ce\\u20307?;}}"
        "\\f0 a\\f1 b\\f2 c\\f3 d}",
        &doc));
    QCOMPARE(formatOf(doc, QStringLiteral("a")).fontFamilies().toStringList(),
        QStringList(QStringLiteral("ＭＳ 明朝")));
    QCOMPARE(formatOf(doc, QStringLiteral("b")).fontFamilies().toStringList(),
        QStringList(QStringLiteral("Arial")));
    // Names written as \uN, alone or after bytes of the font's code page.
    QCOMPARE(formatOf(doc, QStringLiteral("c")).fontFamilies().toStringList(),
        QStringList(QStringLiteral("宋体")));
    QCOMPARE(formatOf(doc, QStringLiteral("d")).fontFamilies().toStringList(),
        QStringList(QStringLiteral("宋体")));
}

void RtfReaderTest::symbolFonts()
{
    // Symbol bytes become the characters they show; \u of the U+F0xx form too. Wingdings has
    // no Unicode equivalents: its bytes stay at U+F0xx, as Windows keeps them.
    const QByteArray rtf
        = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\ftech\\fcharset2 Symbol;}"
          "{\\f2\\fnil\\fcharset2 Wingdings;}{\\f3 Symbol;}{\\f4 Wingdings 2;}}"
          "\\f0 x\\f1 abp\\'b7\\'a3\\u-3913?\\u61617?\\f2 \\'4a\\f3 W\\f4 \\'97\\f0 y}";
    QCOMPARE(readText(rtf), QStringLiteral("xαβπ•≤•±\uf04aΩ\uf097y"));
}

void RtfReaderTest::unicode_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("default \\uc1 skips one character")
        << QByteArray("{\\rtf1 a\\u8364?b}") << QStringLiteral("a€b");
    QTest::newRow("negative value") << QByteArray("{\\rtf1 \\u-4064?}") << QStringLiteral("\uf020");
    QTest::newRow("fallback is a hex byte")
        << QByteArray("{\\rtf1 \\u233\\'e9x}") << QStringLiteral("éx");
    QTest::newRow("fallback is a control word")
        << QByteArray("{\\rtf1 \\u8212\\emdash x}") << QStringLiteral("—x");
    QTest::newRow("\\uc0") << QByteArray("{\\rtf1\\uc0 \\u8364 x\\u8364\\'80}")
                           << QStringLiteral("€x€€");
    QTest::newRow("\\uc2") << QByteArray("{\\rtf1\\uc2 \\u8364\\'80\\'80x\\u8364 ab c}")
                           << QStringLiteral("€x€ c");
    QTest::newRow("\\uc2 counts a run partly")
        << QByteArray("{\\rtf1\\uc2 \\u20013 abcd}") << QStringLiteral("中cd");
    QTest::newRow("\\uc belongs to the group")
        << QByteArray("{\\rtf1\\uc1 {\\uc3 \\u8364 abcd}\\u8364?e}") << QStringLiteral("€d€e");
    QTest::newRow("closing brace ends the fallback")
        << QByteArray("{\\rtf1\\uc4 {\\u8364 a}bc}") << QStringLiteral("€bc");
    QTest::newRow("surrogate pair")
        << QByteArray("{\\rtf1 \\u-10179?\\u-8704?!}") << QStringLiteral("😀!");
    QTest::newRow("\\uc is capped")
        << QByteArray("{\\rtf1\\uc999999 \\u65 0123456789abcdefXY}") << QStringLiteral("AXY");
    QTest::newRow("\\upr takes the \\ud part")
        << QByteArray("{\\rtf1 a{\\upr{\\f0 ansi}{\\*\\ud{\\f0 \\u20013?}}}b}")
        << QStringLiteral("a中b");
    QTest::newRow("special characters") << QByteArray(
        "{\\rtf1 "
        "\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\endash\\emdash\\~\\-\\_\\{\\}\\\\}")
                                        << QStringLiteral("‘’“”•–—\u00a0\u00ad\u2011{}\\");
    QTest::newRow("control characters are dropped")
        << QByteArray("{\\rtf1 a\\'00\\'0d\\'0a\\'07\\u8233?\\u65532?\\u-560?\\u-559?b}")
        << QStringLiteral("ab");
}

void RtfReaderTest::unicode()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(readText(rtf), text);
}

void RtfReaderTest::paragraphs_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("final \\par makes no empty paragraph")
        << QByteArray("{\\rtf1 a\\par b\\par}") << QStringLiteral("a\nb");
    QTest::newRow("empty paragraphs in between kept")
        << QByteArray("{\\rtf1 a\\par\\par b\\par\\par}") << QStringLiteral("a\n\nb\n");
    QTest::newRow("text after the last \\par")
        << QByteArray("{\\rtf1 a\\par b}") << QStringLiteral("a\nb");
    QTest::newRow("backslash newline is \\par")
        << QByteArray("{\\rtf1 a\\\nb\\\r\nc}") << QStringLiteral("a\nb\nc");
    QTest::newRow("line breaks in the file are not text")
        << QByteArray("{\\rtf1 a\r\nb\nc\rd}") << QStringLiteral("abcd");
    QTest::newRow("\\line and \\tab")
        << QByteArray("{\\rtf1 a\\line b\\tab c}") << QStringLiteral("a\u2028b\tc");
    QTest::newRow("\\page") << QByteArray("{\\rtf1 a\\page b\\par\\page c}")
                            << QStringLiteral("a\nb\nc");
    QTest::newRow("hidden text left out")
        << QByteArray("{\\rtf1 a{\\v hidden}b\\v c\\v0 d}") << QStringLiteral("abd");
    QTest::newRow("skipped destinations")
        << QByteArray("{\\rtf1{\\info{\\title t}}{\\header h}{\\*\\unknown u}{\\*\\generator g;}a"
                      "{\\footerf f}{\\*\\bkmkstart x}b{\\pntext 1.}{\\listtext 2.}c}")
        << QStringLiteral("abc");
    QTest::newRow("\\bin inside a skipped destination")
        << QByteArray("{\\rtf1 a{\\*\\objdata \\bin4 }}{x}b}") << QStringLiteral("ab");
    QTest::newRow("object result and shape result") << QByteArray(
        "{\\rtf1 a{\\object\\objemb{\\*\\objclass Paint}{\\*\\objdata 0102}{\\result b}}"
        "{\\shp{\\*\\shpinst{\\sp{\\sn x}{\\sv y}}}{\\shprslt c}}d}")
                                                    << QStringLiteral("abcd");
    QTest::newRow("empty document") << QByteArray("{\\rtf1}") << QString();
}

void RtfReaderTest::paragraphs()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(readText(rtf), text);
}

void RtfReaderTest::characterFormats()
{
    QTextDocument doc;
    QVERIFY(RtfReader().read(
        "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
        "Q0 {\\b B1}{\\i I1}{\\ul U1}{\\uld U2}{\\ulwave U3}{\\strike S1}{\\super P1}"
        "{\\sub P2}{\\up6 P3}{\\fs40 F1}{\\scaps C1}{\\caps C2}{\\b\\b0 N1}"
        "{\\b\\i\\ul\\fs30\\plain R1}{\\f0\\af1 A1}{\\fs0 Z1}}",
        &doc));
    const QTextCharFormat plain = formatOf(doc, QStringLiteral("Q0"));
    QCOMPARE(plain.fontPointSize(), 12.0); // explicit, although the file has no \fs
    QCOMPARE(plain.fontFamilies().toStringList(), QStringList(QStringLiteral("Courier New")));
    QCOMPARE(plain.fontWeight(), int(QFont::Normal));
    QCOMPARE(formatOf(doc, QStringLiteral("B1")).fontWeight(), int(QFont::Bold));
    QVERIFY(formatOf(doc, QStringLiteral("I1")).fontItalic());
    QCOMPARE(
        formatOf(doc, QStringLiteral("U1")).underlineStyle(), QTextCharFormat::SingleUnderline);
    QCOMPARE(formatOf(doc, QStringLiteral("U2")).underlineStyle(), QTextCharFormat::DotLine);
    QCOMPARE(formatOf(doc, QStringLiteral("U3")).underlineStyle(), QTextCharFormat::WaveUnderline);
    QVERIFY(formatOf(doc, QStringLiteral("S1")).fontStrikeOut());
    QCOMPARE(
        formatOf(doc, QStringLiteral("P1")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QCOMPARE(
        formatOf(doc, QStringLiteral("P2")).verticalAlignment(), QTextCharFormat::AlignSubScript);
    QCOMPARE(
        formatOf(doc, QStringLiteral("P3")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QCOMPARE(formatOf(doc, QStringLiteral("F1")).fontPointSize(), 20.0);
    QCOMPARE(formatOf(doc, QStringLiteral("C1")).fontCapitalization(), QFont::SmallCaps);
    QCOMPARE(formatOf(doc, QStringLiteral("C2")).fontCapitalization(), QFont::AllUppercase);
    QCOMPARE(formatOf(doc, QStringLiteral("N1")).fontWeight(), int(QFont::Normal));
    const QTextCharFormat reset = formatOf(doc, QStringLiteral("R1"));
    QCOMPARE(reset.fontPointSize(), 12.0);
    QVERIFY(!reset.fontItalic());
    QCOMPARE(reset.underlineStyle(), QTextCharFormat::NoUnderline);
    // \af changes the font of other scripts only.
    QCOMPARE(formatOf(doc, QStringLiteral("A1")).fontFamilies().toStringList(),
        QStringList(QStringLiteral("Arial")));
    QCOMPARE(formatOf(doc, QStringLiteral("Z1")).fontPointSize(), 12.0);
}

void RtfReaderTest::colourTableRules()
{
    // Entry 0 is "automatic" only when it is empty; an index past the table is ignored.
    QTextDocument autoFirst;
    QVERIFY(RtfReader().read(
        "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}{\\cf1 red}{\\cf0 auto}"
        "{\\cf1\\cf9 stillred}{\\cb1 onred}{\\highlight1 hl}{\\chcbpat1 pat}{\\cb0 none}}",
        &autoFirst));
    QCOMPARE(formatOf(autoFirst, QStringLiteral("red")).foreground().color(), QColor(255, 0, 0));
    QVERIFY(!formatOf(autoFirst, QStringLiteral("auto")).hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(
        formatOf(autoFirst, QStringLiteral("stillred")).foreground().color(), QColor(255, 0, 0));
    QCOMPARE(formatOf(autoFirst, QStringLiteral("onred")).background().color(), QColor(255, 0, 0));
    QCOMPARE(formatOf(autoFirst, QStringLiteral("hl")).background().color(), QColor(255, 0, 0));
    QCOMPARE(formatOf(autoFirst, QStringLiteral("pat")).background().color(), QColor(255, 0, 0));
    QVERIFY(!formatOf(autoFirst, QStringLiteral("none")).hasProperty(QTextFormat::BackgroundBrush));

    QTextDocument blackFirst; // the classic box's table has no empty first entry
    QVERIFY(RtfReader().read("{\\rtf1{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;}"
                             "{\\cf1 blue}{\\cf0 black}}",
        &blackFirst));
    QCOMPARE(formatOf(blackFirst, QStringLiteral("blue")).foreground().color(), QColor(0, 0, 255));
    QCOMPARE(formatOf(blackFirst, QStringLiteral("black")).foreground().color(), QColor(0, 0, 0));
}

void RtfReaderTest::fields_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("href");

    QTest::newRow("quoted") << QByteArray(
        "{\\rtf1 {\\field{\\*\\fldinst{HYPERLINK \"https://a.example/x y\"}}{\\fldrslt{link}}}}")
                            << QStringLiteral("link") << QStringLiteral("https://a.example/x y");
    QTest::newRow("unquoted, ungrouped")
        << QByteArray(
               "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK https://b.example/ }{\\fldrslt link}}}")
        << QStringLiteral("link") << QStringLiteral("https://b.example/");
    QTest::newRow("instruction split over groups") << QByteArray(
        "{\\rtf1 {\\field{\\*\\fldinst {HYPER}{LINK \"mailto:}{me@c.example\"}}{\\fldrslt {\\ul "
        "mail}}}}") << QStringLiteral("mail") << QStringLiteral("mailto:me@c.example");
    QTest::newRow("anchor switch")
        << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \\\\l \"part2\" }{\\fldrslt here}}}")
        << QStringLiteral("here") << QStringLiteral("#part2");
    QTest::newRow("non-ASCII target as \\u") << QByteArray(
        "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"https://e.example/caf\\u233?\\'e9\"}{\\fldrslt "
        "e}}}") << QStringLiteral("e") << QStringLiteral("https://e.example/caféé");
    QTest::newRow("tooltip switch")
        << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"https://d.example\" \\\\o "
                      "\"tip\"}{\\fldrslt d}}}")
        << QStringLiteral("d") << QStringLiteral("https://d.example");
    QTest::newRow("other field shows its result")
        << QByteArray("{\\rtf1 p{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}}") << QStringLiteral("p7")
        << QString();
    QTest::newRow("INCLUDEPICTURE is never acted on") << QByteArray(
        "{\\rtf1 {\\field{\\*\\fldinst INCLUDEPICTURE \"file:///etc/passwd\" \\\\d}{\\fldrslt r}}}")
                                                      << QStringLiteral("r") << QString();
    QTest::newRow("field nested in an instruction") << QByteArray(
        "{\\rtf1 {\\field{\\*\\fldinst IF {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} = 1 }"
        "{\\fldrslt yes}}}") << QStringLiteral("yes")
                                                    << QString();
    // An instruction is plain text whatever font is current: a symbol font's bytes would make
    // the keyword and URL Greek letters or dingbats, a real font's code page still applies.
    const auto withFonts = [](const QByteArray &body) {
        return "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}{\\f2 Wingdings;}"
               "{\\f3\\fcharset204 Arial Cyr;}}"
            + body + "}";
    };
    QTest::newRow("instruction after Symbol text")
        << withFonts("\\f1 a{\\field{\\*\\fldinst HYPERLINK \"https://s.example/p\"}"
                     "{\\fldrslt\\f0 link}}")
        << QStringLiteral("\u03b1link") << QStringLiteral("https://s.example/p");
    QTest::newRow("instruction in groups of symbol fonts")
        << withFonts("{\\field{\\*\\fldinst{\\f1 HYPERLINK }{\\f2 \"https://w.example/}"
                     "{\\f1\\'e4\"}}{\\fldrslt w}}")
        << QStringLiteral("w") << QStringLiteral("https://w.example/\u00e4");
    QTest::newRow("instruction in a Cyrillic font")
        << withFonts("{\\f1 {\\field{\\*\\fldinst HYPERLINK {\\f3 \"https://r.example/\\'e4\"}}"
                     "{\\fldrslt\\f0 r}}}")
        << QStringLiteral("r") << QStringLiteral("https://r.example/\u0434");
    QTest::newRow("field without a result")
        << QByteArray("{\\rtf1 a{\\field{\\*\\fldinst HYPERLINK \"x\"}}b}") << QStringLiteral("ab")
        << QString();
}

void RtfReaderTest::fields()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(QString, href);
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    QCOMPARE(blockTexts(doc), text);
    const QTextCharFormat format = formatOf(doc, text.right(1));
    QCOMPARE(format.anchorHref(), href);
    QCOMPARE(format.isAnchor(), !href.isEmpty());
}

void RtfReaderTest::pictures()
{
    const QByteArray png = pngBytes(Qt::red, QSize(5, 4));
    const QByteArray rtf
        = "{\\rtf1 a{\\*\\shppict{\\pict\\pngblip\\picw5\\pich4\\picwgoal150\\pichgoal120\n"
        + png.toHex() + "}}{\\nonshppict{\\pict\\wmetafile8 0100}}b}";
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    QCOMPARE(blockTexts(doc), QStringLiteral("a\ufffcb"));
    const QTextCharFormat format = formatOf(doc, QStringLiteral("\ufffc"));
    QVERIFY(format.isImageFormat());
    const QTextImageFormat image = format.toImageFormat();
    QVERIFY(imageName.match(image.name()).hasMatch());
    QVERIFY(image.name().endsWith(QLatin1String(".png")));
    QCOMPARE(image.width(), 10.0); // 150 twips
    QCOMPARE(image.height(), 8.0);
    const QImage decoded
        = doc.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
    QCOMPARE(decoded.size(), QSize(5, 4));
    QCOMPARE(decoded.pixelColor(0, 0), QColor(Qt::red));
    QVERIFY(!image.isAnchor());
    // The original bytes, for the writer to give back unchanged.
    QCOMPARE(doc.resource(QTextDocument::UserResource,
                    QUrl(QStringLiteral("rtf-original:") + image.name()))
                 .toByteArray(),
        png);
}

void RtfReaderTest::linkedPicture()
{
    const QByteArray png = pngBytes(Qt::red, QSize(2, 2));
    const QByteArray rtf
        = "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"https://logo.example/\"}{\\fldrslt "
          "{\\pict\\pngblip "
        + png.toHex() + "}}}}";
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    const QTextImageFormat image = formatOf(doc, QStringLiteral("\ufffc")).toImageFormat();
    QVERIFY(image.isValid());
    QVERIFY(image.isAnchor());
    QCOMPARE(image.anchorHref(), QStringLiteral("https://logo.example/"));
}

void RtfReaderTest::jpegAndMetafile()
{
    const QByteArray jpeg = jpegBytes();
    const QByteArray rtf
        = "{\\rtf1 {\\pict\\jpegblip\\picscalex50\\picscaley200\\picwgoal300\\pichgoal300 "
        + jpeg.toHex()
        + "}{\\pict\\emfblip\\picw2540\\pich1270 "
          "0102}{\\pict\\wmetafile8\\picwgoal1500\\pichgoal750 01}}";
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    QList<QTextImageFormat> images;
    for (QTextBlock::iterator it = doc.begin().begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isImageFormat())
            images << it.fragment().charFormat().toImageFormat();
    }
    QCOMPARE(images.size(), 3);
    QVERIFY(imageName.match(images[0].name()).hasMatch());
    QVERIFY(images[0].name().endsWith(QLatin1String(".jpg")));
    QCOMPARE(images[0].width(), 10.0); // 300 twips at 50 %
    QCOMPARE(images[0].height(), 40.0);
    QCOMPARE(doc.resource(QTextDocument::UserResource,
                    QUrl(QStringLiteral("rtf-original:") + images[0].name()))
                 .toByteArray(),
        jpeg);
    // Metafiles: a placeholder of their size (here 1 inch by half an inch), no original kept.
    QCOMPARE(images[1].width(), 96.0);
    QCOMPARE(images[1].height(), 48.0);
    QCOMPARE(images[2].width(), 100.0);
    QCOMPARE(images[2].height(), 50.0);
    const QImage placeholder
        = doc.resource(QTextDocument::ImageResource, QUrl(images[2].name())).value<QImage>();
    QVERIFY(!placeholder.isNull());
    QVERIFY(!doc.resource(QTextDocument::UserResource,
                    QUrl(QStringLiteral("rtf-original:") + images[2].name()))
                 .isValid());
}

void RtfReaderTest::binaryPicture()
{
    // The same picture as \bin and as hex: one resource, named after its bytes; another picture
    // gets another name.
    const QByteArray png = pngBytes(Qt::green, QSize(3, 3));
    const QByteArray other = pngBytes(Qt::blue, QSize(3, 3));
    QByteArray rtf = "{\\rtf1 {\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png
        + "}x{\\pict\\pngblip " + png.toHex() + "}{\\pict\\pngblip " + other.toHex() + "}}";
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    QCOMPARE(blockTexts(doc), QStringLiteral("\ufffcx\ufffc\ufffc"));
    QStringList names;
    for (QTextBlock::iterator it = doc.begin().begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        if (format.isImageFormat()) {
            for (int i = 0; i < it.fragment().length(); ++i)
                names << format.toImageFormat().name();
        }
    }
    QCOMPARE(names.size(), 3);
    QCOMPARE(names[0], names[1]);
    QVERIFY(names[2] != names[0]);
    QCOMPARE(
        doc.resource(QTextDocument::UserResource, QUrl(QStringLiteral("rtf-original:") + names[0]))
            .toByteArray(),
        png);
    QCOMPARE(
        doc.resource(QTextDocument::UserResource, QUrl(QStringLiteral("rtf-original:") + names[2]))
            .toByteArray(),
        other);
}

void RtfReaderTest::pictureClaimingHugeSize()
{
    // A PNG header claiming 40000 x 40000 pixels (6.4 GB decoded) in a few bytes: never decoded,
    // a placeholder of the picture's size stands for it.
    QByteArray header = pngBytes(Qt::red, QSize(1, 1)).left(33);
    header[16] = header[20] = 0;
    header[17] = header[21] = 0;
    header[18] = header[22] = char(0x9c);
    header[19] = header[23] = 0x40;
    const QByteArray rtf
        = "{\\rtf1 {\\pict\\pngblip\\picwgoal1500\\pichgoal1500 " + header.toHex() + "}}";
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    const QTextImageFormat image = formatOf(doc, QStringLiteral("\ufffc")).toImageFormat();
    QCOMPARE(image.width(), 100.0);
    const QImage stored
        = doc.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
    QVERIFY(!stored.isNull());
    QVERIFY(stored.sizeInBytes() < 100000);
}

void RtfReaderTest::shapesReadInPlace_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");

    QTest::newRow("text box, its paragraphs by themselves")
        << QByteArray("a{\\shp{\\*\\shpinst{\\sp{\\sn fFilled}{\\sv 0}}{\\shptxt\\pard b\\par c}}"
                      "{\\shprslt{\\*\\do\\dptxbx{\\dptxbxtext\\pard b\\par c}}}}d")
        << QStringLiteral("a\nb\nc\nd");
    QTest::newRow("text box in a cell stays in it") << QByteArray(
        "\\trowd\\cellx900\\cellx1800\\intbl a{\\shp{\\*\\shpinst{\\shptxt b}}}\\cell "
        "c\\cell\\row") << QStringLiteral("\na\nb\nc\n"); // one table of two cells
    QTest::newRow("shape without text: its result")
        << QByteArray("a{\\shp{\\*\\shpinst{\\sp{\\sn fLine}{\\sv 0}}}{\\shprslt b}}c")
        << QStringLiteral("abc");
    QTest::newRow("shape picture, not its result")
        << QByteArray("a{\\shp{\\*\\shpinst{\\sp{\\sn pib}"
                      "{\\sv{\\pict\\pngblip "
               + pngBytes(Qt::red, QSize(2, 2)).toHex() + "}}}}{\\shprslt b}}c")
        << QStringLiteral("a\ufffcc");
    QTest::newRow("shape picture in a footnote")
        << QByteArray("a{\\footnote b{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv{\\pict\\pngblip "
               + pngBytes(Qt::red, QSize(2, 2)).toHex() + "}}}}{\\shprslt c}}}")
        << QStringLiteral("a\n________________\nb\ufffc");
    QTest::newRow("Word 95 text box, its anchor paragraph ended") << QByteArray(
        "a{\\*\\do\\dptxbx{\\dptxbxtext\\pard b\\par}}\\par c") << QStringLiteral("a\nb\nc");
    QTest::newRow("frame in place")
        << QByteArray("a\\par\\pard\\posx100\\absw900 b\\par\\pard c") << QStringLiteral("a\nb\nc");
}

void RtfReaderTest::shapesReadInPlace()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    QCOMPARE(readText("{\\rtf1\\ansi " + body + "}"), text);
}

void RtfReaderTest::notesFollowTheText_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");

    const QString rule = QStringLiteral("\n________________\n");
    QTest::newRow("footnotes numbered, in a table too")
        << QByteArray(
               "a{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} n\\par}\\par\\trowd\\cellx900"
               "\\intbl b{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} m}\\cell\\row")
        << QStringLiteral("a1\nb2") + rule + QStringLiteral("1 n\n2 m");
    QTest::newRow("endnotes after footnotes, in their style")
        << QByteArray("\\aftnnruc a{\\chftn}{\\footnote\\ftnalt\\pard e}b{\\chftn}{\\footnote f}")
        << QStringLiteral("aIb1") + rule + QStringLiteral("f\ne");
    QTest::newRow("own mark") << QByteArray("a*{\\footnote * n}")
                              << QStringLiteral("a*") + rule + QStringLiteral("* n");
    QTest::newRow("comments under their heading")
        << QByteArray(
               "a{\\*\\atnid J}{\\*\\atnauthor Jo \\'c5}\\chatn{\\*\\annotation{\\*\\atnref 0}"
               "\\pard{\\chatn}c}b\\chatn{\\*\\annotation d}")
        << QStringLiteral("a[1]b[2]") + rule + QStringLiteral("Comments\n[1] Jo \u00c5: c\n[2] d");
    QTest::newRow("a note in a note is not read") << QByteArray(
        "a{\\footnote n{\\footnote m}}") << QStringLiteral("a") + rule + QStringLiteral("n");
}

// A note's text follows the text; its mark stays in place, a superscript.
void RtfReaderTest::notesFollowTheText()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    QTextDocument doc;
    QVERIFY(RtfReader().read("{\\rtf1\\ansi " + body + "}", &doc));
    QCOMPARE(doc.toPlainText(), text);
    QCOMPARE(RtfReader::plainText("{\\rtf1\\ansi " + body + "}"), text);
    if (text.at(1).isLetterOrNumber() || text.at(1) == u'[')
        QCOMPARE(
            formatOf(doc, text.mid(1, 1)).verticalAlignment(), QTextCharFormat::AlignSuperScript);
}

void RtfReaderTest::leftOutContentIsReported_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("leftOut");
    QTest::addColumn<bool>("shown"); // b is in the note, though not as the file had it

    // What a user wrote and the note cannot show, or shows only in a place of its own.
    QTest::newRow("footnote") << QByteArray("a{\\super\\chftn}{\\footnote\\pard b}") << true
                              << true;
    QTest::newRow("endnote") << QByteArray("a{\\footnote\\ftnalt\\pard b}") << true << true;
    QTest::newRow("comment") << QByteArray("{\\*\\atnid J}{\\*\\atnauthor Jo}\\chatn"
                                           "{\\*\\annotation{\\*\\atnref 0}\\pard b}a")
                             << true << true;
    QTest::newRow("header") << QByteArray("{\\header\\pard b\\par}a") << true << false;
    QTest::newRow("first page footer") << QByteArray("{\\footerf\\pard b\\par}a") << true << false;
    QTest::newRow("text box") << QByteArray("{\\shp{\\*\\shpinst{\\sp{\\sn fLine}{\\sv 0}}"
                                            "{\\shptxt\\pard b\\par}}{\\shprslt c}}a")
                              << true << true;
    QTest::newRow("Word 95 text box")
        << QByteArray("{\\*\\do\\dobxpage\\dptxbx{\\dptxbxtext\\pard b\\par}}a") << true << true;
    QTest::newRow("metafile") << QByteArray("a{\\pict\\wmetafile8\\picw10\\pich10 0100}") << true
                              << false;
    // What describes the file rather than being written in it, or is shown.
    QTest::newRow("plain text") << QByteArray("a") << false << false;
    QTest::newRow("document information")
        << QByteArray("{\\info{\\title T}{\\author A}{\\*\\company C}{\\doccomm c}}a") << false
        << false;
    QTest::newRow("generator") << QByteArray("{\\*\\generator Writer;}a") << false << false;
    QTest::newRow("style sheet") << QByteArray("{\\stylesheet{\\s0 Normal;}}a") << false << false;
    QTest::newRow("bookmark") << QByteArray("{\\*\\bkmkstart m}a{\\*\\bkmkend m}") << false
                              << false;
    QTest::newRow("field instruction")
        << QByteArray("{\\field{\\*\\fldinst PAGE}{\\fldrslt a}}") << false << false;
    QTest::newRow("shape without text")
        << QByteArray("{\\shp{\\*\\shpinst{\\sp{\\sn fLine}{\\sv 0}}}{\\shprslt a}}") << false
        << false;
    QTest::newRow("footnote separator") << QByteArray("{\\*\\ftnsep\\chftnsep}a") << false << false;
}

void RtfReaderTest::leftOutContentIsReported()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, leftOut);
    QFETCH(bool, shown);
    QTextDocument doc;
    RtfReader reader;
    QVERIFY(reader.read("{\\rtf1\\ansi " + body + "}", &doc));
    QVERIFY(doc.toPlainText().contains(QLatin1Char('a')));
    QCOMPARE(doc.toPlainText().contains(QLatin1Char('b')), shown);
    QCOMPARE(reader.leftOutContent(), leftOut);
    // A reader used again tells of its new document only.
    QVERIFY(reader.read("{\\rtf1 plain}", &doc));
    QVERIFY(!reader.leftOutContent());
}

void RtfReaderTest::wordRepeatedRowIsOneTable()
{
    // Word writes the row definition before the row and again just before \row.
    const QByteArray rtf = "{\\rtf1 before\\par"
                           "\\trowd\\cellx1500\\cellx4500\\pard\\intbl a\\cell b\\cell"
                           "\\pard\\intbl{\\trowd\\cellx1500\\cellx4500\\row}"
                           "\\trowd\\cellx1500\\cellx4500\\pard\\intbl c\\cell d\\cell"
                           "\\pard\\intbl{\\trowd\\cellx1500\\cellx4500\\row}"
                           "\\pard after\\par}";
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    int tables = 0;
    for (QTextFrame *frame : doc.rootFrame()->childFrames()) {
        if (QTextTable *table = qobject_cast<QTextTable *>(frame)) {
            ++tables;
            QCOMPARE(table->rows(), 2);
            QCOMPARE(table->columns(), 2);
            QCOMPARE(table->cellAt(1, 1).firstCursorPosition().block().text(), QStringLiteral("d"));
            const QList<QTextLength> widths = table->format().columnWidthConstraints();
            QCOMPARE(widths.size(), 2);
            QCOMPARE(widths[0].rawValue(), 100.0);
            QCOMPARE(widths[1].rawValue(), 200.0);
        }
    }
    QCOMPARE(tables, 1);
    QCOMPARE(blockTexts(doc), QStringLiteral("before\na\nb\nc\nd\nafter"));
}

void RtfReaderTest::tableEdges_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("row without definition")
        << QByteArray("{\\rtf1\\intbl a\\cell b\\cell\\row\\pard c}")
        << QStringLiteral("\na\nb\nc");
    QTest::newRow("last cell without \\cell")
        << QByteArray("{\\rtf1\\trowd\\cellx100\\cellx200\\intbl a\\cell b\\row}")
        << QStringLiteral("\na\nb\n");
    QTest::newRow("more cells than \\cellx")
        << QByteArray("{\\rtf1\\trowd\\cellx100\\intbl a\\cell b\\cell c\\cell\\row\\pard}")
        << QStringLiteral("\na\nb\nc\n");
    QTest::newRow("paragraphs in a cell")
        << QByteArray("{\\rtf1\\intbl a\\par b\\cell\\row}") << QStringLiteral("\na\nb\n");
    QTest::newRow("stray \\cell and \\row")
        << QByteArray("{\\rtf1 a\\row b\\nestrow\\nestcell c}") << QStringLiteral("ab\nc");
    QTest::newRow("\\itap jumps levels")
        << QByteArray("{\\rtf1\\intbl\\itap5 deep\\nestcell\\nestrow\\pard out}")
        << QStringLiteral("\ndeep\n\n\nout");
    QByteArray wide = "{\\rtf1\\intbl ";
    QStringList wideCells;
    for (int i = 1; i <= 100; ++i) {
        wide += "c" + QByteArray::number(i) + "\\cell ";
        wideCells << QStringLiteral("c%1").arg(i);
    }
    QTest::newRow("cells past the column cap are paragraphs of the last, in order")
        << QByteArray(wide + "\\row}")
        << QStringLiteral("\n") + wideCells.join(QLatin1Char('\n')) + QStringLiteral("\n");
    QTest::newRow("table at the end")
        << QByteArray("{\\rtf1 x\\par\\intbl a\\cell\\row}") << QStringLiteral("x\na\n");
}

void RtfReaderTest::tableEdges()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(readText(rtf), text);
}

void RtfReaderTest::manyRows()
{
    // Rows are added in chunks and the spare ones removed: the table has exactly its rows, each
    // cell its own text, whatever the number of cells each row writes.
    QByteArray rtf = "{\\rtf1 ";
    for (int row = 0; row < 5000; ++row) {
        rtf += "\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl r" + QByteArray::number(row)
            + "\\cell ";
        if (row % 3 == 0)
            rtf += "second\\cell third\\cell ";
        rtf += "\\row\n";
    }
    rtf += "\\pard after}";
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    QTextTable *table = nullptr;
    for (QTextFrame *frame : doc.rootFrame()->childFrames())
        table = qobject_cast<QTextTable *>(frame);
    QVERIFY(table);
    QCOMPARE(table->rows(), 5000);
    QCOMPARE(table->columns(), 3);
    const auto text = [table](int row, int column) {
        return table->cellAt(row, column).firstCursorPosition().block().text();
    };
    QCOMPARE(text(4997, 0), QStringLiteral("r4997"));
    QCOMPARE(text(4997, 1), QString());
    QCOMPARE(text(4998, 1), QStringLiteral("second"));
    QCOMPARE(text(4998, 2), QStringLiteral("third"));
    QCOMPARE(text(4999, 0), QStringLiteral("r4999"));
    QCOMPARE(text(4999, 2), QString());
    QCOMPARE(doc.lastBlock().text(), QStringLiteral("after"));
}

void RtfReaderTest::wideCellsSpanColumns()
{
    // A row of fewer, wider cells: each cell goes to the columns its edges match.
    const QByteArray rtf
        = "{\\rtf1 "
          "\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl a\\cell b\\cell c\\cell\\row"
          "\\trowd\\cellx2000\\cellx3000\\intbl ab\\cell c2\\cell\\row"
          "\\trowd\\cellx1000\\cellx3010\\intbl a3\\cell bc\\cell\\row"
          "\\trowd\\cellx3000\\intbl all\\cell\\row"
          "\\trowd\\cellx1500\\cellx2500\\intbl x\\cell y\\cell\\row\\pard}";
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    QTextTable *table = qobject_cast<QTextTable *>(doc.rootFrame()->childFrames().value(0));
    QVERIFY(table);
    QCOMPARE(table->rows(), 5);
    QCOMPARE(table->columns(), 3);
    const auto cell = [table](int row, int column) {
        const QTextTableCell c = table->cellAt(row, column);
        return QStringLiteral("%1:%2x%3")
            .arg(c.firstCursorPosition().block().text())
            .arg(c.column())
            .arg(c.columnSpan());
    };
    QCOMPARE(cell(1, 0), QStringLiteral("ab:0x2"));
    QCOMPARE(cell(1, 2), QStringLiteral("c2:2x1"));
    QCOMPARE(cell(2, 0), QStringLiteral("a3:0x1"));
    QCOMPARE(cell(2, 1), QStringLiteral("bc:1x2")); // 10 twips off the edge still matches
    QCOMPARE(cell(3, 0), QStringLiteral("all:0x3"));
    // Edges that match nothing: the cells simply follow one another.
    QCOMPARE(cell(4, 0), QStringLiteral("x:0x1"));
    QCOMPARE(cell(4, 1), QStringLiteral("y:1x1"));
}

void RtfReaderTest::surplusCellsBelongToTheirRow()
{
    // Row 2 ends with one \cell more than its edges (as LibreOffice writes a row holding a
    // nested table): only that row has a fourth cell; in the others the last cell spans it,
    // unless it is merged down.
    const QByteArray rtf
        = "{\\rtf1 "
          "\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl a\\cell b\\cell c\\cell\\row"
          "\\trowd\\cellx2000\\cellx3000\\intbl ab\\cell c1\\cell\\row"
          "\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl x\\cell y\\cell z\\cell\\cell\\row"
          "\\trowd\\cellx1000\\clmgf\\cellx2000\\clmrg\\cellx3000\\intbl p\\cell q\\cell\\cell\\row"
          "\\trowd\\cellx1000\\cellx2000\\clvmgf\\cellx3000\\intbl r\\cell s\\cell t\\cell\\row"
          "\\trowd\\cellx1000\\cellx2000\\clvmrg\\cellx3000\\intbl u\\cell v\\cell\\cell\\row"
          "\\pard after\\par}";
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    QTextTable *table = qobject_cast<QTextTable *>(doc.rootFrame()->childFrames().value(0));
    QVERIFY(table);
    QCOMPARE(table->rows(), 6);
    QCOMPARE(table->columns(), 4);
    const auto cell = [table](int row, int column) {
        const QTextTableCell c = table->cellAt(row, column);
        return QStringLiteral("%1:%2x%3")
            .arg(c.firstCursorPosition().block().text())
            .arg(c.rowSpan())
            .arg(c.columnSpan());
    };
    QCOMPARE(cell(0, 2), QStringLiteral("c:1x2"));
    QCOMPARE(cell(0, 3), QStringLiteral("c:1x2"));
    QCOMPARE(cell(1, 0), QStringLiteral("ab:1x2"));
    QCOMPARE(cell(1, 2), QStringLiteral("c1:1x2"));
    QCOMPARE(cell(2, 2), QStringLiteral("z:1x1"));
    QCOMPARE(cell(2, 3), QStringLiteral(":1x1"));
    QCOMPARE(cell(3, 1), QStringLiteral("q:1x3")); // a cell merged across spans on
    QCOMPARE(cell(4, 2), QStringLiteral("t:2x1"));
    QCOMPARE(cell(4, 3), QStringLiteral(":1x1"));
    QCOMPARE(cell(5, 3), QStringLiteral(":1x1"));
    QCOMPARE(blockTexts(doc),
        QStringLiteral("\na\nb\nc\nab\nc1\nx\ny\nz\n\np\nq\nr\ns\nt\n\nu\nv\n\nafter"));
}

void RtfReaderTest::lists()
{
    // Legacy \pn: membership lasts until \pard; a new {\*\pn} of another kind starts a new list.
    QTextDocument doc;
    QVERIFY(RtfReader().read("{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}}"
                             "\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}"
                             "}\\fi-360\\li720 a\\par"
                             "{\\pntext\\f1\\'b7\\tab}b\\par"
                             "\\pard{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart1}c\\par"
                             "\\pard plain\\par}",
        &doc));
    const QTextBlock a = doc.begin();
    const QTextBlock b = a.next();
    const QTextBlock c = b.next();
    const QTextBlock plain = c.next();
    QVERIFY(a.textList());
    QCOMPARE(a.textList(), b.textList());
    QCOMPARE(a.textList()->format().style(), QTextListFormat::ListDisc);
    QCOMPARE(a.text(), QStringLiteral("a")); // the \pntext label is not text
    QVERIFY(c.textList() && c.textList() != a.textList());
    QCOMPARE(c.textList()->format().style(), QTextListFormat::ListUpperRoman);
    QVERIFY(!plain.textList());

    // Word lists: \ls and \ilvl; deeper levels restart after a higher item.
    QTextDocument word;
    QVERIFY(RtfReader().read(
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext \\'02\\'00.;}}"
        "{\\listlevel\\levelnfc4{\\leveltext \\'02\\'01);}}\\listid7}}"
        "{\\*\\listoverridetable{\\listoverride\\listid7\\ls3}}"
        "\\pard\\ls3 {\\listtext 1.\\tab}one\\par"
        "\\pard\\ls3\\ilvl1 {\\listtext a)\\tab}sub1\\par"
        "\\pard between\\par"
        "\\pard\\ls3 {\\listtext 2.\\tab}two\\par"
        "\\pard\\ls3\\ilvl1 {\\listtext a)\\tab}sub2\\par}",
        &word));
    QTextBlock block = word.begin();
    const QTextBlock one = block;
    const QTextBlock sub1 = block = block.next();
    const QTextBlock between = block = block.next();
    const QTextBlock two = block = block.next();
    const QTextBlock sub2 = block.next();
    QCOMPARE(one.text(), QStringLiteral("one"));
    QVERIFY(one.textList());
    QCOMPARE(one.textList()->format().style(), QTextListFormat::ListDecimal);
    QCOMPARE(one.textList()->format().indent(), 1);
    QCOMPARE(sub1.textList()->format().style(), QTextListFormat::ListLowerAlpha);
    QCOMPARE(sub1.textList()->format().indent(), 2);
    QVERIFY(!between.textList());
    QCOMPARE(two.textList(), one.textList()); // numbering goes on: "2."
    QCOMPARE(two.textList()->itemNumber(two), 1);
    QVERIFY(sub2.textList() != sub1.textList()); // "a)" again
    QCOMPARE(sub2.textList()->itemNumber(sub2), 0);
}

void RtfReaderTest::legacyNumbering()
{
    // Word 6/95 numbering: outline levels (\pnlvlN) number on through the section, past body
    // text and deeper items; simple numbering and bullets are runs of consecutive paragraphs; a
    // continuation paragraph (\pnlvlcont) has no number, keeps the list going and is indented
    // as far as the list's text, or keeps its own indents when there is no list to go on with.
    QTextDocument doc;
    QVERIFY(RtfReader().read("{\\rtf1 "
                             "\\pard{\\*\\pn\\pnlvl1\\pnucrm{\\pntxta .}}\\fi-720\\li720 One\\par"
                             "\\pard{\\*\\pn\\pnlvl2\\pnucltr}\\li1440 One A\\par"
                             "\\pard{\\*\\pn\\pnlvlcont\\pndec}\\li1440 more of One A\\par"
                             "\\pard{\\*\\pn\\pnlvl2\\pnucltr}\\li1440 One B\\par"
                             "\\pard Body text\\par"
                             "\\pard{\\*\\pn\\pnlvl1\\pnucrm}Two\\par"
                             "\\pard{\\*\\pn\\pnlvl2\\pnucltr}Two A\\sect"
                             "\\pard{\\*\\pn\\pnlvl1\\pnucrm}New section\\par"
                             "\\pard{\\*\\pn\\pnlvlbody\\pndec}a\\par"
                             "\\pard plain\\par"
                             "\\pard{\\*\\pn\\pnlvl10\\pndec}b\\par"
                             "\\pard{\\*\\pn\\pnlvl11}bullet\\par"
                             "\\pard{\\*\\pn\\pnlvlcont}\\li300\\fi-100 c\\par"
                             "\\pard\\li300 plain again\\par"
                             "\\pard{\\*\\pn\\pnlvlcont}\\li300\\fi-150 no list to go on\\par}",
        &doc));
    QStringList got;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextList *list = block.textList();
        if (!list) {
            got << QStringLiteral("%1: margin %2/%3")
                       .arg(block.text())
                       .arg(block.blockFormat().leftMargin())
                       .arg(block.blockFormat().textIndent());
            continue;
        }
        const bool bullet = list->format().style() == QTextListFormat::ListDisc;
        got << QStringLiteral("%1: %2 level %3")
                   .arg(block.text(), bullet ? QStringLiteral("\u2022") : list->itemText(block))
                   .arg(list->format().indent());
    }
    const QStringList expected = {
        QStringLiteral("One: I. level 1"),
        QStringLiteral("One A: A. level 2"),
        QStringLiteral("more of One A: margin 80/0"),
        QStringLiteral("One B: B. level 2"),
        QStringLiteral("Body text: margin 0/0"),
        QStringLiteral("Two: II. level 1"),
        QStringLiteral("Two A: A. level 2"),
        QStringLiteral("New section: I. level 1"),
        QStringLiteral("a: 1. level 1"),
        QStringLiteral("plain: margin 0/0"),
        QStringLiteral("b: 1. level 1"),
        QStringLiteral("bullet: \u2022 level 1"),
        QStringLiteral("c: margin 40/0"),
        QStringLiteral("plain again: margin 20/0"),
        QStringLiteral("no list to go on: margin 20/-10"),
    };
    QCOMPARE(got, expected);
}

void RtfReaderTest::bulletShapes_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("style");

    const QByteArray fonts = "{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}{\\f2\\fcharset2 "
                             "Wingdings;}{\\f3\\fcharset2 Symbol;}}";
    const auto word = [&fonts](const QByteArray &levelText) {
        return "{\\rtf1" + fonts + "{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext "
            + levelText
            + ";}}\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\pard\\ls1 "
              "item\\par}";
    };
    const auto legacy = [&fonts](const QByteArray &bullet) {
        return "{\\rtf1" + fonts + "\\pard{\\*\\pn\\pnlvlblt{\\pntxtb " + bullet + "}}item\\par}";
    };
    QTest::newRow("Word: Symbol bullet")
        << word("\\'01\\u-3913 ?") << int(QTextListFormat::ListDisc);
    QTest::newRow("Word: o is a circle") << word("\\'01o") << int(QTextListFormat::ListCircle);
    QTest::newRow("Word: Wingdings square")
        << word("\\'01\\u-3929 ?") << int(QTextListFormat::ListSquare);
    QTest::newRow("LibreOffice: white bullet")
        << word("\\'01\\u9702 ?") << int(QTextListFormat::ListCircle);
    QTest::newRow("LibreOffice: black square")
        << word("\\'01\\u9642 ?") << int(QTextListFormat::ListSquare);
    QTest::newRow("legacy: Symbol bullet") << legacy("\\'b7") << int(QTextListFormat::ListDisc);
    QTest::newRow("legacy: o") << legacy("o") << int(QTextListFormat::ListCircle);
    QTest::newRow("legacy: Wingdings square")
        << legacy("\\'a7") << int(QTextListFormat::ListSquare);
    QTest::newRow("legacy: numbers stay numbers")
        << QByteArray("{\\rtf1\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}{\\pntxtb o}}item\\par}")
        << int(QTextListFormat::ListDecimal);
}

void RtfReaderTest::bulletShapes()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, style);
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    QCOMPARE(doc.begin().text(), QStringLiteral("item"));
    QVERIFY(doc.begin().textList());
    QCOMPARE(int(doc.begin().textList()->format().style()), style);
}

void RtfReaderTest::mergedCellsKeepParagraphFormats()
{
    // The paragraph before a covered (merged) cell keeps its own format, across and down.
    const QByteArray rtf
        = "{\\rtf1 "
          "\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\clvmgf\\cellx3000"
          "\\pard\\intbl a\\par\\pard\\intbl\\qr\\cell\\pard\\intbl\\cell"
          "\\pard\\intbl b\\par\\pard\\intbl\\qc\\cell\\row"
          "\\trowd\\cellx1000\\cellx2000\\clvmrg\\cellx3000"
          "\\pard\\intbl c\\cell\\pard\\intbl\\qr d\\cell\\pard\\intbl\\cell\\row\\pard}";
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    QTextTable *table = qobject_cast<QTextTable *>(doc.rootFrame()->childFrames().value(0));
    QVERIFY(table);
    QCOMPARE(table->cellAt(0, 0).columnSpan(), 2);
    QCOMPARE(table->cellAt(0, 2).rowSpan(), 2);
    const auto alignment = [](const QTextBlock &block) {
        return int(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask);
    };
    const QTextBlock first = table->cellAt(0, 0).firstCursorPosition().block();
    QCOMPARE(first.text(), QStringLiteral("a"));
    QCOMPARE(alignment(first.next()), int(Qt::AlignRight));
    QCOMPARE(alignment(table->cellAt(0, 2).lastCursorPosition().block()), int(Qt::AlignHCenter));
    const QTextBlock d = table->cellAt(1, 1).firstCursorPosition().block();
    QCOMPARE(d.text(), QStringLiteral("d"));
    QCOMPARE(alignment(d), int(Qt::AlignRight));
}

void RtfReaderTest::emptyLastParagraphOfCellKeepsFormat()
{
    // Three rows, so the table has spare rows to remove when it closes; the last cell of the last
    // row (of the outer table and of a nested one) ends with an empty, formatted paragraph.
    const QByteArray rtf
        = "{\\rtf1 "
          "\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row"
          "\\pard\\intbl c\\cell d\\cell\\row"
          "\\pard\\intbl e\\cell\\pard\\intbl f\\par"
          "\\pard\\intbl\\itap2 n1\\nestcell\\pard\\intbl\\itap2 n2\\nestcell"
          "{\\*\\nesttableprops\\trowd\\cellx500\\cellx900\\nestrow}"
          "\\pard\\intbl\\itap2 n3\\nestcell\\pard\\intbl\\itap2 n4\\nestcell"
          "{\\*\\nesttableprops\\trowd\\cellx500\\cellx900\\nestrow}"
          "\\pard\\intbl\\itap2 n5\\nestcell\\pard\\intbl\\itap2\\qr\\fs36\\nestcell"
          "{\\*\\nesttableprops\\trowd\\cellx500\\cellx900\\nestrow}"
          "\\pard\\intbl\\qc\\sb200\\fs40\\cell\\row"
          "\\pard\\plain after\\par}";
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    QTextTable *table = qobject_cast<QTextTable *>(doc.rootFrame()->childFrames().value(0));
    QVERIFY(table);
    QCOMPARE(table->rows(), 3);
    const QTextBlock last = table->cellAt(2, 1).lastCursorPosition().block();
    QCOMPARE(last.text(), QString());
    QCOMPARE(int(last.blockFormat().alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignHCenter));
    QCOMPARE(last.blockFormat().topMargin(), 200 / 15.0);
    QCOMPARE(last.charFormat().fontPointSize(), 20.0);

    QTextTable *nested = qobject_cast<QTextTable *>(table->childFrames().value(0));
    QVERIFY(nested);
    QCOMPARE(nested->rows(), 3);
    const QTextBlock empty = nested->cellAt(2, 1).firstCursorPosition().block();
    QCOMPARE(empty.text(), QString());
    QCOMPARE(int(empty.blockFormat().alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignRight));
    QCOMPARE(empty.charFormat().fontPointSize(), 18.0);
    QCOMPARE(doc.lastBlock().text(), QStringLiteral("after"));
}

void RtfReaderTest::malformed_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("missing closing braces")
        << QByteArray("{\\rtf1 abc{\\b def") << QStringLiteral("abcdef");
    QTest::newRow("stray closing braces")
        << QByteArray("{\\rtf1 abc}} def}") << QStringLiteral("abc def");
    QTest::newRow("truncated hex at the end")
        << QByteArray("{\\rtf1 ab\\'4") << QStringLiteral("ab");
    QTest::newRow("one hex digit") << QByteArray("{\\rtf1 a\\'4 b}") << QStringLiteral("a b");
    QTest::newRow("not hex") << QByteArray("{\\rtf1 a\\'zzb}") << QStringLiteral("azzb");
    QTest::newRow("hex never eats a brace")
        << QByteArray("{\\rtf1 a\\'{\\b b}c}") << QStringLiteral("abc");
    QTest::newRow("backslash at the end") << QByteArray("{\\rtf1 a\\") << QStringLiteral("a");
    QTest::newRow("huge numbers") << QByteArray(
        "{\\rtf1 \\fs99999999999999999999 a\\f-99999999999 b\\cf4294967296 c\\li-99999999999 "
        "d\\sl99999999999 e\\cellx99999999999 f\\picw99999999999 g\\ls99999999999 h\\ilvl-9 i}")
                                  << QStringLiteral("abcdefghi");
    QTest::newRow("huge \\u") << QByteArray("{\\rtf1 a\\u99999999999 xb}") << QStringLiteral("ab");
    QTest::newRow("long control word")
        << QByteArray("{\\rtf1 a\\" + QByteArray(5000, 'x') + " b}") << QStringLiteral("ab");
    QTest::newRow("\\bin past the end")
        << QByteArray("{\\rtf1 a\\bin999999999 xyz") << QStringLiteral("a");
    QTest::newRow("\\bin negative") << QByteArray("{\\rtf1 a\\bin-5 b}") << QStringLiteral("ab");
    QTest::newRow("\\bin without a number")
        << QByteArray("{\\rtf1 a\\bin b}") << QStringLiteral("ab");
    QTest::newRow("\\bin in the body is not text")
        << QByteArray("{\\rtf1 a\\bin3 xyzb}") << QStringLiteral("ab");
    QTest::newRow("\\bin hides braces")
        << QByteArray("{\\rtf1 a{\\*\\x\\bin2 }}}b}") << QStringLiteral("ab");
    QTest::newRow("NUL bytes") << QByteArray("{\\rtf1 a\0b}", 11) << QStringLiteral("ab");
    QTest::newRow("unterminated font table")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial}{\\f1\\fcharset204 Cyr") << QString();
    QTest::newRow("unterminated picture")
        << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e") << QStringLiteral("a\ufffc");
    QTest::newRow("garbage picture")
        << QByteArray("{\\rtf1{\\pict\\pngblip zz00}{\\pict\\dibitmap0 2800000010}"
                      "{\\pict\\wbitmap0\\picw99999\\pich99999\\wbmbitspixel24 00}}")
        << QStringLiteral("\ufffc\ufffc\ufffc");
    QTest::newRow("\\* before text") << QByteArray("{\\rtf1 {\\*a}b}") << QStringLiteral("ab");
    QTest::newRow("list table garbage") << QByteArray(
        "{\\rtf1{\\*\\listtable{\\listlevel "
        "x}{\\list{\\listlevel{\\listlevel}}}}{\\*\\listoverridetable"
        "{\\ls5}}\\ls5\\ilvl8 a\\par}") << QStringLiteral("a");
    QTest::newRow("colour table garbage")
        << QByteArray("{\\rtf1{\\colortbl\\red999\\green-5;;;\\blue}\\cf1 a\\cf2 b\\cf99 c}")
        << QStringLiteral("abc");
}

void RtfReaderTest::malformed()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(readText(rtf), text);
}

void RtfReaderTest::deepNesting()
{
    // 100,000 nested groups: groups past the depth cap are read past, never recursed into.
    const int depth = 100000;
    QByteArray balanced
        = "{\\rtf1 a" + QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') + "b}";
    QCOMPARE(readText(balanced), QStringLiteral("ab"));
    // Shallow enough groups still count.
    QCOMPARE(readText("{\\rtf1 a" + QByteArray(500, '{') + "x" + QByteArray(500, '}') + "b}"),
        QStringLiteral("axb"));
    // A \* after a group read past belongs to no group start: it must not skip the group around.
    QCOMPARE(readText("{\\rtf1 a" + QByteArray(999, '{') + "{skipped}\\*\\foo b"
                 + QByteArray(999, '}') + "c}"),
        QStringLiteral("abc"));
    // Never closed.
    QCOMPARE(readText("{\\rtf1 a" + QByteArray(depth, '{') + "x"), QStringLiteral("a"));
    // Opened and closed at every level with formatting between.
    QByteArray mixed = "{\\rtf1 ";
    for (int i = 0; i < depth; ++i)
        mixed += "{\\b ";
    mixed += "z";
    QCOMPARE(readText(mixed), QString());
}

void RtfReaderTest::plainText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("paragraphs as lines")
        << QByteArray("{\\rtf1 one\\par two\\line 2\\par}") << QStringLiteral("one\ntwo\n2");
    QTest::newRow("cells separated") << QByteArray(
        "{\\rtf1\\trowd\\cellx900\\cellx1800\\intbl a\\cell b\\par\\cell\\row"
        "\\pard after\\par}") << QStringLiteral("a\tb\nafter");
    QTest::newRow("field result") << QByteArray("{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK "
                                                "\"http://a.example\"}{\\fldrslt here}} now}")
                                  << QStringLiteral("see here now");
    QTest::newRow("no pictures or hidden text, notes after the text")
        << QByteArray(
               "{\\rtf1 a{\\pict\\pngblip 89504e47}b{\\v hidden}{\\footnote n}\\'e9\\u8364?}")
        << QStringLiteral("ab\u00e9\u20ac\n________________\nn");
    QTest::newRow("not RTF") << QByteArray("plain") << QString();
}

void RtfReaderTest::plainText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(RtfReader::plainText(rtf), text);
}

void RtfReaderTest::plainTextMatchesDocument()
{
    // Outside tables the text-only reader gives the document's text, line by line.
    int compared = 0;
    for (const QString &name : QDir(dataDir()).entryList({ QStringLiteral("*.rtf") })) {
        const QByteArray rtf = readFile(dataDir() + QLatin1Char('/') + name);
        QTextDocument doc;
        QVERIFY(RtfReader().read(rtf, &doc));
        if (!doc.rootFrame()->childFrames().isEmpty())
            continue; // tables: the text reader separates cells by tabs
        QString text = blockTexts(doc);
        text.replace(QChar::LineSeparator, QLatin1Char('\n'))
            .remove(QChar::ObjectReplacementCharacter);
        while (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        QCOMPARE(RtfReader::plainText(rtf), text);
        ++compared;
    }
    QVERIFY(compared >= 5);
}

QTEST_MAIN(RtfReaderTest)
#include "tst_rtfreader.moc"
