// The RTF reader's fast paths against the plain way of doing the same: hex digits of pictures
// decoded sixteen at a time, text runs scanned sixteen bytes at a time, single-byte code pages
// decoded by table, printable text taken straight into the run, and paragraphs joined into one
// insertion. Each must give exactly what the simple way gives, whatever the input.
#include "rtf/RtfCodePages.h"
#include "rtf/RtfPicture.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfTokenizer.h"
#include "support/DocumentDump.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QtTest>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Hex digits with line breaks, spaces, other bytes and odd digits mixed in at random.
QByteArray randomHexText(QRandomGenerator &random, int length)
{
    static const char digits[] = "0123456789abcdefABCDEF";
    static const char others[] = " \n\r\tgGzZ/:@`\x7f\x80\xff";
    QByteArray text;
    for (int i = 0; i < length; ++i) {
        if (random.bounded(40) == 0)
            text += others[random.bounded(int(sizeof(others) - 1))];
        else
            text += digits[random.bounded(int(sizeof(digits) - 1))];
    }
    return text;
}

QStringList blockTexts(const QTextDocument &doc)
{
    QStringList texts;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts;
}

} // namespace

class RtfFastPathsTest : public QObject
{
    Q_OBJECT

private slots:
    void hexDigitsDecodeAsOneByOne();
    void textRunsEndWhereTheyShould();
    void singleByteCodePagesMatchTheirDecoders();
    void textBesideEscapedBytes_data();
    void textBesideEscapedBytes();
    void joinedParagraphs_data();
    void joinedParagraphs();
    void joinedParagraphsKeepFormats();
};

void RtfFastPathsTest::hexDigitsDecodeAsOneByOne()
{
    // The bytes must not depend on where the text is cut into pieces, nor on where a run of
    // sixteen digits starts.
    QRandomGenerator random(7);
    for (int round = 0; round < 300; ++round) {
        const QByteArray text = randomHexText(random, int(random.bounded(1, 400)));
        QByteArray expected;
        int nibble = -1;
        for (const char c : text) {
            const int h = hexValue(c);
            if (h < 0)
                continue;
            if (nibble < 0) {
                nibble = h;
            } else {
                expected += char(nibble * 16 + h);
                nibble = -1;
            }
        }
        RtfPicture picture;
        qsizetype at = 0;
        while (at < text.size()) {
            const qsizetype piece = std::min<qsizetype>(random.bounded(1, 70), text.size() - at);
            picture.appendHex(QByteArrayView(text).sliced(at, piece));
            at += piece;
        }
        QCOMPARE(picture.bytes(), expected);
    }
}

void RtfFastPathsTest::textRunsEndWhereTheyShould()
{
    // Random bytes of every value: each text run stops at the first brace, backslash or line
    // break, holds none of them, and is marked printable exactly when all its bytes are.
    QRandomGenerator random(11);
    for (int round = 0; round < 300; ++round) {
        QByteArray input;
        const int length = int(random.bounded(1, 200));
        for (int i = 0; i < length; ++i) {
            // Mostly letters, so that runs are long enough for the wide scan.
            input += random.bounded(6) == 0 ? char(random.bounded(256))
                                            : char('a' + random.bounded(26));
        }
        RtfTokenizer tokenizer(input);
        for (RtfToken token = tokenizer.next(); token.type != RtfToken::End;
             token = tokenizer.next()) {
            if (token.type != RtfToken::Text)
                continue;
            bool printable = true;
            for (const char c : token.data) {
                QVERIFY(c != '{' && c != '}' && c != '\\' && c != '\r' && c != '\n');
                if ((uchar(c) < 0x20 && c != '\t') || uchar(c) >= 0x7f)
                    printable = false;
            }
            QCOMPARE(token.printable, printable);
            const qsizetype end = token.data.data() + token.data.size() - input.constData();
            if (end < input.size())
                QVERIFY(QByteArrayView("{}\\\r\n").contains(input.at(end)));
        }
    }
}

void RtfFastPathsTest::singleByteCodePagesMatchTheirDecoders()
{
    for (const int codePage :
        { 437, 850, 874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 10000 }) {
        QVERIFY(RtfCodePages::isSingleByte(codePage));
        QByteArray bytes;
        for (int b = 1; b < 256; ++b)
            bytes += char(b);
        RtfCodePages codePages;
        QString byTable;
        codePages.decode(bytes, codePage, byTable);
        const QByteArray name = codePage == 437 ? "IBM437"
            : codePage == 850                   ? "IBM850"
            : codePage == 10000                 ? "macintosh"
                                                : "windows-" + QByteArray::number(codePage);
        QStringDecoder decoder(name.constData());
        QVERIFY2(decoder.isValid(), name.constData());
        QCOMPARE(byTable, QString(decoder.decode(bytes)));
    }
    QVERIFY(!RtfCodePages::isSingleByte(932));
    QVERIFY(!RtfCodePages::isSingleByte(65001));
}

