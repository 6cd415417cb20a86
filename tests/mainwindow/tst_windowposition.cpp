// The stored window position: text in twips to pixels, the check against the screens, the platforms
// that cannot tell a position, and the frame put at the position once the window manager has framed
// the window.
#include "mainwindow/FramePlacement.h"
#include "mainwindow/WindowPosition.h"

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
    void keptOnScreen_data();
    void keptOnScreen();
    void onlyWaylandCannotReportPosition_data();
    void onlyWaylandCannotReportPosition();

    void frameMovesOnceItsMarginsAreKnown();
    void frameAlreadyInPlaceMovesNothing();
    void windowWithoutFrameIsLeftAlone();
    void lateFrameIsPlacedUnlessTheWindowMovedFirst();
    void startCloseCyclesKeepTheFrameWhereItWas_data();
    void startCloseCyclesKeepTheFrameWhereItWas();
};

namespace {
// A window manager that puts a new window's client area where the program asked and draws its
// frame around it, above and to the left; it reports the frame's margins only once it has framed
// the window.
class FakeWindowManager
{
public:
    explicit FakeWindowManager(const QMargins &frame)
        : m_frame(frame)
    { }
    void showAt(const QPoint &requested)
    {
        client = requested;
        framed = false;
    }
    QMargins reportedMargins() const { return framed ? m_frame : QMargins(); }
    // What the program stores at a close: the frame's top-left.
    QPoint framePosition() const { return client - QPoint(m_frame.left(), m_frame.top()); }

    QPoint client;
    bool framed = false;

private:
    QMargins m_frame;
};
} // namespace

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

void WindowPositionTest::keptOnScreen_data()
{
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QPoint>("asked");
    QTest::addColumn<QPoint>("opens");
    const QRect single(0, 0, 1920, 1080);
    const QRect underPanel(0, 30, 1920, 1050);
    const QList<QRect> stacked { single, QRect(0, -1080, 1920, 1080) };
    const QList<QRect> sideBySide { single, QRect(1920, 30, 1920, 1050) };
    QTest::newRow("on the screen") << QList { single } << QPoint(7, 7) << QPoint(7, 7);
    QTest::newRow("title bar above the screen")
        << QList { single } << QPoint(80, -40) << QPoint(80, 0);
    QTest::newRow("title bar under a top panel")
        << QList { underPanel } << QPoint(80, 10) << QPoint(80, 30);
    QTest::newRow("on a screen above the other") << stacked << QPoint(80, -500) << QPoint(80, -500);
    QTest::newRow("beside the screen with the panel")
        << sideBySide << QPoint(2000, 10) << QPoint(2000, 30);
    QTest::newRow("on no screen") << QList { single } << QPoint(2500, 100) << QPoint(7, 7);
}

void WindowPositionTest::keptOnScreen()
{
    QFETCH(QList<QRect>, screens);
    QFETCH(QPoint, asked);
    QFETCH(QPoint, opens);
    QCOMPARE(WindowPosition::keptOnScreen(asked, QSize(708, 650), screens, QPoint(7, 7)), opens);
}

void WindowPositionTest::onlyWaylandCannotReportPosition_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<bool>("reports");
    QTest::newRow("wayland") << "wayland" << false;
    QTest::newRow("wayland-egl") << "wayland-egl" << false;
    QTest::newRow("xcb") << "xcb" << true;
    QTest::newRow("offscreen") << "offscreen" << true;
    QTest::newRow("windows") << "windows" << true;
}

void WindowPositionTest::onlyWaylandCannotReportPosition()
{
    QFETCH(QString, platform);
    QFETCH(bool, reports);
    QCOMPARE(WindowPosition::platformReportsPosition(platform), reports);
}

