// The RTF writer checked against the RTF text it produces: header and tables, escaping, the runs'
// control words, paragraph properties, lists, tables, pictures, links and determinism.
#include "rtf/RtfPicturePreparer.h"
#include "rtf/RtfWriter.h"
#include "rtf/RtfWriterPictureCache.h"

#include <QBuffer>
#include <QImage>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <QtTest>

namespace {

// A document whose default font does not depend on the machine.
struct Document
{
    Document()
    {
        doc.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
        doc.setUndoRedoEnabled(false);
    }
    QTextDocument doc;
    QTextCursor cursor { &doc };
};

QByteArray rtfOf(const QTextDocument &doc, double pointSize = 10)
{
    return RtfWriter(pointSize).write(doc);
}

// What comes after the header, without the closing brace.
QByteArray bodyOf(const QByteArray &rtf)
{
    const QByteArray marker = "\\viewkind4\\uc1";
    const qsizetype start = rtf.indexOf('\n', rtf.indexOf(marker)) + 1;
    const qsizetype end = rtf.lastIndexOf('}');
    return rtf.mid(start, end - start);
}

// Braces balance (escaped ones aside) and never close below the document's own group.
bool bracesBalance(const QByteArray &rtf)
{
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf.at(i);
        if (c == '\\') {
            ++i;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth < 0)
                return false;
            if (depth == 0 && i + 1 < rtf.size() && rtf.mid(i + 1).trimmed().size() > 0)
                return false;
        }
    }
    return depth == 0;
}

bool isSevenBit(const QByteArray &rtf)
{
    for (const char c : rtf) {
        if (static_cast<unsigned char>(c) > 0x7E || (c < 0x20 && c != '\n'))
            return false;
    }
    return true;
}

QByteArray pngBytes(const QSize &size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray jpegBytes(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

QByteArray hexOf(const QByteArray &bytes)
{
    return bytes.toHex();
}

// The hex lines of the first picture, joined.
QByteArray pictureHex(const QByteArray &rtf, QList<int> *lineLengths = nullptr)
{
    const qsizetype start = rtf.indexOf('\n', rtf.indexOf("{\\pict")) + 1;
    const qsizetype end = rtf.indexOf('}', start);
    QByteArray hex;
    for (const QByteArray &line : rtf.mid(start, end - start).split('\n')) {
        if (line.isEmpty())
            continue;
        if (lineLengths)
            lineLengths->append(int(line.size()));
        hex += line;
    }
    return hex;
}

} // namespace

class RtfWriterTest : public QObject
{
    Q_OBJECT

private slots:
    void emptyDocumentIsACompleteDocumentAtTheDefaultSize_data();
    void emptyDocumentIsACompleteDocumentAtTheDefaultSize();
    void textIsSevenBitAndEscaped_data();
    void textIsSevenBitAndEscaped();
    void runsWriteOnlyWhatChanges();
    void underlineKindsAndVerticalPosition_data();
    void underlineKindsAndVerticalPosition();
    void fontsAndColoursAreNumberedInOrderOfFirstUse();
    void sizesWithoutAPropertyUseTheDefaultSize();
    void paragraphPropertiesAreAllExplicit_data();
    void paragraphPropertiesAreAllExplicit();
    void pageBreaksBecomeBreakBefore();
    void emptyParagraphKeepsItsMarkFormat();
    void listsUseTheLegacyFormAndWordsListTable();
    void listLevelsAreIndents();
    void tableRowsCellsAndWidths();
    void mergedCellsAreMarked();
    void nestedTablesUseNestingWords();
    void originalPictureBytesAreKept_data();
    void originalPictureBytesAreKept();
    void imagesWithoutOriginalBytesAreEncodedAsPng();
    void missingPictureIsLeftOut();
    void pictureIsWrittenAnewOnlyWhenChanged_data();
    void pictureIsWrittenAnewOnlyWhenChanged();
    void pictureCacheKeepsTheLatestWithinItsBound();
    void picturesArePreparedInTheBackground();
    void linksBecomeHyperlinkFields();
    void symbolFontTextIsWrittenAsUnicode();
    void fontNamesBeyondAsciiUseTheirCodePage();
    void outputIsDeterministic();
};

void RtfWriterTest::emptyDocumentIsACompleteDocumentAtTheDefaultSize_data()
{
    QTest::addColumn<double>("pointSize");
    QTest::addColumn<QByteArray>("sizeWord");
    QTest::newRow("10 pt") << 10.0 << QByteArray("\\fs20");
    QTest::newRow("8.25 pt") << 8.25 << QByteArray("\\fs17");
    QTest::newRow("12 pt") << 12.0 << QByteArray("\\fs24");
    QTest::newRow("no size") << 0.0 << QByteArray("\\fs20");
}

void RtfWriterTest::emptyDocumentIsACompleteDocumentAtTheDefaultSize()
{
    QFETCH(double, pointSize);
    QFETCH(QByteArray, sizeWord);
    Document d;
    const QByteArray expected = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
                                "{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\n"
                                "{\\colortbl ;}\n"
                                "{\\*\\generator Quillmark;}\\viewkind4\\uc1\\deftab1200\n"
                                "\\pard\\ql\\li0\\ri0\\fi0\\sb0\\sa0\\f0"
        + sizeWord + "\\par\n}\n";
    QCOMPARE(rtfOf(d.doc, pointSize), expected);
}

void RtfWriterTest::textIsSevenBitAndEscaped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("plain") << QStringLiteral("Hello, world!") << QByteArray(" Hello, world!\\par");
    QTest::newRow("rtf specials") << QStringLiteral("a\\b{c}") << QByteArray(" a\\\\b\\{c\\}\\par");
    QTest::newRow("cp1252 letter")
        << QStringLiteral("caf\u00e9") << QByteArray(" caf\\u233\\'e9\\par");
    QTest::newRow("cp1252 upper range") << QStringLiteral("\u20ac\u2019\u0178")
                                        << QByteArray("\\u8364\\'80\\u8217\\'92\\u376\\'9f\\par");
    QTest::newRow("no cp1252 byte")
        << QStringLiteral("\u4e2d\u0416") << QByteArray("\\u20013?\\u1046?\\par");
    QTest::newRow("negative \\u") << QStringLiteral("\uff21") << QByteArray("\\u-223?\\par");
    QTest::newRow("surrogate pair")
        << QString::fromUcs4(U"\U0001F600") << QByteArray("\\u-10179?\\u-8704?\\par");
    QTest::newRow("symbol private area")
        << QStringLiteral("\uf0b7") << QByteArray("\\u-3913\\'b7\\par");
    QTest::newRow("tab and digit") << QStringLiteral("a\t1") << QByteArray(" a\\tab 1\\par");
    QTest::newRow("line separator")
        << QStringLiteral("a\u2028b\u2028\u2028") << QByteArray(" a\\line b\\line\\line\\par");
    QTest::newRow("special spaces and hyphens")
        << QStringLiteral("a\u00a0b\u00adc\u2011d") << QByteArray(" a\\~b\\-c\\_d\\par");
    QTest::newRow("control characters dropped")
        << QStringLiteral("a\u0001b\u007f") << QByteArray(" ab\\par");
}

