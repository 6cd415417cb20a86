// Writer and reader together: generated documents mixing every format RTF carries, and every RTF
// file of the test data, come back from write-then-read with the same normalised dump, and writing
// what was read gives the same bytes again.
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"
#include "support/DocumentDump.h"

#include <QBuffer>
#include <QDirIterator>
#include <QImage>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QtTest>

namespace {

// Builds documents in the form the reader gives them (every run with its font and size, measures
// in whole pixels, tables with fixed column widths and a border), so that a format lost on the way
// shows in the dump.
class DocumentGenerator
{
public:
    explicit DocumentGenerator(quint32 seed)
        : m_random(seed)
    { }

    void fill(QTextDocument *document)
    {
        m_document = document;
        QTextCursor cursor(document);
        const int parts = 6 + pick(10);
        for (int part = 0; part < parts; ++part) {
            if (part > 0)
                cursor.insertBlock(blockFormat(), charFormat());
            switch (pick(6)) {
            case 0:
                addList(cursor);
                break;
            case 1:
                addTable(cursor, 1);
                break;
            default:
                addParagraphs(cursor, 1 + pick(3));
                break;
            }
        }
    }

private:
    int pick(int count) { return int(m_random.bounded(quint32(count))); }
    bool chance(int percent) { return pick(100) < percent; }

    QTextCharFormat charFormat()
    {
        static const char *const families[] = { "Arial", "Times New Roman", "Courier New",
            "DejaVu Sans", "Liberation Serif", "Symbol", "\u5fae\u8f6f\u96c5\u9ed1" };
        static const double sizes[] = { 8, 9.5, 10, 11, 12, 14, 20, 36 };
        QTextCharFormat format;
        format.setFontFamilies({ QString::fromUtf8(families[pick(std::size(families))]) });
        format.setFontPointSize(sizes[pick(std::size(sizes))]);
        if (chance(25))
            format.setFontWeight(QFont::Bold);
        if (chance(25))
            format.setFontItalic(true);
        if (chance(20)) {
            static const QTextCharFormat::UnderlineStyle styles[]
                = { QTextCharFormat::SingleUnderline, QTextCharFormat::DashUnderline,
                      QTextCharFormat::DotLine, QTextCharFormat::DashDotLine,
                      QTextCharFormat::DashDotDotLine, QTextCharFormat::WaveUnderline };
            format.setUnderlineStyle(styles[pick(std::size(styles))]);
        }
        if (chance(10))
            format.setFontStrikeOut(true);
        if (chance(10))
            format.setVerticalAlignment(
                chance(50) ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignSubScript);
        if (chance(8))
            format.setFontCapitalization(chance(50) ? QFont::AllUppercase : QFont::SmallCaps);
        if (chance(20))
            format.setForeground(color());
        if (chance(15))
            format.setBackground(color());
        return format;
    }

    QColor color()
    {
        static const QRgb colors[]
            = { 0xff0000, 0x00ff00, 0x0000ff, 0x123456, 0x808080, 0xfedcba, 0x000000 };
        return QColor::fromRgb(colors[pick(std::size(colors))]);
    }

    QTextBlockFormat blockFormat()
    {
        QTextBlockFormat format;
        static const Qt::Alignment alignments[]
            = { Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify };
        format.setAlignment(alignments[pick(4)]);
        if (chance(30))
            format.setLeftMargin(pick(100));
        if (chance(20))
            format.setRightMargin(pick(60));
        if (chance(20))
            format.setTextIndent(pick(60) - 30);
        if (chance(30))
            format.setTopMargin(pick(20));
        if (chance(30))
            format.setBottomMargin(pick(20));
        switch (pick(6)) {
        case 0:
            format.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
            break;
        case 1:
            format.setLineHeight(115, QTextBlockFormat::ProportionalHeight);
            break;
        case 2:
            format.setLineHeight(10 + pick(20), QTextBlockFormat::FixedHeight);
            break;
        case 3:
            format.setLineHeight(10 + pick(20), QTextBlockFormat::MinimumHeight);
            break;
        default:
            break;
        }
        if (chance(15)) {
            QList<QTextOption::Tab> tabs;
            static const QTextOption::TabType types[] = { QTextOption::LeftTab,
                QTextOption::RightTab, QTextOption::CenterTab, QTextOption::DelimiterTab };
            qreal position = 0;
            for (int i = pick(3); i >= 0; --i) {
                position += 20 + pick(80);
                tabs << QTextOption::Tab(position, types[pick(4)]);
            }
            format.setTabPositions(tabs);
        }
        if (chance(5))
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        return format;
    }

