// The main window's opening: where it appears, which tab is in front, and the state it starts in.
#include "editor/RichTextBox.h"
#include "mainwindow/ClosingSequence.h"
#include "mainwindow/MainWindow.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

class OpeningTest : public QObject
{
    Q_OBJECT
private slots:
    void firstRunOpensAtDefaultPlace();
    void storedPositionIsRestored_data();
    void storedPositionIsRestored();
    void todaysTabIsInFront_data();
    void todaysTabIsInFront();
    void startingState();
    void noteBoxesArePrepared();
    void windowHoldsItsSize();
    void sizeShowsFrameAndTabs();
};

void OpeningTest::firstRunOpensAtDefaultPlace()
{
    TestApp app;
    MainWindow &window = app.open();
    QCOMPARE(window.pos(), QPoint(7, 7));
    QVERIFY(window.isVisible());
    // Opening reads the settings but writes none.
    QVERIFY(!QFile::exists(app.folder() + QStringLiteral("/.settings/Quillmark.ini")));
}

void OpeningTest::storedPositionIsRestored_data()
{
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("plain twips") << "900"
                                 << "1200" << QPoint(80, 60);
    QTest::newRow("padded and exponent") << " 900 "
                                         << "1e3" << QPoint(67, 60);
    QTest::newRow("left of the screen edge is kept") << "900"
                                                     << "-2000" << QPoint(-133, 60);
    QTest::newRow("unusable top leaves top alone") << "abc"
                                                   << "1200" << QPoint(80, -1);
    QTest::newRow("empty left leaves left alone") << "900"
                                                  << "" << QPoint(-1, 60);
    QTest::newRow("on no screen goes to the default place") << "300000"
                                                            << "300000" << QPoint(7, 7);
    QTest::newRow("past 32 bits is ignored") << "99999999999"
                                             << "1200" << QPoint(80, -1);
    QTest::newRow("title bar above the screen comes inside") << "-3000"
                                                             << "1200" << QPoint(80, 0);
}

void OpeningTest::storedPositionIsRestored()
{
    QFETCH(QString, top);
    QFETCH(QString, left);
    QFETCH(QPoint, expected);
    TestApp app;
    app.settings->save(QStringLiteral("screen"), QStringLiteral("top"), top);
    app.settings->save(QStringLiteral("screen"), QStringLiteral("left"), left);
    MainWindow &window = app.open();
    // -1: the coordinate is where the platform places a window without a stored position.
    TestApp unplaced;
    unplaced.settings->save(QStringLiteral("screen"), QStringLiteral("top"), QStringLiteral("x"));
    unplaced.settings->save(QStringLiteral("screen"), QStringLiteral("left"), QStringLiteral("x"));
    const QPoint platformPlaces = unplaced.open().pos();
    QCOMPARE(window.pos().x(), expected.x() == -1 ? platformPlaces.x() : expected.x());
    QCOMPARE(window.pos().y(), expected.y() == -1 ? platformPlaces.y() : expected.y());
}

void OpeningTest::todaysTabIsInFront_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("tab");
    QTest::newRow("Monday") << QDate(2026, 12, 7) << 0;
    QTest::newRow("Wednesday") << QDate(2026, 12, 9) << 2;
    QTest::newRow("Sunday") << QDate(2026, 12, 13) << 6;
}

void OpeningTest::todaysTabIsInFront()
{
    QFETCH(QDate, today);
    QFETCH(int, tab);
    TestApp app(today);
    app.open();
    QCOMPARE(app.find<QTabWidget>(QStringLiteral("tabDays"))->currentIndex(), tab);
}

void OpeningTest::startingState()
{
    TestApp app;
    MainWindow &window = app.open();
    const ProjectFlags &state = window.projectFlags();
    QVERIFY(!state.blnUnsavedItem);
    QVERIFY(!state.blnClosing);
    QVERIFY(!window.closingSequence().saveDaysOnly());
    QCOMPARE(app.list()->count(), 0);
    QVERIFY(!app.list()->isEnabled());
    QVERIFY(!app.find<QAbstractButton>(QStringLiteral("cmdSaveNote"))->isEnabled());
    QVERIFY(!app.editor()->isEnabled());
    QVERIFY(app.list()->selectedItems().isEmpty());
    auto *timer = window.findChild<QTimer *>(QStringLiteral("tmrResetDays"));
    QVERIFY(timer);
    QVERIFY(!timer->isActive());
    QCOMPARE(timer->interval(), 2500);
}

void OpeningTest::noteBoxesArePrepared()
{
    TestApp app;
    MainWindow &window = app.open();
    auto *tabs = app.find<QTabWidget>(QStringLiteral("tabDays"));
    auto *frame = app.find<QGroupBox>(QStringLiteral("fraToDo"));
    QCOMPARE(tabs->x(), frame->x());
    QCOMPARE(tabs->width(), frame->width());

    const QStringList days { "rtfMonday", "rtfTuesday", "rtfWednesday", "rtfThursday", "rtfFriday",
        "rtfSaturday", "rtfSunday" };
    for (const QString &name : days) {
        auto *box = app.find<RichTextBox>(name);
        QVERIFY2(box, qPrintable(name));
        QCOMPARE(box->toPlainText(), QString());
        QCOMPARE(box->fontSize(), 10.0);
        // All seven share one rectangle, measured from the tab control's corner.
        QTRY_COMPARE(QRect(box->mapTo(tabs, QPoint(0, 0)), box->size()), QRect(6, 24, 699, 201));
    }
    RichTextBox *editor = app.editor();
    QCOMPARE(editor->toPlainText(), QString());
    QCOMPARE(editor->fontSize(), 10.0);
    QCOMPARE(editor->y(), app.list()->y());
    QCOMPARE(editor->height(), app.list()->height());
    Q_UNUSED(window);
}

void OpeningTest::windowHoldsItsSize()
{
    TestApp app;
    MainWindow &window = app.open();
    const QSize held = window.size();
    QCOMPARE(window.minimumSize(), held);
    QCOMPARE(window.maximumSize(), held);
    window.resize(held.width() + 200, held.height() + 100);
    QCOMPARE(window.size(), held);
    const QPoint corner = window.pos();
    window.resize(held.width() - 100, held.height() - 100);
    QCOMPARE(window.size(), held);
    QCOMPARE(window.pos(), corner);
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
}

void OpeningTest::sizeShowsFrameAndTabs()
{
    TestApp app;
    MainWindow &window = app.open();
    auto *tabs = app.find<QTabWidget>(QStringLiteral("tabDays"));
    auto *frame = app.find<QGroupBox>(QStringLiteral("fraToDo"));
    QWidget *central = window.centralWidget();
    QTRY_COMPARE(central->width(), frame->width());
    QTRY_COMPARE(central->height(), tabs->y() + tabs->height());
    QVERIFY(window.rect().contains(central->geometry()));
}

QTEST_MAIN(OpeningTest)
#include "tst_opening.moc"