void RtfWriterTest::textIsSevenBitAndEscaped()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    Document d;
    d.cursor.insertText(text);
    const QByteArray rtf = rtfOf(d.doc);
    QVERIFY2(isSevenBit(rtf), rtf.constData());
    QVERIFY(bracesBalance(rtf));
    QCOMPARE(bodyOf(rtf), "\\pard\\ql\\li0\\ri0\\fi0\\sb0\\sa0\\f0\\fs20" + expected + "\n");
}

void RtfWriterTest::runsWriteOnlyWhatChanges()
{
    Document d;
    QTextCharFormat plain;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat boldItalic = bold;
    boldItalic.setFontItalic(true);
    QTextCharFormat struck;
    struck.setFontStrikeOut(true);
    QTextCharFormat caps;
    caps.setFontCapitalization(QFont::SmallCaps);
    d.cursor.insertText(QStringLiteral("a "), plain);
    d.cursor.insertText(QStringLiteral("b"), bold);
    d.cursor.insertText(QStringLiteral("c"), boldItalic);
    d.cursor.insertText(QStringLiteral("d"), plain);
    d.cursor.insertText(QStringLiteral("e"), struck);
    d.cursor.insertText(QStringLiteral("f"), caps);
    d.cursor.insertBlock();
    d.cursor.insertText(QStringLiteral("g"), caps);
    d.cursor.insertText(QStringLiteral("h"), plain);
    QCOMPARE(bodyOf(rtfOf(d.doc)),
        QByteArray("\\pard\\ql\\li0\\ri0\\fi0\\sb0\\sa0\\f0\\fs20 a \\b b\\i c\\b0\\i0 d"
                   "\\strike e\\strike0\\scaps f\\par\n"
                   "\\pard\\ql\\li0\\ri0\\fi0\\sb0\\sa0 g\\scaps0 h\\par\n"));
}

void RtfWriterTest::underlineKindsAndVerticalPosition_data()
{
    QTest::addColumn<int>("underline");
    QTest::addColumn<int>("vertical");
    QTest::addColumn<QByteArray>("on");
    QTest::addColumn<QByteArray>("off");
    const int none = QTextCharFormat::NoUnderline;
    const int base = QTextCharFormat::AlignNormal;
    QTest::newRow("single") << int(QTextCharFormat::SingleUnderline) << base << QByteArray("\\ul")
                            << QByteArray("\\ulnone");
    QTest::newRow("dotted") << int(QTextCharFormat::DotLine) << base << QByteArray("\\ul\\uld")
                            << QByteArray("\\ulnone");
    QTest::newRow("dashed") << int(QTextCharFormat::DashUnderline) << base
                            << QByteArray("\\ul\\uldash") << QByteArray("\\ulnone");
    QTest::newRow("dash dot") << int(QTextCharFormat::DashDotLine) << base
                              << QByteArray("\\ul\\uldashd") << QByteArray("\\ulnone");
    QTest::newRow("dash dot dot") << int(QTextCharFormat::DashDotDotLine) << base
                                  << QByteArray("\\ul\\uldashdd") << QByteArray("\\ulnone");
    QTest::newRow("wave") << int(QTextCharFormat::WaveUnderline) << base
                          << QByteArray("\\ul\\ulwave") << QByteArray("\\ulnone");
    QTest::newRow("superscript") << none << int(QTextCharFormat::AlignSuperScript)
                                 << QByteArray("\\super") << QByteArray("\\nosupersub");
    QTest::newRow("subscript") << none << int(QTextCharFormat::AlignSubScript)
                               << QByteArray("\\sub") << QByteArray("\\nosupersub");
}