    QString text()
    {
        static const char *const words[] = { "note", "plan", "Monday", "caf\u00e9", "na\u00efve",
            "\u20ac5", "\u2018quoted\u2019", "\u041f\u0440\u0438\u0432\u0435\u0442",
            "\u03b1\u03b2\u03b3", "\u4e2d\u6587", "\u3042\u3044", "\U0001F600", "{braces}",
            "back\\slash", "a\tb", "line\u2028break", "no\u00a0break", "soft\u00adhyphen",
            "non\u2011breaking", "x", "42", "-" };
        QString result;
        for (int i = 1 + pick(5); i > 0; --i) {
            if (!result.isEmpty())
                result += QLatin1Char(' ');
            result += QString::fromUtf8(words[pick(std::size(words))]);
        }
        return result;
    }

    void addRuns(QTextCursor &cursor)
    {
        for (int i = 1 + pick(4); i > 0; --i) {
            QTextCharFormat format = charFormat();
            if (chance(10)) {
                format.setAnchor(true);
                format.setAnchorHref(
                    QStringLiteral("https://example.com/%1?q=caf\u00e9&x=y#part").arg(pick(3)));
            }
            if (chance(6)) {
                addImage(cursor, format);
                continue;
            }
            cursor.insertText(text(), format);
        }
    }

    void addImage(QTextCursor &cursor, const QTextCharFormat &around)
    {
        const int number = ++m_images;
        const QString name = QStringLiteral("generated-%1").arg(number);
        QImage image(3 + pick(20), 3 + pick(20), QImage::Format_RGB32);
        image.fill(color());
        // Each picture its own pixels: the reader shares one resource between equal pictures.
        image.setPixelColor(0, 0, QColor::fromRgb(QRgb(0x10101 * number)));
        m_document->addResource(QTextDocument::ImageResource, QUrl(name), image);
        if (chance(50)) {
            // As the reader leaves a picture it read: its original bytes beside it.
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, chance(50) ? "PNG" : "JPEG", 100);
            image = QImage::fromData(bytes);
            m_document->addResource(QTextDocument::ImageResource, QUrl(name), image);
            m_document->addResource(
                QTextDocument::UserResource, QUrl(QStringLiteral("rtf-original:") + name), bytes);
        }
        QTextImageFormat format;
        format.merge(around);
        format.setName(name);
        format.setWidth(image.width() * (1 + pick(3)));
        format.setHeight(image.height() * (1 + pick(3)));
        cursor.insertImage(format);
    }

    void addParagraphs(QTextCursor &cursor, int count)
    {
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                cursor.insertBlock(blockFormat(), charFormat());
            else
                cursor.setBlockFormat(blockFormat());
            if (chance(90))
                addRuns(cursor);
        }
    }

    void addList(QTextCursor &cursor)
    {
        static const QTextListFormat::Style styles[]
            = { QTextListFormat::ListDisc, QTextListFormat::ListDecimal,
                  QTextListFormat::ListLowerAlpha, QTextListFormat::ListUpperAlpha,
                  QTextListFormat::ListLowerRoman, QTextListFormat::ListUpperRoman };
        QList<QTextList *> levels;
        const int items = 1 + pick(6);
        for (int item = 0; item < items; ++item) {
            if (item > 0)
                cursor.insertBlock(QTextBlockFormat(), charFormat());
            QTextBlockFormat block = blockFormat();
            // List items take their indent from the list.
            block.setLeftMargin(0);
            block.setTextIndent(0);
            cursor.setBlockFormat(block);
            const int level = levels.isEmpty() ? 1 : qBound(1, int(levels.size()) + pick(3) - 1, 3);
            while (levels.size() > level)
                levels.removeLast();
            if (levels.size() == level) {
                levels.last()->add(cursor.block());
            } else {
                QTextListFormat format;
                format.setStyle(styles[pick(std::size(styles))]);
                format.setIndent(level);
                levels << cursor.createList(format);
            }
            addRuns(cursor);
        }
        cursor.insertBlock(QTextBlockFormat(), charFormat());
        addParagraphs(cursor, 1);
    }

    void addTable(QTextCursor &cursor, int depth)
    {
        const int rows = 1 + pick(3);
        const int columns = 1 + pick(3);
        QTextTableFormat format;
        format.setBorder(1);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setCellSpacing(0);
        format.setCellPadding(pick(8));
        QList<QTextLength> widths;
        for (int column = 0; column < columns; ++column)
            widths << QTextLength(QTextLength::FixedLength, 40 + pick(120));
        format.setColumnWidthConstraints(widths);
        QTextTable *table = cursor.insertTable(rows, columns, format);
        if (rows > 1 && chance(30))
            table->mergeCells(0, 0, 2, 1);
        else if (columns > 1 && chance(30))
            table->mergeCells(0, 0, 1, 2);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() != row || cell.column() != column)
                    continue;
                if (chance(20)) {
                    QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
                    cellFormat.setBackground(color());
                    cell.setFormat(cellFormat);
                }
                QTextCursor inCell = cell.firstCursorPosition();
                inCell.mergeBlockCharFormat(charFormat());
                // Empty paragraphs too: the last one of a table's last cell once lost its format
                // when the reader removed its spare rows.
                addParagraphs(inCell, 1 + pick(2));
                if (depth < 3 && chance(15)) {
                    addTable(inCell, depth + 1);
                    inCell.mergeBlockCharFormat(charFormat());
                    addRuns(inCell);
                }
            }
        }
        cursor.movePosition(QTextCursor::End);
    }

    QRandomGenerator m_random;
    QTextDocument *m_document = nullptr;
    int m_images = 0;
};