void RtfFastPathsTest::textBesideEscapedBytes_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("1252 between text")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 and \\'80200}")
        << QStringLiteral("caf\u00e9 and \u20ac200");
    // Shift JIS: a lead byte as \'hh with its trail byte as plain text after it.
    QTest::newRow("932 trail byte in the text")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932 a\\'83Ab}") << QStringLiteral("a\u30a2b");
    QTest::newRow("936 pairs") << QByteArray("{\\rtf1\\ansi\\ansicpg936 x\\'c4\\'e3y}")
                               << QStringLiteral("x\u4f60y");
    QTest::newRow("symbol font text") << QByteArray(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}"
        "a{\\f1 abg}c}") << QStringLiteral("a\u03b1\u03b2\u03b3c");
    QTest::newRow("control characters left out") << QByteArray("{\\rtf1\\ansi a\x01"
                                                               "b\\'02c\\u8233?d\x7f"
                                                               "e}")
                                                 << QStringLiteral("abcde");
    QTest::newRow("tab kept") << QByteArray("{\\rtf1\\ansi a\tb\\tab c}")
                              << QStringLiteral("a\tb\tc");
}

void RtfFastPathsTest::textBesideEscapedBytes()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    QCOMPARE(doc.toPlainText(), text);
}

void RtfFastPathsTest::joinedParagraphs_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("blocks");
    QTest::addColumn<int>("tableBlocks");
    const QStringList abc = { "A", "B", "C" };
    QTest::newRow("plain") << QByteArray("A\\par B\\par C") << abc << 0;
    QTest::newRow("last paragraph ended") << QByteArray("A\\par B\\par C\\par") << abc << 0;
    QTest::newRow("pard between") << QByteArray("\\pard A\\par\\pard B\\par\\pard C\\par") << abc
                                  << 0;
    QTest::newRow("empty paragraphs") << QByteArray("A\\par\\par B\\par\\par\\par C")
                                      << QStringList { "A", "", "B", "", "", "C" } << 0;
    QTest::newRow("format change between") << QByteArray("A\\par{\\b B}\\par C") << abc << 0;
    QTest::newRow("then a table") << QByteArray(
        "A\\par B\\par\\trowd\\cellx1000\\intbl C\\cell\\row\\pard D")
                                  << QStringList { "A", "B", "C", "D" } << 1;
    QTest::newRow("page break") << QByteArray("A\\par B\\page C") << abc << 0;
    QTest::newRow("line break inside")
        << QByteArray("A\\line A\\par B") << QStringList { "A\u2028A", "B" } << 0;
    QTest::newRow("picture ends a paragraph")
        << QByteArray("A\\par B{\\pict\\wmetafile8\\picw100\\pich100 0102}\\par C")
        << QStringList { "A", "B\ufffc", "C" } << 0;
    QTest::newRow("list after") << QByteArray(
        "A\\par B\\par{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}C\\par")
                                << abc << 0;
}

void RtfFastPathsTest::joinedParagraphs()
{
    QFETCH(QByteArray, body);
    QFETCH(QStringList, blocks);
    QFETCH(int, tableBlocks);
    QTextDocument doc;
    QVERIFY(
        RtfReader().read("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\fs20 " + body + "}", &doc));
    QCOMPARE(blockTexts(doc), blocks);
    int inTables = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        inTables += QTextCursor(block).currentTable() ? 1 : 0;
    QCOMPARE(inTables, tableBlocks);
}

void RtfFastPathsTest::joinedParagraphsKeepFormats()
{
    // Joined paragraphs get the format of the paragraph before; a paragraph formatted otherwise
    // gets its own, and an empty paragraph keeps the character format it was given.
    QTextDocument doc;
    QVERIFY(RtfReader().read("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}"
                             "\\pard\\sa200\\fs20 A\\par\\pard\\sa200 B\\par"
                             "\\pard\\qc\\sa200 C\\par\\pard\\sa200 D\\par\\fs40\\par E}",
        &doc));
    QCOMPARE(blockTexts(doc), (QStringList { "A", "B", "C", "D", "", "E" }));
    QTextBlock block = doc.begin();
    const QTextBlockFormat first = block.blockFormat();
    QCOMPARE(first.bottomMargin(), 200 / 15.0);
    block = block.next();
    QCOMPARE(block.blockFormat(), first);
    block = block.next();
    QCOMPARE(block.blockFormat().alignment(), Qt::AlignHCenter);
    block = block.next();
    QCOMPARE(block.blockFormat(), first);
    block = block.next();
    QCOMPARE(block.charFormat().fontPointSize(), 20.0);
    block = block.next();
    QTextCursor e(block);
    e.movePosition(QTextCursor::NextCharacter);
    QCOMPARE(e.charFormat().fontPointSize(), 20.0);
}

QTEST_MAIN(RtfFastPathsTest)
#include "tst_rtffastpaths.moc"