void WindowPositionTest::frameMovesOnceItsMarginsAreKnown()
{
    FramePlacement placement;
    QVERIFY(!placement.isPending());
    placement.start(QPoint(200, 100));
    // Shown, not framed yet: the client area sits at the position.
    QCOMPARE(placement.clientMove(QPoint(200, 100), QMargins()), std::nullopt);
    QVERIFY(placement.isPending());
    // Framed: the client area moves by the frame's left and top.
    QCOMPARE(placement.clientMove(QPoint(200, 100), QMargins(1, 20, 1, 1)), QPoint(201, 120));
    QVERIFY(!placement.isPending());
    // Once only: a later move is the user's.
    QCOMPARE(placement.clientMove(QPoint(500, 400), QMargins(1, 20, 1, 1)), std::nullopt);
    // Off the left edge of the screen too.
    placement.start(QPoint(-133, 7));
    QCOMPARE(placement.clientMove(QPoint(-133, 7), QMargins(4, 30, 4, 4)), QPoint(-129, 37));
}

void WindowPositionTest::frameAlreadyInPlaceMovesNothing()
{
    // A window manager that placed the frame itself.
    FramePlacement placement;
    placement.start(QPoint(200, 100));
    QCOMPARE(placement.clientMove(QPoint(201, 120), QMargins(1, 20, 1, 1)), std::nullopt);
    QVERIFY(!placement.isPending());
}

void WindowPositionTest::windowWithoutFrameIsLeftAlone()
{
    // No window manager, or one that draws no frame: the margins never come.
    FramePlacement placement;
    placement.start(QPoint(7, 7));
    QCOMPARE(placement.clientMove(QPoint(7, 7), QMargins()), std::nullopt);
    placement.stop();
    QCOMPARE(placement.clientMove(QPoint(7, 7), QMargins(1, 20, 1, 1)), std::nullopt);
}

void WindowPositionTest::lateFrameIsPlacedUnlessTheWindowMovedFirst()
{
    const QMargins frame(1, 20, 1, 1);
    FramePlacement placement;
    placement.start(QPoint(200, 100));
    // Right after the desktop starts the frame can come seconds late.
    for (int check = 0; check < 1000; ++check)
        QCOMPARE(placement.clientMove(QPoint(200, 100), QMargins()), std::nullopt);
    QCOMPARE(placement.clientMove(QPoint(200, 100), frame), QPoint(201, 120));
    // Dragged by the user before the frame came: the window stays where it was put.
    placement.start(QPoint(200, 100));
    QCOMPARE(placement.clientMove(QPoint(350, 240), QMargins()), std::nullopt);
    QVERIFY(!placement.isPending());
    QCOMPARE(placement.clientMove(QPoint(350, 240), frame), std::nullopt);
}

void WindowPositionTest::startCloseCyclesKeepTheFrameWhereItWas_data()
{
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<QMargins>("frame");
    QTest::newRow("default position, thin frame") << QPoint(7, 7) << QMargins(1, 20, 1, 1);
    QTest::newRow("thick frame") << QPoint(200, 100) << QMargins(8, 31, 8, 8);
    QTest::newRow("left of the screen") << QPoint(-23, 7) << QMargins(1, 20, 1, 1);
}

// Start, wait for the frame, close (which stores the frame's position), start again: the frame
// comes back to the same place every time instead of creeping by its own size.
void WindowPositionTest::startCloseCyclesKeepTheFrameWhereItWas()
{
    QFETCH(QPoint, stored);
    QFETCH(QMargins, frame);
    FakeWindowManager manager(frame);
    const QPoint first = stored;
    for (int start = 0; start < 3; ++start) {
        FramePlacement placement;
        placement.start(stored);
        manager.showAt(stored);
        for (int check = 0; check < 3 && placement.isPending(); ++check) {
            manager.framed = check == 2;
            if (const auto move = placement.clientMove(manager.client, manager.reportedMargins()))
                manager.client = *move;
        }
        QVERIFY(!placement.isPending());
        stored = manager.framePosition();
        QCOMPARE(stored, first);
    }
}

QTEST_GUILESS_MAIN(WindowPositionTest)
#include "tst_windowposition.moc"