// The size text has when it has none of its own, as the writer is told.
constexpr double defaultPointSize = 10;

// The dump with image names replaced by their order of appearance (the reader names the pictures
// it reads its own way), and runs without a font or size of their own given the document's
// default ones, which is what they show and what the writer names.
QString comparableDump(const QTextDocument &document)
{
    static const QRegularExpression imageName(QStringLiteral("image name=\"[^\"]*\""));
    QString dump = dumpDocument(document);
    dump.replace(QStringLiteral(" font=- "),
        QStringLiteral(" font=%1 ").arg(document.defaultFont().family()));
    static const QRegularExpression noSize(
        QStringLiteral(" size=-(?= |$)"), QRegularExpression::MultilineOption);
    dump.replace(noSize, QStringLiteral(" size=%1").arg(defaultPointSize));
    int number = 0;
    QRegularExpressionMatch match;
    qsizetype from = 0;
    while ((match = imageName.match(dump, from)).hasMatch()) {
        const QString replacement = QStringLiteral("image #%1").arg(++number);
        dump.replace(match.capturedStart(), match.capturedLength(), replacement);
        from = match.capturedStart() + replacement.size();
    }
    return dump;
}

QByteArray writeRtf(const QTextDocument &document)
{
    return RtfWriter(defaultPointSize).write(document);
}

bool readRtf(const QByteArray &rtf, QTextDocument *document)
{
    document->setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    return RtfReader().read(rtf, document);
}

// RTF gives every column a width (\\cellx), so a table read without fixed widths (a reader's
// extra column, a broken file) comes back with them: such tables' widths are left out of both.
void maskUnfixedWidths(QString *before, QString *after)
{
    static const QRegularExpression widths(QStringLiteral("widths=\\S*"));
    static const QRegularExpression unfixed(QStringLiteral("widths=(-|\\S*auto)"));
    QStringList a = before->split(QLatin1Char('\n'));
    QStringList b = after->split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < qMin(a.size(), b.size()); ++i) {
        if (unfixed.match(a.at(i)).hasMatch()) {
            a[i].replace(widths, QStringLiteral("widths=?"));
            b[i].replace(widths, QStringLiteral("widths=?"));
        }
    }
    *before = a.join(QLatin1Char('\n'));
    *after = b.join(QLatin1Char('\n'));
}

// The first line where two dumps differ, for a readable failure.
QString firstDifference(const QString &expected, const QString &actual)
{
    const QStringList a = expected.split(QLatin1Char('\n'));
    const QStringList b = actual.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < qMax(a.size(), b.size()); ++i) {
        if (a.value(i) != b.value(i))
            return QStringLiteral("line %1\n  was:   %2\n  after: %3")
                .arg(i + 1)
                .arg(a.value(i), b.value(i));
    }
    return QString();
}

} // namespace