void RtfWriterTest::underlineKindsAndVerticalPosition()
{
    QFETCH(int, underline);
    QFETCH(int, vertical);
    QFETCH(QByteArray, on);
    QFETCH(QByteArray, off);
    Document d;
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::UnderlineStyle(underline));
    format.setVerticalAlignment(QTextCharFormat::VerticalAlignment(vertical));
    d.cursor.insertText(QStringLiteral("x"));
    d.cursor.insertText(QStringLiteral("y"), format);
    d.cursor.insertText(QStringLiteral("z"), QTextCharFormat());
    QVERIFY2(bodyOf(rtfOf(d.doc)).contains(" x" + on + " y" + off + " z\\par"), rtfOf(d.doc));
}

void RtfWriterTest::fontsAndColoursAreNumberedInOrderOfFirstUse()
{
    Document d;
    QTextCharFormat courier;
    courier.setFontFamilies({ QStringLiteral("Courier New") });
    courier.setForeground(QColor(255, 0, 0));
    QTextCharFormat times;
    times.setFontFamilies({ QStringLiteral("Times New Roman") });
    times.setBackground(QColor(0, 255, 0));
    times.setForeground(QColor(255, 0, 0));
    QTextCharFormat arial; // the default font by name
    arial.setFontFamilies({ QStringLiteral("Arial") });
    arial.setForeground(QColor(0, 0, 128));
    QTextCharFormat transparent;
    transparent.setForeground(QColor(0, 0, 0, 0));
    d.cursor.insertText(QStringLiteral("a"), courier);
    d.cursor.insertText(QStringLiteral("b"), times);
    d.cursor.insertText(QStringLiteral("c"), arial);
    d.cursor.insertText(QStringLiteral("d"), courier);
    d.cursor.insertText(QStringLiteral("e"), transparent);
    const QByteArray rtf = rtfOf(d.doc);
    QVERIFY(
        rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Courier New;}"
                     "{\\f2\\fnil\\fcharset0 Times New Roman;}}\n"));
    QVERIFY(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green255\\blue0;"
                         "\\red0\\green0\\blue128;}\n"));
    QCOMPARE(bodyOf(rtf),
        QByteArray("\\pard\\ql\\li0\\ri0\\fi0\\sb0\\sa0\\f1\\fs20\\cf1 a\\f2\\highlight2 b"
                   "\\f0\\cf3\\highlight0 c\\f1\\cf1 d\\f0\\cf0 e\\par\n"));
}

void RtfWriterTest::sizesWithoutAPropertyUseTheDefaultSize()
{
    Document d;
    QTextCharFormat big;
    big.setFontPointSize(15.5);
    QTextCharFormat pixels;
    pixels.setProperty(QTextFormat::FontPixelSize, 16);
    d.cursor.insertText(QStringLiteral("a"));
    d.cursor.insertText(QStringLiteral("b"), big);
    d.cursor.insertText(QStringLiteral("c"), pixels);
    QVERIFY(bodyOf(rtfOf(d.doc, 9)).contains("\\fs18 a\\fs31 b\\fs24 c\\par"));
}

void RtfWriterTest::paragraphPropertiesAreAllExplicit_data()
{
    QTest::addColumn<QTextBlockFormat>("format");
    QTest::addColumn<QByteArray>("words");
    QTextBlockFormat format;
    QTest::newRow("default") << format << QByteArray("\\ql\\li0\\ri0\\fi0\\sb0\\sa0");
    format.setAlignment(Qt::AlignHCenter);
    QTest::newRow("centred") << format << QByteArray("\\qc\\li0\\ri0\\fi0\\sb0\\sa0");
    format.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    QTest::newRow("right absolute") << format << QByteArray("\\qr\\li0\\ri0\\fi0\\sb0\\sa0");
    // Right to left, \ql and \qr are the paragraph's start and end: the left edge is its end.
    format.setLayoutDirection(Qt::RightToLeft);
    format.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    QTest::newRow("rtl left absolute")
        << format << QByteArray("\\qr\\rtlpar\\li0\\ri0\\fi0\\sb0\\sa0");
    format.setAlignment(Qt::AlignLeft);
    QTest::newRow("rtl start") << format << QByteArray("\\ql\\rtlpar\\li0\\ri0\\fi0\\sb0\\sa0");
    format.setLayoutDirection(Qt::LayoutDirectionAuto);
    format.setAlignment(Qt::AlignJustify);
    format.setLeftMargin(48);
    format.setRightMargin(10.5);
    format.setTextIndent(-24);
    format.setTopMargin(4);
    format.setBottomMargin(13.33);
    QTest::newRow("margins") << format << QByteArray("\\qj\\li720\\ri158\\fi-360\\sb60\\sa200");
    format = QTextBlockFormat();
    format.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    QTest::newRow("proportional") << format
                                  << QByteArray("\\ql\\li0\\ri0\\fi0\\sb0\\sa0\\sl360\\slmult1");
    format.setLineHeight(20, QTextBlockFormat::FixedHeight);
    QTest::newRow("exact") << format
                           << QByteArray("\\ql\\li0\\ri0\\fi0\\sb0\\sa0\\sl-300\\slmult0");
    format.setLineHeight(16, QTextBlockFormat::MinimumHeight);
    QTest::newRow("at least") << format
                              << QByteArray("\\ql\\li0\\ri0\\fi0\\sb0\\sa0\\sl240\\slmult0");
    format = QTextBlockFormat();
    format.setTabPositions({ QTextOption::Tab(48, QTextOption::LeftTab),
        QTextOption::Tab(96, QTextOption::RightTab), QTextOption::Tab(144, QTextOption::CenterTab),
        QTextOption::Tab(192, QTextOption::DelimiterTab, QLatin1Char('.')) });
    QTest::newRow("tab stops") << format
                               << QByteArray("\\ql\\li0\\ri0\\fi0\\sb0\\sa0\\tx720\\tqr\\tx1440"
                                             "\\tqc\\tx2160\\tqdec\\tx2880");
}

