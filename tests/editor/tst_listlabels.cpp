// The list labels the note box draws where Qt's layout draws none: numbers counted from a list's
// start, and the fixed labels of lists without a number.
#include "editor/ListLabelPainter.h"
#include "editor/RichTextBox.h"
#include "rtf/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QtTest>

namespace {

// A legacy list from RichEdit or WordPad: {\*\pn} words on the first of two items.
QByteArray legacyList(const char *words)
{
    return QByteArray(R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}\pard{\*\pn\pnlvlbody)") + words
        + R"(}\fi-360\li720 one\par two\par\pard end\par})";
}

// The label each list item shows: drawn by the box, else by Qt.
QStringList shownLabels(const QTextDocument &doc)
{
    QStringList labels;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (QTextList *list = block.textList()) {
            const QString own = ListLabelPainter::labelOf(block);
            labels << (own.isEmpty() ? list->itemText(block) : own);
        }
    }
    return labels;
}

} // namespace

class ListLabelsTest : public QObject
{
    Q_OBJECT

private slots:
    void labels_data();
    void labels();
    void labelInTheItemsFormat();
    void boxDrawsTheLabel();
};

void ListLabelsTest::labels_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("expected");
    QFile word(QStringLiteral(QUILLMARK_TEST_DATA "/rtf/word-lists-word.rtf"));
    QVERIFY(word.open(QIODevice::ReadOnly));
    // Word's own labels, as its {\listtext} groups in the file show them.
    QTest::newRow("Word: from c and iii, fixed texts, from five")
        << word.readAll()
        << QStringList { "c)", "i.", "ii.", "d)", "iii.", "Note:", "I.", "1.1.", "1st", "2nd",
               "\u30a4.", "\u30ed.", "5.", "6." };
    QTest::newRow("letters and a parenthesis")
        << legacyList(R"(\pnstart1\pnlcltr{\pntxta)})") << QStringList { "a)", "b)" };
    QTest::newRow("upper letters from C in brackets")
        << legacyList(R"(\pnstart3\pnucltr{\pntxtb (}{\pntxta )})") << QStringList { "(C)", "(D)" };
}

void ListLabelsTest::labels()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, expected);
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    QCOMPARE(shownLabels(doc), expected);
}

void ListLabelsTest::labelInTheItemsFormat()
{
    // The paragraph before the list ends in an underlined word; the item is plain.
    QByteArray rtf = legacyList(R"(\pndec)");
    rtf.insert(rtf.indexOf(R"(\pard)"), R"(\ul right\ulnone\par)");
    QTextDocument doc;
    QVERIFY(RtfReader().read(rtf, &doc));
    const QTextBlock item = doc.begin().next();
    QVERIFY(item.textList());
    QVERIFY(!item.charFormat().fontUnderline());
}

void ListLabelsTest::boxDrawsTheLabel()
{
    RichTextBox box;
    box.resize(300, 120);
    QVERIFY(box.loadRtf(legacyList(R"(\pnstart3\pndec{\pntxta .})")));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QTextBlock item = box.document()->begin();
    QVERIFY(item.textList());
    // The room before the item's text, where its label goes.
    const QRectF text = box.document()->documentLayout()->blockBoundingRect(item);
    const QRect labelArea(0, int(text.top()), int(text.left() + item.layout()->lineAt(0).x()),
        int(item.layout()->lineAt(0).height()));
    QVERIFY(labelArea.width() > 0);
    const QImage shot = box.viewport()->grab().toImage();
    const QRgb background = shot.pixel(labelArea.topLeft());
    int marked = 0;
    for (int y = labelArea.top(); y <= labelArea.bottom(); ++y) {
        for (int x = labelArea.left(); x <= labelArea.right(); ++x)
            marked += shot.pixel(x, y) != background;
    }
    QVERIFY(marked > 0);
}

QTEST_MAIN(ListLabelsTest)
#include "tst_listlabels.moc"