class RtfWriterRoundTripTest : public QObject
{
    Q_OBJECT

private slots:
    void generatedDocumentsSurvive_data();
    void generatedDocumentsSurvive();
    void testDataSurvives_data();
    void testDataSurvives();
    void clipboardStyleDocumentsSurvive();
    void pastedHeadingsKeepTheSizeShown_data();
    void pastedHeadingsKeepTheSizeShown();
    void tableRelativeToTheBoxStaysRelative();
    void formerReaderGapsStayClosed_data();
    void formerReaderGapsStayClosed();
};

void RtfWriterRoundTripTest::generatedDocumentsSurvive_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 100; ++seed)
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

void RtfWriterRoundTripTest::generatedDocumentsSurvive()
{
    QFETCH(quint32, seed);
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    document.setUndoRedoEnabled(false);
    DocumentGenerator(seed).fill(&document);

    const QByteArray written = writeRtf(document);
    QTextDocument read;
    QVERIFY(readRtf(written, &read));
    const QString before = comparableDump(document);
    const QString after = comparableDump(read);
    QVERIFY2(before == after, qPrintable(firstDifference(before, after)));
    QCOMPARE(writeRtf(read), written);
}

void RtfWriterRoundTripTest::testDataSurvives_data()
{
    QTest::addColumn<QString>("path");
    QStringList paths;
    QDirIterator it(QStringLiteral(QUILLMARK_TEST_DATA), { QStringLiteral("*.rtf") }, QDir::Files,
        QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    paths.sort();
    const QDir data(QStringLiteral(QUILLMARK_TEST_DATA));
    for (const QString &path : std::as_const(paths))
        QTest::newRow(qPrintable(data.relativeFilePath(path))) << path;
}

void RtfWriterRoundTripTest::testDataSurvives()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument original;
    if (!readRtf(file.readAll(), &original))
        QSKIP("not RTF");
    const QByteArray written = writeRtf(original);
    QTextDocument read;
    QVERIFY(readRtf(written, &read));
    QString before = comparableDump(original);
    QString after = comparableDump(read);
    maskUnfixedWidths(&before, &after);
    QVERIFY2(before == after, qPrintable(firstDifference(before, after)));
    QCOMPARE(writeRtf(read), written);
}

void RtfWriterRoundTripTest::clipboardStyleDocumentsSurvive()
{
    // Text typed into a box or pasted as HTML carries no font or size of its own: it comes back
    // with the box's, written out explicitly, and then stays as it is.
    QTextDocument typed;
    typed.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    typed.setHtml(
        QStringLiteral("<p>Typed <b>bold</b> and <a href=\"https://q.example/\">a link</a>"
                       "</p><ul><li>one</li><li>two</li></ul>"));
    const QByteArray written = writeRtf(typed);
    QTextDocument read;
    QVERIFY(readRtf(written, &read));
    QCOMPARE(read.toPlainText(), typed.toPlainText());
    const QString dump = dumpDocument(read);
    QVERIFY2(
        dump.contains(QStringLiteral("text \"Typed \" font=Arial size=10\n")), qPrintable(dump));
    QVERIFY(dump.contains(QStringLiteral("text \"bold\" font=Arial size=10 bold\n")));
    QVERIFY(dump.contains(QStringLiteral("list=1 style=disc level=1 item=2")));
    QCOMPARE(writeRtf(read), written);
}

void RtfWriterRoundTripTest::pastedHeadingsKeepTheSizeShown_data()
{
    QTest::addColumn<QString>("html");
    for (const char *html : { "<h1>Title</h1>", "<h2>Title</h2>", "<h3>Title</h3>",
             "<h5>Title</h5>", "<p><big>Title</big></p>", "<p><small>Title</small></p>",
             "<p><font size=\"7\">Title</font></p>", "<p><font size=\"1\">Title</font></p>" })
        QTest::newRow(html) << QString::fromLatin1(html);
}

void RtfWriterRoundTripTest::pastedHeadingsKeepTheSizeShown()
{
    // HTML sizes are a step from the box's size, which Qt applies when it shows the text.
    QFETCH(QString, html);
    QTextDocument pasted;
    pasted.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    pasted.setHtml(html);
    const double shown = pasted.begin().begin().fragment().charFormat().font().pointSizeF();
    QTextDocument read;
    QVERIFY(readRtf(writeRtf(pasted), &read));
    QCOMPARE(read.begin().begin().fragment().charFormat().fontPointSize(), shown);
}