void RtfWriterTest::paragraphPropertiesAreAllExplicit()
{
    QFETCH(QTextBlockFormat, format);
    QFETCH(QByteArray, words);
    Document d;
    d.cursor.insertText(QStringLiteral("first"));
    d.cursor.insertBlock(format);
    d.cursor.insertText(QStringLiteral("second"));
    d.cursor.insertBlock(QTextBlockFormat());
    d.cursor.insertText(QStringLiteral("third"));
    const QList<QByteArray> lines = bodyOf(rtfOf(d.doc)).split('\n');
    QCOMPARE(lines.value(1), "\\pard" + words + " second\\par");
    // \pard resets everything, so the next paragraph starts over.
    QCOMPARE(lines.value(2), QByteArray("\\pard\\ql\\li0\\ri0\\fi0\\sb0\\sa0 third\\par"));
}

void RtfWriterTest::pageBreaksBecomeBreakBefore()
{
    Document d;
    QTextBlockFormat before;
    before.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextBlockFormat after;
    after.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysAfter);
    d.cursor.insertText(QStringLiteral("a"));
    d.cursor.insertBlock(before);
    d.cursor.insertText(QStringLiteral("b"));
    d.cursor.insertBlock(after);
    d.cursor.insertText(QStringLiteral("c"));
    d.cursor.insertBlock(QTextBlockFormat());
    d.cursor.insertText(QStringLiteral("d"));
    const QList<QByteArray> lines = bodyOf(rtfOf(d.doc)).split('\n');
    QVERIFY(!lines.value(0).contains("pagebb"));
    QVERIFY(lines.value(1).contains("\\pagebb b\\par"));
    QVERIFY(!lines.value(2).contains("pagebb"));
    QVERIFY(lines.value(3).contains("\\pagebb d\\par"));
}

void RtfWriterTest::emptyParagraphKeepsItsMarkFormat()
{
    Document d;
    QTextCharFormat big;
    big.setFontPointSize(20);
    d.cursor.insertText(QStringLiteral("a"));
    d.cursor.insertBlock(QTextBlockFormat(), big);
    d.cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    d.cursor.insertText(QStringLiteral("b"));
    const QList<QByteArray> lines = bodyOf(rtfOf(d.doc)).split('\n');
    QCOMPARE(lines.value(1), QByteArray("\\pard\\ql\\li0\\ri0\\fi0\\sb0\\sa0\\fs40\\par"));
    QCOMPARE(lines.value(2), QByteArray("\\pard\\ql\\li0\\ri0\\fi0\\sb0\\sa0\\fs20 b\\par"));
}

void RtfWriterTest::listsUseTheLegacyFormAndWordsListTable()
{
    Document d;
    d.cursor.insertText(QStringLiteral("intro"));
    d.cursor.insertBlock();
    d.cursor.createList(QTextListFormat::ListDisc);
    d.cursor.insertText(QStringLiteral("one"));
    d.cursor.insertBlock();
    d.cursor.insertText(QStringLiteral("two"));
    d.cursor.insertBlock(QTextBlockFormat());
    QTextListFormat roman;
    roman.setStyle(QTextListFormat::ListUpperRoman);
    roman.setNumberPrefix(QStringLiteral("("));
    roman.setNumberSuffix(QStringLiteral(")"));
    d.cursor.insertList(roman);
    for (int i = 0; i < 4; ++i) {
        if (i)
            d.cursor.insertBlock();
        d.cursor.insertText(QStringLiteral("r"));
    }
    d.cursor.insertBlock(QTextBlockFormat());
    d.cursor.createList(QTextListFormat::ListLowerAlpha);
    d.cursor.insertText(QStringLiteral("alpha"));
    const QByteArray rtf = rtfOf(d.doc);
    QVERIFY(rtf.contains("{\\f1\\ftech\\fcharset2 Symbol;}"));
    const QList<QByteArray> lines = bodyOf(rtf).split('\n');
    const QByteArray bullet = "\\pard\\ql\\li720\\ri0\\fi-360\\sb0\\sa0{\\pntext\\f1\\'b7\\tab}"
                              "{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}";
    QCOMPARE(lines.value(1), bullet + "\\ls1\\ilvl0 one\\par");
    QCOMPARE(lines.value(2), bullet + "\\ls1\\ilvl0 two\\par");
    QCOMPARE(lines.value(3), QByteArray("\\pard\\ql\\li0\\ri0\\fi0\\sb0\\sa0\\par"));
    const QByteArray pn = "{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pnucrm"
                          "{\\pntxtb (}{\\pntxta )}}";
    QCOMPARE(lines.value(4),
        "\\pard\\ql\\li720\\ri0\\fi-360\\sb0\\sa0{\\pntext (I)\\tab}" + pn + "\\ls2\\ilvl0 r\\par");
    QVERIFY(lines.value(7).contains("{\\pntext (IV)\\tab}"));
    QVERIFY(lines.value(8).contains("{\\pntext a.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0"
                                    "\\pnstart1\\pnlcltr{\\pntxta .}}\\ls3\\ilvl0 alpha\\par"));
    // Word's list table gives each list its style; the legacy words alone cannot say the level.
    const QByteArray level = "\\leveljc0\\levelfollow0\\levelstartat1";
    QVERIFY2(rtf.contains("{\\*\\listtable\n"
                          "{\\list\\listtemplateid1{\\listlevel\\levelnfc23"
                 + level
                 + "{\\leveltext\\'01\\'b7;}{\\levelnumbers;}\\f1\\fi-360\\li720}"
                   "{\\listname ;}\\listid1}\n"
                   "{\\list\\listtemplateid2{\\listlevel\\levelnfc1"
                 + level
                 + "{\\leveltext\\'03(\\'00);}{\\levelnumbers\\'02;}\\fi-360\\li720}"
                   "{\\listname ;}\\listid2}\n"
                   "{\\list\\listtemplateid3{\\listlevel\\levelnfc4"
                 + level
                 + "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}\\fi-360\\li720}"
                   "{\\listname ;}\\listid3}}\n"
                   "{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}"
                   "{\\listoverride\\listid2\\listoverridecount0\\ls2}"
                   "{\\listoverride\\listid3\\listoverridecount0\\ls3}}\n"
                   "{\\*\\generator"),
        rtf.constData());
}

