// Where a document's first part can be cut off: after a paragraph or row of the body's own level,
// never inside a group.
#include "rtf/RtfFirstPart.h"

#include <QtTest>

class RtfFirstPartTest : public QObject
{
    Q_OBJECT
private slots:
    void cutsAfterAParagraphOfTheBody_data();
    void cutsAfterAParagraphOfTheBody();
};

void RtfFirstPartTest::cutsAfterAParagraphOfTheBody_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<qsizetype>("atLeast");
    // What the first part holds: -1 for none.
    QTest::addColumn<QByteArray>("firstPart");
    QTest::newRow("first paragraph") << QByteArray("{\\rtf1 one\\par two\\par}") << qsizetype(1)
                                     << QByteArray("{\\rtf1 one\\par ");
    QTest::newRow("the paragraph past atLeast")
        << QByteArray("{\\rtf1 one\\par two\\par three}") << qsizetype(16)
        << QByteArray("{\\rtf1 one\\par two\\par ");
    QTest::newRow("table row") << QByteArray("{\\rtf1 \\trowd\\cellx100 a\\cell\\row more}")
                               << qsizetype(1)
                               << QByteArray("{\\rtf1 \\trowd\\cellx100 a\\cell\\row ");
    QTest::newRow("not inside a group")
        << QByteArray("{\\rtf1 {\\b one\\par} {\\pict 7b7d\\par}two\\par more}") << qsizetype(1)
        << QByteArray("{\\rtf1 {\\b one\\par} {\\pict 7b7d\\par}two\\par ");
    QTest::newRow("escaped braces") << QByteArray("{\\rtf1 \\{one\\par more}") << qsizetype(1)
                                    << QByteArray("{\\rtf1 \\{one\\par ");
    QTest::newRow("pard is no paragraph end")
        << QByteArray("{\\rtf1 \\pard one\\pardeftab720 two}") << qsizetype(1) << QByteArray();
    QTest::newRow("binary data first")
        << QByteArray("{\\rtf1 {\\pict\\bin1 }\\par more}}") << qsizetype(1) << QByteArray();
    QTest::newRow("none before the limit")
        << QByteArray("{\\rtf1 one two\\par}") << qsizetype(1) << QByteArray();
}

void RtfFirstPartTest::cutsAfterAParagraphOfTheBody()
{
    QFETCH(QByteArray, rtf);
    QFETCH(qsizetype, atLeast);
    QFETCH(QByteArray, firstPart);
    // Every case's paragraph ends before the last 4 bytes but the last case's.
    const qsizetype end = RtfFirstPart::end(rtf, atLeast, rtf.size() - 4);
    QCOMPARE(end < 0 ? QByteArray() : rtf.left(end), firstPart);
}

QTEST_MAIN(RtfFirstPartTest)
#include "tst_rtffirstpart.moc"