void RtfWriterRoundTripTest::tableRelativeToTheBoxStaysRelative()
{
    // The box lays its text out 400 pixels (6000 twips) wide, inside its margins.
    QTextDocument document;
    document.setTextWidth(400 + 2 * document.documentMargin());
    QTextTableFormat half;
    half.setWidth(QTextLength(QTextLength::PercentageLength, 50));
    QTextCursor(&document).insertTable(1, 2, half);
    const QByteArray written = writeRtf(document);
    QVERIFY2(written.contains("\\trftsWidth2\\trwWidth2500"), written.constData());
    QVERIFY(written.contains("\\cellx1500") && written.contains("\\cellx3000"));

    QTextDocument read;
    QVERIFY(readRtf(written, &read));
    const auto *table = qobject_cast<QTextTable *>(read.rootFrame()->childFrames().value(0));
    QVERIFY(table);
    QCOMPARE(table->format().width(), QTextLength(QTextLength::PercentageLength, 50));
    const QList<QTextLength> halves(2, QTextLength(QTextLength::PercentageLength, 50));
    QCOMPARE(table->format().columnWidthConstraints(), halves);
}

void RtfWriterRoundTripTest::formerReaderGapsStayClosed_data()
{
    // Each row is a document the reader once did not read back the same; they all do now.
    QTest::addColumn<int>("gap");
    QTest::newRow("link around a picture only") << 0;
    QTest::newRow("empty paragraph in a cell merged across") << 1;
    QTest::newRow("empty paragraph beside a cell merged down") << 2;
    QTest::newRow("circle and square bullets") << 3;
}

void RtfWriterRoundTripTest::formerReaderGapsStayClosed()
{
    QFETCH(int, gap);
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    QTextCursor cursor(&document);
    QTextCharFormat text;
    text.setFontFamilies({ QStringLiteral("Arial") });
    text.setFontPointSize(10);
    cursor.setBlockCharFormat(text);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    QTextTableFormat tableFormat;
    tableFormat.setBorder(1);
    tableFormat.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    tableFormat.setCellSpacing(0);
    tableFormat.setColumnWidthConstraints({ QTextLength(QTextLength::FixedLength, 50),
        QTextLength(QTextLength::FixedLength, 60), QTextLength(QTextLength::FixedLength, 70) });
    switch (gap) {
    case 0: {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:p")), image);
        QTextImageFormat picture;
        picture.merge(text);
        picture.setName(QStringLiteral("mem:p"));
        picture.setWidth(4);
        picture.setHeight(4);
        picture.setAnchor(true);
        picture.setAnchorHref(QStringLiteral("https://example.com/"));
        cursor.insertText(QStringLiteral("see "), text);
        cursor.insertImage(picture);
        break;
    }
    case 1:
    case 2: {
        QTextTable *table = cursor.insertTable(2, 3, tableFormat);
        if (gap == 1)
            table->mergeCells(0, 0, 1, 2);
        else
            table->mergeCells(0, 0, 2, 1);
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 3; ++column) {
                QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() != row || cell.column() != column)
                    continue;
                QTextCursor inCell = cell.firstCursorPosition();
                inCell.mergeBlockCharFormat(text);
                inCell.insertText(QStringLiteral("x"), text);
                inCell.insertBlock(right, text);
            }
        }
        break;
    }
    case 3: {
        cursor.createList(QTextListFormat::ListCircle);
        cursor.insertText(QStringLiteral("circle"), text);
        cursor.insertBlock(QTextBlockFormat(), text);
        cursor.createList(QTextListFormat::ListSquare);
        cursor.insertText(QStringLiteral("square"), text);
        break;
    }
    }
    const QByteArray written = writeRtf(document);
    QTextDocument read;
    QVERIFY(readRtf(written, &read));
    const QString before = comparableDump(document);
    const QString after = comparableDump(read);
    const QByteArray writtenAgain = writeRtf(read);
    const QString difference = before != after ? firstDifference(before, after)
                                               : QStringLiteral("the RTF written again differs");
    QVERIFY2(before == after && writtenAgain == written, qPrintable(difference));
}

QTEST_MAIN(RtfWriterRoundTripTest)
#include "tst_rtfwriter_roundtrip.moc"