void RtfWriterTest::listLevelsAreIndents()
{
    Document d;
    QTextListFormat outer;
    outer.setStyle(QTextListFormat::ListDecimal);
    QTextList *first = d.cursor.createList(outer);
    d.cursor.insertText(QStringLiteral("one"));
    QTextListFormat inner;
    inner.setStyle(QTextListFormat::ListCircle);
    inner.setIndent(2);
    d.cursor.insertBlock();
    d.cursor.createList(inner);
    d.cursor.insertText(QStringLiteral("one.a"));
    QTextBlockFormat third;
    third.setLeftMargin(10);
    d.cursor.insertBlock(third);
    first->add(d.cursor.block());
    d.cursor.insertText(QStringLiteral("two"));
    const QList<QByteArray> lines = bodyOf(rtfOf(d.doc)).split('\n');
    QVERIFY(lines.value(0).startsWith(
        "\\pard\\ql\\li720\\ri0\\fi-360\\sb0\\sa0\\f0\\fs20{\\pntext 1."));
    QVERIFY(lines.value(1).startsWith(
        "\\pard\\ql\\li1440\\ri0\\fi-360\\sb0\\sa0{\\pntext\\f1 o\\tab}"
        "{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb o}}\\ls2\\ilvl1 one.a\\par"));
    // Numbering goes on after the nested item, and the paragraph's own margin adds to the level.
    QVERIFY(lines.value(2).startsWith("\\pard\\ql\\li870\\ri0\\fi-360\\sb0\\sa0{\\pntext 2."));
    QVERIFY(lines.value(2).endsWith("\\ls1\\ilvl0 two\\par"));
    // A list at the second level has its level 0 and level 1 in the table.
    QVERIFY(rtfOf(d.doc).contains("{\\list\\listtemplateid2{\\listlevel\\levelnfc23"));
    QVERIFY(rtfOf(d.doc).contains("\\f1\\fi-360\\li1440}{\\listname ;}\\listid2}"));
}

void RtfWriterTest::tableRowsCellsAndWidths()
{
    Document d;
    QTextTableFormat format;
    format.setColumnWidthConstraints({ QTextLength(QTextLength::FixedLength, 100),
        QTextLength(QTextLength::PercentageLength, 50),
        QTextLength(QTextLength::VariableLength, 0) });
    format.setCellPadding(4);
    format.setBorder(0);
    QTextTable *table = d.cursor.insertTable(2, 3, format);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("a"));
    QTextCursor cell = table->cellAt(1, 2).firstCursorPosition();
    cell.insertText(QStringLiteral("b"));
    cell.insertBlock();
    cell.insertText(QStringLiteral("c"));
    QTextTableCellFormat shaded;
    shaded.setBackground(QColor(1, 2, 3));
    table->cellAt(0, 1).setFormat(shaded);
    const QByteArray body = bodyOf(rtfOf(d.doc));
    // 100 px, half of the 9360 twips a page holds, and the rest: the table follows the page.
    const QByteArray row1 = "\\trowd\\trgaph60\\trleft0\\trftsWidth2\\trwWidth5000\\cellx1500\\clcb"
                            "pat1\\cellx6180\\cellx9360";
    const QByteArray row2
        = "\\trowd\\trgaph60\\trleft0\\trftsWidth2\\trwWidth5000\\cellx1500\\cellx6180\\cellx9360";
    const QByteArray cellStart = "\\pard\\intbl\\ql\\li0\\ri0\\fi0\\sb0\\sa0";
    const QByteArray expected = "\\pard\\ql\\li0\\ri0\\fi0\\sb0\\sa0\\f0\\fs20\\par\n" + row1 + "\n"
        + cellStart + " a\\cell\n" + cellStart + "\\cell\n" + cellStart + "\\cell\n\\row\n" + row2
        + "\n" + cellStart + "\\cell\n" + cellStart + "\\cell\n" + cellStart + " b\\par\n"
        + cellStart + " c\\cell\n\\row\n\\pard\\ql\\li0\\ri0\\fi0\\sb0\\sa0\\par\n";
    QCOMPARE(body, expected);
}

