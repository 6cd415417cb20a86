// The start of the program: the splash for its interval, then the main window, exactly once.
#include "app/Application.h"
#include "app/SplashWindow.h"
#include "mainwindow/MainWindow.h"
#include "support/TestApp.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

class SplashTest : public QObject
{
    Q_OBJECT
private slots:
    void splashShowsNameAndSlogan();
    void handsOverToMainWindowOnce();
    void filledMainSlotIsReused();
    void slowOpeningDoesNotHandOverTwice();
    void splashIgnoresInput();
};

void SplashTest::splashShowsNameAndSlogan()
{
    TestApp test;
    Application app(test.services(), 60000);
    app.start();
    SplashWindow *splash = app.splashSlot();
    QVERIFY(splash && splash->isVisible());
    QCOMPARE(splash->findChild<QLabel *>(QStringLiteral("lblSoftwareName"))->text(),
        QStringLiteral("Quillmark"));
    QCOMPARE(splash->findChild<QLabel *>(QStringLiteral("lblLogoMessage"))->text(),
        QStringLiteral("Track your tasks and daily items easily!"));
    QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(splash->timer()->interval(), 60000);
    QVERIFY(splash->timer()->isActive());
    QVERIFY(!app.mainSlot());
}

void SplashTest::handsOverToMainWindowOnce()
{
    TestApp test;
    Application app(test.services(), 20);
    app.start();
    QPointer<SplashWindow> splash = app.splashSlot();
    QTRY_VERIFY(app.mainSlot() && app.mainSlot()->isVisible());
    QTRY_VERIFY(!splash);
    QVERIFY(!app.splashSlot());
    QTest::qWait(100);
    QCOMPARE(app.mainWindowsCreated(), 1);
    QVERIFY(app.mainSlot()->isLoaded());
}

void SplashTest::filledMainSlotIsReused()
{
    TestApp test;
    Application app(test.services(), 20);
    MainWindow *existing = &app.mainWindow();
    app.start();
    QTRY_VERIFY(existing->isVisible());
    QCOMPARE(app.mainSlot(), existing);
    QCOMPARE(app.mainWindowsCreated(), 1);
}

void SplashTest::slowOpeningDoesNotHandOverTwice()
{
    TestApp test;
    // Many note files: the folder scan lets events run for each of them while the window opens, far
    // longer than the splash's 1 ms interval.
    for (int i = 0; i < 300; ++i)
        test.writeFile(test.notePath(QStringLiteral("note %1.rtf").arg(i)), "{\\rtf1 x}");
    Application app(test.services(), 1);
    app.start();
    QTRY_VERIFY(app.mainSlot() && app.mainSlot()->isVisible());
    QTest::qWait(50);
    QCOMPARE(app.mainWindowsCreated(), 1);
    QVERIFY(!app.splashSlot());
}

void SplashTest::splashIgnoresInput()
{
    TestApp test;
    Application app(test.services(), 60000);
    app.start();
    SplashWindow *splash = app.splashSlot();
    QTest::mouseClick(splash, Qt::LeftButton);
    QTest::keyClick(splash, Qt::Key_Escape);
    QTest::keyClick(splash, Qt::Key_Return);
    // Alt+F4 or the task bar: the splash stays until the main window takes over.
    QVERIFY(!splash->close());
    QVERIFY(app.splashSlot() && splash->isVisible());
    QVERIFY(!app.mainSlot());
}

QTEST_MAIN(SplashTest)
#include "tst_splash.moc"
