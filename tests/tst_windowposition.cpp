// The stored window position: text in twips to pixels, and the check against the screens.
#include "WindowPosition.h"

#include <QtTest>

class WindowPositionTest : public QObject
{
    Q_OBJECT
private slots:
    void parsesStoredText_data();
    void parsesStoredText();
    void convertsTwipsToNearestPixel();
    void storesWholeTwips();
    void positionOnNoScreenIsDetected();
};

void WindowPositionTest::parsesStoredText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<int>("twips");
    QTest::newRow("plain") << "900" << true << 900;
    QTest::newRow("padded") << " 900 " << true << 900;
    QTest::newRow("exponent") << "1e3" << true << 1000;
    QTest::newRow("half to even down") << "12.5" << true << 12;
    QTest::newRow("half to even up") << "13.5" << true << 14;
    QTest::newRow("negative half") << "-2.5" << true << -2;
    QTest::newRow("16-bit maximum") << "32767" << true << 32767;
    QTest::newRow("past 16 bits, a second monitor") << "32768" << true << 32768;
    QTest::newRow("16-bit minimum") << "-32768" << true << -32768;
    QTest::newRow("left of the screen") << "-2000" << true << -2000;
    QTest::newRow("32-bit maximum") << "2147483647" << true << 2147483647;
    QTest::newRow("past 32 bits") << "2147483648" << false << 0;
    QTest::newRow("not a number") << "abc" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("comma decimal") << "12,5" << false << 0;
    QTest::newRow("infinite") << "inf" << false << 0;
}

void WindowPositionTest::parsesStoredText()
{
    QFETCH(QString, text);
    QFETCH(bool, usable);
    QFETCH(int, twips);
    const auto parsed = WindowPosition::parseTwips(text);
    QCOMPARE(parsed.has_value(), usable);
    if (usable)
        QCOMPARE(*parsed, twips);
}

void WindowPositionTest::convertsTwipsToNearestPixel()
{
    QCOMPARE(WindowPosition::twipsToPixels(100), 7);
    QCOMPARE(WindowPosition::twipsToPixels(900), 60);
    QCOMPARE(WindowPosition::twipsToPixels(32767), 2184);
    QCOMPARE(WindowPosition::twipsToPixels(-2000), -133);
}

void WindowPositionTest::storesWholeTwips()
{
    QCOMPARE(WindowPosition::pixelsToTwipsText(80), QStringLiteral("1200"));
    QCOMPARE(WindowPosition::pixelsToTwipsText(-23), QStringLiteral("-345"));
}

void WindowPositionTest::positionOnNoScreenIsDetected()
{
    const QList<QRect> screens { QRect(0, 0, 1920, 1080) };
    QVERIFY(WindowPosition::isOnAnyScreen(QRect(7, 7, 708, 650), screens));
    // Partly on the screen, off its left edge: kept.
    QVERIFY(WindowPosition::isOnAnyScreen(QRect(-133, 7, 708, 650), screens));
    // A monitor since unplugged, to the right.
    QVERIFY(!WindowPosition::isOnAnyScreen(QRect(2500, 100, 708, 650), screens));
    QVERIFY(!WindowPosition::isOnAnyScreen(QRect(-900, -900, 708, 650), screens));
}

QTEST_GUILESS_MAIN(WindowPositionTest)
#include "tst_windowposition.moc"