void RtfWriterTest::mergedCellsAreMarked()
{
    Document d;
    QTextTableFormat format;
    format.setBorder(1);
    QTextTable *table = d.cursor.insertTable(2, 3, format);
    table->mergeCells(0, 0, 1, 2); // across
    table->mergeCells(0, 2, 2, 1); // down
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("wide"));
    table->cellAt(0, 2).firstCursorPosition().insertText(QStringLiteral("tall"));
    const QList<QByteArray> lines = bodyOf(rtfOf(d.doc)).split('\n');
    const QByteArray borders = "\\clbrdrt\\brdrs\\brdrw15\\clbrdrl\\brdrs\\brdrw15"
                               "\\clbrdrb\\brdrs\\brdrw15\\clbrdrr\\brdrs\\brdrw15";
    QCOMPARE(lines.value(1),
        "\\trowd\\trgaph0\\trleft0\\trftsWidth2\\trwWidth5000\\clmgf" + borders
            + "\\cellx3120\\clmrg" + borders + "\\cellx6240\\clvmgf" + borders + "\\cellx9360");
    QVERIFY(lines.value(2).endsWith(" wide\\cell"));
    QCOMPARE(lines.value(3), QByteArray("\\pard\\intbl\\cell"));
    QVERIFY(lines.value(4).endsWith(" tall\\cell"));
    QVERIFY(lines.value(6).contains("\\clvmrg" + borders + "\\cellx9360"));
    QCOMPARE(lines.value(9), QByteArray("\\pard\\intbl\\cell"));
}

void RtfWriterTest::nestedTablesUseNestingWords()
{
    Document d;
    QTextTableFormat format;
    format.setBorder(0);
    QTextTable *outer = d.cursor.insertTable(1, 2, format);
    outer->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("left"));
    QTextCursor inCell = outer->cellAt(0, 1).firstCursorPosition();
    inCell.insertText(QStringLiteral("above"));
    QTextTable *inner = inCell.insertTable(1, 2, format);
    inner->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("x"));
    inner->cellAt(0, 1)
        .firstCursorPosition()
        .insertTable(1, 1, format)
        ->cellAt(0, 0)
        .firstCursorPosition()
        .insertText(QStringLiteral("deep"));
    const QByteArray body = bodyOf(rtfOf(d.doc));
    const QByteArray props = "\\ql\\li0\\ri0\\fi0\\sb0\\sa0";
    QVERIFY2(body.contains("\\pard\\intbl\\itap1" + props
                 + " left\\cell\n"
                   "\\pard\\intbl\\itap1"
                 + props
                 + " above\\par\n"
                   "\\pard\\intbl\\itap2"
                 + props
                 + " x\\nestcell\n"
                   "\\pard\\intbl\\itap2"
                 + props
                 + "\\par\n"
                   "\\pard\\intbl\\itap3"
                 + props
                 + " deep\\nestcell\n"
                   "{\\*"
                   "\\nesttableprops\\trowd\\trgaph0\\trleft0\\trftsWidth2\\trwWidth5000\\cellx9360"
                   "\\nestrow}"
                   "{\\nonesttables\\par}\n"
                   "\\pard\\intbl\\itap2"
                 + props
                 + "\\nestcell\n"
                   "{\\*"
                   "\\nesttableprops\\trowd\\trgaph0\\trleft0\\trftsWidth2\\trwWidth5000\\cellx4680"
                   "\\cellx9360"
                   "\\nestrow}{\\nonesttables\\par}\n"
                   "\\pard\\intbl\\itap1"
                 + props + "\\cell\n\\row\n"),
        body.constData());
    QVERIFY(bracesBalance(rtfOf(d.doc)));
}

void RtfWriterTest::originalPictureBytesAreKept_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("blip");
    QTest::newRow("png") << pngBytes(QSize(40, 30), Qt::red) << QByteArray("\\pngblip");
    QTest::newRow("jpeg") << jpegBytes(QSize(40, 30)) << QByteArray("\\jpegblip");
}

void RtfWriterTest::originalPictureBytesAreKept()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, blip);
    Document d;
    const QString name = QStringLiteral("picture1");
    d.doc.addResource(QTextDocument::ImageResource, QUrl(name), QImage::fromData(bytes));
    d.doc.addResource(QTextDocument::UserResource, QUrl("rtf-original:" + name), bytes);
    QTextImageFormat image;
    image.setName(name);
    image.setWidth(80); // shown at twice its size; the height follows
    d.cursor.insertText(QStringLiteral("x"));
    d.cursor.insertImage(image);
    d.cursor.insertText(QStringLiteral("y"));
    const QByteArray rtf = rtfOf(d.doc);
    QVERIFY(rtf.contains(" x{\\pict" + blip + "\\picw40\\pich30\\picwgoal1200\\pichgoal900\n"));
    QList<int> lineLengths;
    QCOMPARE(pictureHex(rtf, &lineLengths), hexOf(bytes));
    for (int i = 0; i < lineLengths.size() - 1; ++i)
        QCOMPARE(lineLengths.at(i), 128);
    QVERIFY(lineLengths.last() <= 128);
    QVERIFY(rtf.contains("\n}y\\par"));
}

void RtfWriterTest::imagesWithoutOriginalBytesAreEncodedAsPng()
{
    Document d;
    QImage image(7, 5, QImage::Format_ARGB32);
    image.fill(QColor(10, 20, 30, 128));
    d.doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:1")), image);
    // Original bytes in a form RTF cannot carry are passed over for the image itself.
    d.doc.addResource(QTextDocument::UserResource, QUrl(QStringLiteral("rtf-original:mem:1")),
        QByteArray("BM not a png"));
    QTextImageFormat format;
    format.setName(QStringLiteral("mem:1"));
    format.setHeight(10);
    d.cursor.insertImage(format);
    d.cursor.insertImage(format);
    const QByteArray rtf = rtfOf(d.doc);
    QCOMPARE(rtf.count("{\\pict\\pngblip\\picw7\\pich5\\picwgoal210\\pichgoal150\n"), 2);
    const QImage decoded = QImage::fromData(QByteArray::fromHex(pictureHex(rtf)), "PNG");
    QCOMPARE(decoded.size(), QSize(7, 5));
    QCOMPARE(decoded.pixelColor(3, 2), QColor(10, 20, 30, 128));
}

void RtfWriterTest::missingPictureIsLeftOut()
{
    Document d;
    QTextImageFormat format;
    format.setName(QStringLiteral("nowhere:gone"));
    d.cursor.insertText(QStringLiteral("a"));
    d.cursor.insertImage(format);
    d.cursor.insertText(QStringLiteral("b"));
    const QByteArray body = bodyOf(rtfOf(d.doc));
    QVERIFY(!body.contains("\\pict"));
    QVERIFY(body.contains(" ab\\par"));
}

void RtfWriterTest::pictureIsWrittenAnewOnlyWhenChanged_data()
{
    QTest::addColumn<bool>("withOriginal");
    QTest::newRow("original bytes") << true;
    QTest::newRow("image only") << false;
}

void RtfWriterTest::pictureIsWrittenAnewOnlyWhenChanged()
{
    QFETCH(bool, withOriginal);
    Document d;
    const QString name = QStringLiteral("changing");
    const auto show = [&](QColor color) {
        const QByteArray bytes = pngBytes(QSize(6, 4), color);
        d.doc.addResource(QTextDocument::ImageResource, QUrl(name), QImage::fromData(bytes));
        if (withOriginal)
            d.doc.addResource(QTextDocument::UserResource, QUrl("rtf-original:" + name), bytes);
    };
    show(Qt::red);
    QTextImageFormat format;
    format.setName(name);
    d.cursor.insertImage(format);
    const QByteArray first = rtfOf(d.doc);
    QCOMPARE(rtfOf(d.doc), first);
    // In pieces (the autosave's way) the same bytes, the hex being the cache's own, not a copy.
    const QByteArrayList pieces = RtfWriter().writePieces(d.doc);
    QCOMPARE(pieces.join(), first);
    QCOMPARE(RtfWriter().writePieces(d.doc).at(1).constData(), pieces.at(1).constData());
    show(Qt::blue);
    const QImage written = QImage::fromData(QByteArray::fromHex(pictureHex(rtfOf(d.doc))), "PNG");
    QCOMPARE(written.pixelColor(0, 0), QColor(Qt::blue));
}

void RtfWriterTest::pictureCacheKeepsTheLatestWithinItsBound()
{
    // Room for all but a byte of three pictures (hex and bytes): the one used longest ago goes.
    Document d;
    QList<QVariant> originals;
    qsizetype all = 0;
    for (const QColor color : { Qt::red, Qt::green, Qt::blue }) {
        const QByteArray bytes = pngBytes(QSize(6, 4), color);
        originals.append(bytes);
        all += bytes.size() + bytes.toHex().size() + (bytes.size() + 63) / 64;
    }
    RtfWriterPictureCache cache(all - 1);
    const auto write = [&](int i) {
        const QString name = QStringLiteral("p%1").arg(i);
        d.doc.addResource(QTextDocument::UserResource, QUrl("rtf-original:" + name), originals[i]);
        QTextImageFormat format;
        format.setName(name);
        return RtfWriterPicture::fromFormat(d.doc, format, cache).kind();
    };
    const auto kept = [&](int i) {
        return cache
            .find(*RtfWriterPictureCache::keyOf(
                QStringLiteral("p%1").arg(i), RtfWriterPictureCache::Original, originals[i]))
            .has_value();
    };
    QCOMPARE(write(0), RtfWriterPicture::Png);
    QCOMPARE(write(1), RtfWriterPicture::Png);
    QVERIFY(kept(0)); // now used more lately than 1
    QCOMPARE(write(2), RtfWriterPicture::Png);
    QVERIFY(kept(0));
    QVERIFY(!kept(1));
    QVERIFY(kept(2));
    QVERIFY(cache.heldBytes() < all);
}

void RtfWriterTest::picturesArePreparedInTheBackground()
{
    // Once prepared, the first save finds the picture made: its hex is the cache's own.
    Document d;
    const QString name = QStringLiteral("prepared");
    const QByteArray bytes = pngBytes(QSize(9, 7), Qt::darkCyan);
    d.doc.addResource(QTextDocument::UserResource, QUrl("rtf-original:" + name), bytes);
    QTextImageFormat format;
    format.setName(name);
    d.cursor.insertImage(format);
    const auto key = RtfWriterPictureCache::keyOf(name, RtfWriterPictureCache::Original, bytes);
    QVERIFY(!RtfWriterPictureCache::shared().find(*key));
    RtfPicturePreparer preparer;
    preparer.prepare(d.doc);
    preparer.waitForDone();
    const auto prepared = RtfWriterPictureCache::shared().find(*key);
    QVERIFY(prepared);
    QCOMPARE(RtfWriter().writePieces(d.doc).at(1).constData(), prepared->hexLines().constData());
}

void RtfWriterTest::linksBecomeHyperlinkFields()
{
    Document d;
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.com/a?b=\"c\"&d=\u00e9"));
    link.setFontUnderline(true);
    link.setForeground(QColor(0, 0, 255));
    QTextCharFormat boldLink = link;
    boldLink.setFontWeight(QFont::Bold);
    QTextCharFormat other;
    other.setAnchor(true);
    other.setAnchorHref(QStringLiteral("mailto:x@example.com"));
    d.cursor.insertText(QStringLiteral("see "));
    d.cursor.insertText(QStringLiteral("the "), link);
    d.cursor.insertText(QStringLiteral("site"), boldLink);
    d.cursor.insertText(QStringLiteral("mail"), other);
    d.cursor.insertText(QStringLiteral(" end"), QTextCharFormat());
    QCOMPARE(bodyOf(rtfOf(d.doc)),
        QByteArray(
            "\\pard\\ql\\li0\\ri0\\fi0\\sb0\\sa0\\f0\\fs20 see "
            "{\\field{\\*\\fldinst{HYPERLINK \"https://example.com/a?b=%22c%22&d=\\u233\\'e9\"}}"
            "{\\fldrslt{\\ul\\cf1 the \\b site}}}"
            "{\\field{\\*\\fldinst{HYPERLINK \"mailto:x@example.com\"}}{\\fldrslt{mail}}}"
            " end\\par\n"));
}

void RtfWriterTest::symbolFontTextIsWrittenAsUnicode()
{
    // Readers take the bytes of a symbol font as its pictures (a as alpha), so even ASCII goes as
    // \uN there; a digit's fallback is hex so it cannot run on into the number, and a link's
    // instruction is not read in the symbol font.
    Document d;
    QTextCharFormat symbol;
    symbol.setFontFamilies({ QStringLiteral("Symbol") });
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.com/a\\b\"c"));
    d.cursor.insertText(QStringLiteral("a1 {\\}\u03b1"), symbol);
    d.cursor.insertText(QStringLiteral("x"), link);
    const QByteArray rtf = rtfOf(d.doc);
    QVERIFY(rtf.contains("{\\f1\\ftech\\fcharset2 Symbol;}"));
    QVERIFY2(bodyOf(rtf).contains("\\f1\\fs20\\u97a\\u49\\'31 \\u123\\'7b\\u92\\'5c\\u125\\'7d"
                                  "\\u945?\\f0{\\field{\\*\\fldinst{HYPERLINK "
                                  "\"https://example.com/a%5Cb%22c\"}}{\\fldrslt{x}}}\\par"),
        rtf.constData());
}

void RtfWriterTest::fontNamesBeyondAsciiUseTheirCodePage()
{
    Document d;
    const QStringList names = { QStringLiteral("\u5fae\u8f6f\u96c5\u9ed1"),
        QStringLiteral("\uff2d\uff33 \u30b4\u30b7\u30c3\u30af"),
        QStringLiteral("\u0410\u0440\u0438\u0430\u043b"), QStringLiteral("Caf\u00e9 Sans"),
        QStringLiteral("\U0001F600 Emoji") };
    for (const QString &name : names) {
        QTextCharFormat format;
        format.setFontFamilies({ name });
        d.cursor.insertText(QStringLiteral("x"), format);
    }
    const QByteArray rtf = rtfOf(d.doc);
    QVERIFY2(rtf.contains("{\\f1\\fnil\\fcharset134\\'ce\\'a2\\'c8\\'ed\\'d1\\'c5\\'ba\\'da;}"
                          "{\\f2\\fnil\\fcharset128\\'82\\'6c\\'82\\'72\\'20\\'83\\'53\\'83\\'56"
                          "\\'83\\'62\\'83\\'4e;}"
                          "{\\f3\\fnil\\fcharset204\\'c0\\'f0\\'e8\\'e0\\'eb;}"
                          "{\\f4\\fnil\\fcharset0\\'43\\'61\\'66\\'e9\\'20\\'53\\'61\\'6e\\'73;}"
                          "{\\f5\\fnil\\fcharset0\\u-10179?\\u-8704? Emoji;}}"),
        rtf.constData());
}

void RtfWriterTest::outputIsDeterministic()
{
    Document d;
    QTextCharFormat colored;
    colored.setForeground(QColor(200, 100, 0));
    colored.setFontFamilies({ QStringLiteral("DejaVu Serif") });
    d.cursor.insertText(QStringLiteral("caf\u00e9 "), colored);
    d.cursor.insertList(QTextListFormat::ListDecimal);
    d.cursor.insertText(QStringLiteral("item"));
    QImage image(3, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    d.doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("img")), image);
    d.cursor.insertImage(QStringLiteral("img"));
    d.cursor.insertTable(2, 2);
    const QByteArray first = rtfOf(d.doc);
    QCOMPARE(rtfOf(d.doc), first);
    std::unique_ptr<QTextDocument> copy(d.doc.clone());
    QCOMPARE(rtfOf(*copy), first);
    QVERIFY(isSevenBit(first));
    QVERIFY(bracesBalance(first));
    QVERIFY(!first.contains("\\creatim"));
}

QTEST_MAIN(RtfWriterTest)
#include "tst_rtfwriter.moc"
