#include "support/FormFixtures.h"

#include "daynotes/SaveMarkLook.h"
#include "editor/RichTextBox.h"
#include "forms/ui_frmHelp.h"
#include "forms/ui_frmMain.h"
#include "forms/ui_frmSplash.h"
#include "rtf/Twips.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QMainWindow>
#include <QPainter>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QtEndian>
#include <QtTest>

#include <memory>

namespace {

// The font that stands in for the 8.5-point system font of the window definitions.
const QString formFont = QStringLiteral("Liberation Sans");

const QStringList dayNames
    = { "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday" };

int pixels(int twips)
{
    return qRound(Twips::toPixels(twips));
}

QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

struct MainForm
{
    QMainWindow window;
    Ui::frmMain ui;
    MainForm() { ui.setupUi(&window); }
    template <typename T = QWidget> T *child(const QString &name) const
    {
        return window.findChild<T *>(name);
    }
};

struct HelpForm
{
    QWidget window;
    Ui::frmHelp ui;
    HelpForm() { ui.setupUi(&window); }
};

struct SplashForm
{
    QWidget window;
    Ui::frmSplash ui;
    SplashForm() { ui.setupUi(&window); }
};

bool showActive(QWidget &window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

QImage grabImage(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The colour at a point given in the widget's own (logical) coordinates.
QColor colourAt(const QImage &image, QPoint point, qreal ratio)
{
    return image.pixelColor(qFloor(point.x() * ratio), qFloor(point.y() * ratio));
}

QImage iconImage(const QIcon &icon, int extent)
{
    return icon.pixmap(QSize(extent, extent), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

// What keyboard focus lands on, named after the control it belongs to.
QString focusName(const QWidget *widget, const QTabWidget *tabs)
{
    if (widget && tabs && widget == tabs->tabBar())
        return tabs->objectName();
    return widget ? widget->objectName() : QString();
}

QString withoutMnemonic(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

int textWidth(const QWidget *widget, const QString &caption)
{
    // The caption's width as Qt lays text out (whole pixels), the mnemonic left out.
    return qRound(QFontMetricsF(widget->font()).horizontalAdvance(withoutMnemonic(caption)));
}

int textHeight(const QWidget *widget)
{
    return qCeil(QFontMetricsF(widget->font()).height());
}

} // namespace

void FormFixtures::initTestCase()
{
    // The forms name their font; a missing font package would silently put another in its place.
    QVERIFY2(QFontInfo(QFont(formFont)).family() == formFont,
        "the Liberation Sans font (fonts-liberation2) is not installed");
    qInfo("scale factor %s, style %s", qgetenv("QT_SCALE_FACTOR").constData(),
        qPrintable(QApplication::style()->name()));
}

void FormFixtures::mainWindowDefinition()
{
    MainForm form;
    QCOMPARE(form.window.objectName(), QStringLiteral("frmMain"));
    QCOMPARE(form.window.windowTitle(), QStringLiteral("Quillmark"));
    QVERIFY(!form.window.windowIcon().isNull());
    QCOMPARE(QFontInfo(form.window.font()).family(), formFont);
    QCOMPARE(form.window.font().pointSize(), 8);
    // Every control inherits the window's font.
    for (const char *name : { "cmdNewToDo", "chkMem", "fraSave", "chkSaveDay_2", "tabDays" })
        QCOMPARE(form.child(name)->font(), form.window.font());

    // Controls stand at fixed places, nothing is laid out.
    QVERIFY(!form.ui.centralwidget->layout());
    QVERIFY(!form.ui.fraToDo->layout());
    QVERIFY(!form.ui.fraSave->layout());

    QCOMPARE(form.ui.lstToDo->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(!form.ui.lstToDo->isSortingEnabled());
    QCOMPARE(form.ui.lstToDo->count(), 0);
    QVERIFY(form.ui.lstToDo->isEnabled());
    QCOMPARE(form.ui.fraToDo->title(), QStringLiteral("Projects:"));
    QCOMPARE(form.ui.fraSave->title(), QStringLiteral("Save Summary:"));
    QVERIFY(!form.ui.fraSave->isEnabled());
    QCOMPARE(form.ui.cmdUp->toolTip(), QStringLiteral("Move Item Up"));
    QCOMPARE(form.ui.cmdDOWN->toolTip(), QStringLiteral("Move Item Down"));
    QVERIFY(form.ui.cmdUp->text().isEmpty());
    QCOMPARE(form.ui.cmdUp->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QCOMPARE(form.ui.cmdDOWN->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QCOMPARE(form.ui.chkMem->text(), QStringLiteral("Stored File"));
    QVERIFY(!form.ui.chkMem->isChecked());

    const QList<QPair<QToolButton *, QString>> captioned = {
        { form.ui.cmdNewToDo, "&Add ToDo" },
        { form.ui.cmdRemToDo, "&Remove ToDo" },
        { form.ui.cmdLeads, "&View File" },
        { form.ui.cmdSaveNote, "&Save ToDo" },
        { form.ui.cmdClose, "&Close" },
        { form.ui.cmdSaveAllNow, "Save &Days" },
        { form.ui.cmdClose2, "Close" },
    };
    for (const auto &[button, caption] : captioned) {
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    }
    for (QToolButton *button : form.window.findChildren<QToolButton *>()) {
        if (!button->objectName().startsWith(QLatin1String("cmd")))
            continue;
        QVERIFY2(!button->autoRaise(), qPrintable(button->objectName()));
        QCOMPARE(button->focusPolicy(), Qt::StrongFocus);
        QCOMPARE(button->iconSize(), QSize(16, 16));
        QVERIFY2(!button->icon().isNull(), qPrintable(button->objectName()));
    }

    // The note boxes scroll vertically only; the day boxes start in the rest state.
    const QList<RichTextBox *> boxes = form.window.findChildren<RichTextBox *>();
    QCOMPARE(boxes.size(), 8);
    for (RichTextBox *box : boxes) {
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    }
    for (int day = 0; day < 7; ++day) {
        auto *mark = form.child<QCheckBox>(QStringLiteral("chkSaveDay_%1").arg(day));
        QVERIFY(mark);
        QCOMPARE(mark->text(), dayNames[day]);
        QVERIFY(!mark->isChecked());
        QCOMPARE(mark->parentWidget(), form.ui.fraSave);
    }
}

void FormFixtures::geometry_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("expected");

    const auto main = [](const char *name, const char *container, QRect rect) {
        QTest::addRow("%s", name) << "frmMain" << name << container << rect;
    };
    main("fraToDo", "centralwidget", fromTwips(0, 0, 10620, 4935));
    main("lstToDo", "fraToDo", fromTwips(120, 240, 1935, 3765));
    main("cmdUp", "fraToDo", fromTwips(2040, 240, 375, 375));
    main("cmdDOWN", "fraToDo", fromTwips(2040, 720, 375, 375));
    main("rtfToDo", "fraToDo", fromTwips(2520, 240, 8040, 3780));
    main("cmdNewToDo", "fraToDo", fromTwips(120, 4080, 1215, 735));
    main("cmdRemToDo", "fraToDo", fromTwips(1583, 4080, 1215, 735));
    main("cmdLeads", "fraToDo", fromTwips(4200, 4080, 1215, 735));
    main("chkMem", "fraToDo", fromTwips(4250, 4200, 1095, 255));
    main("cmdSaveNote", "fraToDo", fromTwips(7800, 4080, 1215, 735));
    main("cmdClose", "fraToDo", fromTwips(9240, 4080, 1215, 735));
    main("tabDays", "centralwidget", fromTwips(0, 5040, 10605, 4335));
    main("fraSave", "centralwidget", fromTwips(120, 8400, 6495, 855));
    main("cmdSaveAllNow", "centralwidget", fromTwips(7800, 8520, 1215, 735));
    main("cmdClose2", "centralwidget", fromTwips(9240, 8520, 1215, 735));
    const int marks[7][4] = { { 120, 240, 1455, 255 }, { 120, 480, 1455, 255 },
        { 1680, 240, 1575, 255 }, { 1680, 480, 1575, 255 }, { 3360, 240, 1335, 255 },
        { 3360, 480, 1335, 255 }, { 4800, 240, 1215, 255 } };
    for (int day = 0; day < 7; ++day) {
        const QString name = QStringLiteral("chkSaveDay_%1").arg(day);
        QTest::addRow("%s", qPrintable(name))
            << "frmMain" << name << "fraSave"
            << fromTwips(marks[day][0], marks[day][1], marks[day][2], marks[day][3]);
    }
    // The day boxes sit where the opening puts them, measured from the tab control's corner.
    for (const QString &day : dayNames)
        QTest::addRow("rtf%s", qPrintable(day))
            << "frmMain"
            << "rtf" + day << "tabDays" << fromTwips(90, 360, 10480, 3020);

    QTest::addRow("rtfText") << "frmHelp"
                             << "rtfText"
                             << "frmHelp" << fromTwips(120, 120, 9015, 7455);
    QTest::addRow("cmdOK") << "frmHelp"
                           << "cmdOK"
                           << "frmHelp" << fromTwips(9240, 120, 1215, 375);
    QTest::addRow("cmdAbout") << "frmHelp"
                              << "cmdAbout"
                              << "frmHelp" << fromTwips(9240, 840, 1215, 375);
    QTest::addRow("cmdHelp") << "frmHelp"
                             << "cmdHelp"
                             << "frmHelp" << fromTwips(9240, 1440, 1215, 375);

    QTest::addRow("lblSoftwareName") << "frmSplash"
                                     << "lblSoftwareName"
                                     << "frmSplash" << fromTwips(0, 0, 6015, 375);
    QTest::addRow("Picture1") << "frmSplash"
                              << "Picture1"
                              << "frmSplash" << fromTwips(405, 240, 5250, 3000);
    QTest::addRow("lblLogoMessage") << "frmSplash"
                                    << "lblLogoMessage"
                                    << "frmSplash" << fromTwips(0, 3240, 6015, 375);
}

void FormFixtures::geometry()
{
    QFETCH(QString, form);
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, expected);

    MainForm main;
    HelpForm help;
    SplashForm splash;
    QWidget *window = form == "frmMain" ? &main.window
        : form == "frmHelp"             ? &help.window
                                        : &splash.window;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto *control = window->findChild<QWidget *>(name);
    QVERIFY(control);
    QWidget *reference
        = window->objectName() == container ? window : window->findChild<QWidget *>(container);
    QVERIFY(reference);
    QVERIFY(reference->isAncestorOf(control));
    QCOMPARE(QRect(control->mapTo(reference, QPoint(0, 0)), control->size()), expected);
}

void FormFixtures::stacking()
{
    MainForm form;
    form.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    const auto topAt = [&](QWidget *control, QPoint inside) {
        QWidget *central = form.ui.centralwidget;
        QWidget *hit = central->childAt(control->mapTo(central, inside));
        while (hit && hit != control && hit->parentWidget() != central
            && hit->parentWidget() != form.ui.fraToDo && hit->parentWidget() != form.ui.fraSave)
            hit = hit->parentWidget();
        return hit;
    };
    // The Stored File box lies in front of View File, over the upper part of its face.
    QCOMPARE(topAt(form.ui.chkMem, form.ui.chkMem->rect().center()), form.ui.chkMem);
    QCOMPARE(topAt(form.ui.cmdLeads,
                 QPoint(form.ui.cmdLeads->width() / 2, form.ui.cmdLeads->height() - 6)),
        form.ui.cmdLeads);
    // The save panel and its two buttons lie in front of the tab control's lower strip.
    QCOMPARE(topAt(form.ui.cmdSaveAllNow, form.ui.cmdSaveAllNow->rect().center()),
        form.ui.cmdSaveAllNow);
    QCOMPARE(topAt(form.ui.cmdClose2, form.ui.cmdClose2->rect().center()), form.ui.cmdClose2);
    QCOMPARE(
        topAt(form.ui.fraSave, QPoint(form.ui.fraSave->width() - 4, form.ui.fraSave->height() - 4)),
        form.ui.fraSave);
    // The arrow buttons overlap the list by a pixel and stay in front of it.
    QCOMPARE(topAt(form.ui.cmdUp, QPoint(0, 12)), form.ui.cmdUp);

    // They stay in front, and visible, whichever day is selected.
    for (int day = 0; day < 7; ++day) {
        form.ui.tabDays->setCurrentIndex(day);
        QVERIFY(form.ui.cmdSaveAllNow->isVisible());
        QVERIFY(form.ui.cmdClose2->isVisible());
        QVERIFY(form.ui.fraSave->isVisible());
        QCOMPARE(topAt(form.ui.cmdSaveAllNow, QPoint(8, 8)), form.ui.cmdSaveAllNow);
    }
}

void FormFixtures::weekTabsLeaveRoomForDayBoxes()
{
    MainForm form;
    QTabWidget *tabs = form.ui.tabDays;
    QCOMPARE(tabs->count(), 7);
    QCOMPARE(tabs->currentIndex(), 0);
    for (int day = 0; day < 7; ++day) {
        QCOMPARE(tabs->tabText(day), dayNames[day]);
        QVERIFY(tabs->tabIcon(day).isNull());
        // Each page holds its day's box and nothing else.
        const QList<QWidget *> held
            = tabs->widget(day)->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(held.size(), 1);
        QCOMPARE(held.first()->objectName(), "rtf" + dayNames[day]);
    }

    form.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    // The opening widens the tab control to the frame's width; the tabs must fit either way.
    for (int width : { tabs->width(), form.ui.fraToDo->width() }) {
        tabs->resize(width, tabs->height());
        QTabBar *bar = tabs->tabBar();
        QVERIFY2(bar->height() < pixels(360), qPrintable(QString::number(bar->height())));
        const QRect first = bar->tabRect(0);
        for (int day = 0; day < 7; ++day) {
            const QRect tab = bar->tabRect(day);
            QCOMPARE(tab.top(), first.top()); // one row
            QVERIFY(tab.left() >= 0);
            QVERIFY(bar->mapTo(tabs, tab.bottomRight()).x() < tabs->width());
        }
        // The day boxes go 24 px below the tab control's top: that point lies inside every page.
        const QRect dayBox = fromTwips(90, 360, 10480, 3020);
        for (int day = 0; day < 7; ++day) {
            tabs->setCurrentIndex(day); // a page gets its size when it is shown
            QWidget *page = tabs->widget(day);
            const QRect inPage(page->mapFrom(tabs, dayBox.topLeft()), dayBox.size());
            QVERIFY2(page->rect().contains(inPage),
                qPrintable(QStringLiteral("page at %1,%2 size %3x%4")
                               .arg(page->mapTo(tabs, QPoint()).x())
                               .arg(page->mapTo(tabs, QPoint()).y())
                               .arg(page->width())
                               .arg(page->height())));
        }
    }
}

void FormFixtures::dayBoxesKeepTheSizeSetBeforeShowing()
{
    // The opening sets the note size before the window is first shown; nothing in the forms (a
    // style sheet, a font set on a container) may put the form's font back when it appears.
    MainForm form;
    const QList<RichTextBox *> boxes = form.window.findChildren<RichTextBox *>();
    for (RichTextBox *box : boxes)
        box->setFontSize(10);
    form.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    for (int day = 0; day < 7; ++day)
        form.ui.tabDays->setCurrentIndex(day);
    for (RichTextBox *box : boxes) {
        QCOMPARE(box->fontSize(), 10.0);
        QCOMPARE(QFontInfo(box->font()).family(), formFont);
    }
}

void FormFixtures::helpWindowDefinition()
{
    HelpForm form;
    QCOMPARE(form.window.objectName(), QStringLiteral("frmHelp"));
    QCOMPARE(form.window.windowTitle(), QStringLiteral("Help & About This Software"));
    // A fixed size: the user cannot resize the window.
    QCOMPARE(form.window.size(), QSize(pixels(10605), pixels(7740)));
    QCOMPARE(form.window.minimumSize(), form.window.size());
    QCOMPARE(form.window.maximumSize(), form.window.size());

    // Its own icon, not the main window's.
    QVERIFY(!form.window.windowIcon().isNull());
    MainForm main;
    QVERIFY(iconImage(form.window.windowIcon(), 16) != iconImage(main.window.windowIcon(), 16));

    QCOMPARE(QFontInfo(form.ui.rtfText->font()).family(), formFont);
    QCOMPARE(form.ui.rtfText->font().pointSize(), 12);
    QVERIFY(!form.ui.rtfText->font().bold());
    QVERIFY(!form.ui.rtfText->font().italic());
    QCOMPARE(form.ui.rtfText->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(form.ui.rtfText->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QVERIFY(form.ui.rtfText->toPlainText().isEmpty());

    const QList<QPair<QPushButton *, QString>> buttons = { { form.ui.cmdOK, "OK" },
        { form.ui.cmdAbout, "About" }, { form.ui.cmdHelp, "Show Help" } };
    for (const auto &[button, caption] : buttons) {
        QCOMPARE(button->text(), caption);
        QVERIFY(button->icon().isNull());
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
}

void FormFixtures::splashWindowDefinition()
{
    SplashForm form;
    QCOMPARE(form.window.objectName(), QStringLiteral("frmSplash"));
    QCOMPARE(form.window.size(), QSize(pixels(6060), pixels(3660)));
    QVERIFY(form.window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(form.window.findChildren<QAbstractButton *>().isEmpty());

    for (QLabel *label : { form.ui.lblSoftwareName, form.ui.lblLogoMessage }) {
        QCOMPARE(QFontInfo(label->font()).family(), formFont);
        QCOMPARE(label->font().pointSize(), 12);
        QCOMPARE(label->alignment(), Qt::AlignCenter);
        QVERIFY(!label->autoFillBackground());
    }
    QVERIFY(form.ui.lblSoftwareName->font().bold());
    QVERIFY(!form.ui.lblLogoMessage->font().bold());
    QCOMPARE(form.ui.Picture1->frameShape(), QFrame::NoFrame);
    QCOMPARE(form.ui.Picture1->pixmap().size(), QSize(350, 200));

    form.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    const QImage shot = grabImage(&form.window);
    const qreal ratio = form.window.devicePixelRatioF();
    const QColor lavender(192, 192, 255);
    // The window's own colour, and the labels show it through them beside their text.
    QCOMPARE(
        colourAt(shot, QPoint(form.window.width() - 2, form.window.height() - 2), ratio), lavender);
    QCOMPARE(colourAt(shot, QPoint(3, 3), ratio), lavender);
    QCOMPARE(colourAt(shot, QPoint(3, form.ui.lblLogoMessage->y() + 12), ratio), lavender);
    // The product name stays readable where the picture reaches under it.
    const QPoint overlap(form.window.width() / 2, form.ui.Picture1->y() + 2);
    QCOMPARE(form.window.childAt(overlap), form.ui.lblSoftwareName);
}

void FormFixtures::splashPicture()
{
    QFile file(QStringLiteral(":/pictures/splash.bmp"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.size(), 210454);
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    const auto s32 = [&](int at) { return qFromLittleEndian<qint32>(bytes.constData() + at); };
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QCOMPARE(u32(2), 210454u);
    QCOMPARE(u32(10), 54u); // pixel rows right after the two headers
    QCOMPARE(u32(14), 40u);
    QCOMPARE(s32(18), 350);
    QCOMPARE(s32(22), 200); // positive height: rows stored bottom-up
    QCOMPARE(u16(28), quint16(24));
    QCOMPARE(u32(30), 0u); // uncompressed
    QCOMPARE(u32(34), 210400u);
    QCOMPARE(s32(38), 3780);
    QCOMPARE(s32(42), 3780);

    const QImage picture(QStringLiteral(":/pictures/splash.bmp"));
    QCOMPARE(picture.size(), QSize(350, 200));
    // The edges take the splash window's colour, so the picture melts into the window.
    QCOMPARE(picture.pixelColor(0, 0), QColor(192, 192, 255));
    QCOMPARE(picture.pixelColor(349, 199), QColor(192, 192, 255));
}

void FormFixtures::iconsAreDrawnAtEverySize_data()
{
    QTest::addColumn<QString>("path");
    const QStringList files = QDir(QStringLiteral(":/icons")).entryList(QDir::Files);
    QVERIFY(files.size() >= 9);
    for (const QString &file : files)
        QTest::addRow("%s", qPrintable(file)) << ":/icons/" + file;
}

void FormFixtures::iconsAreDrawnAtEverySize()
{
    QFETCH(QString, path);
    const QIcon icon(path);
    QVERIFY(!icon.isNull());
    for (int extent : { 16, 32, 64 }) {
        // A pixmap-only icon engine would hand back its 16-pixel picture; the SVG engine draws
        // every size afresh.
        const QImage image = iconImage(icon, extent);
        QCOMPARE(image.size(), QSize(extent, extent));
        int opaque = 0;
        for (int y = 0; y < extent; ++y)
            for (int x = 0; x < extent; ++x)
                opaque += qAlpha(image.pixel(x, y)) > 128;
        QVERIFY2(opaque > extent * extent / 5, qPrintable(QString::number(opaque)));
    }
}

void FormFixtures::buttonsShowTheirIcons()
{
    MainForm form;
    const auto picture = [](QAbstractButton *button) { return iconImage(button->icon(), 16); };
    // Two pairs share a picture; the other pictures all differ.
    QCOMPARE(picture(form.ui.cmdRemToDo), picture(form.ui.cmdLeads));
    QCOMPARE(picture(form.ui.cmdClose), picture(form.ui.cmdClose2));
    const QList<QAbstractButton *> distinct
        = { form.ui.cmdNewToDo, form.ui.cmdRemToDo, form.ui.cmdUp, form.ui.cmdDOWN,
              form.ui.cmdSaveNote, form.ui.cmdSaveAllNow, form.ui.cmdClose };
    for (int i = 0; i < distinct.size(); ++i)
        for (int j = i + 1; j < distinct.size(); ++j)
            QVERIFY2(picture(distinct[i]) != picture(distinct[j]),
                qPrintable(distinct[i]->objectName() + " / " + distinct[j]->objectName()));
    QVERIFY(iconImage(form.window.windowIcon(), 16) != picture(form.ui.cmdNewToDo));
}

void FormFixtures::captionsFit_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("name");
    for (const char *name : { "cmdNewToDo", "cmdRemToDo", "cmdLeads", "cmdSaveNote", "cmdClose",
             "cmdSaveAllNow", "cmdClose2", "chkMem", "fraToDo", "fraSave", "tabDays" })
        QTest::addRow("%s", name) << "frmMain" << name;
    for (int day = 0; day < 7; ++day)
        QTest::addRow("chkSaveDay_%d", day)
            << "frmMain" << QStringLiteral("chkSaveDay_%1").arg(day);
    for (const char *name : { "cmdOK", "cmdAbout", "cmdHelp" })
        QTest::addRow("%s", name) << "frmHelp" << name;
    for (const char *name : { "lblSoftwareName", "lblLogoMessage" })
        QTest::addRow("%s", name) << "frmSplash" << name;
}

void FormFixtures::captionsFit()
{
    QFETCH(QString, form);
    QFETCH(QString, name);
    MainForm main;
    HelpForm help;
    SplashForm splash;
    QWidget *window = form == "frmMain" ? &main.window
        : form == "frmHelp"             ? &help.window
                                        : &splash.window;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto *control = window->findChild<QWidget *>(name);
    QVERIFY(control);
    const QStyle *style = control->style();
    const auto fits = [&](const QString &what, int needed, int available) {
        if (needed <= available)
            return true;
        qWarning(
            "%s: %s needs %d px, has %d", qPrintable(name), qPrintable(what), needed, available);
        return false;
    };

    if (auto *button = qobject_cast<QToolButton *>(control)) {
        // A graphical button: the picture above, the caption below, inside the frame and margins.
        const int frame = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        QVERIFY(fits(
            "caption width", textWidth(button, button->text()) + frame + margin, button->width()));
        QVERIFY(fits("picture and caption height",
            button->iconSize().height() + 4 + textHeight(button) + frame, button->height()));
    } else if (auto *button = qobject_cast<QPushButton *>(control)) {
        const int frame = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        QVERIFY(fits(
            "caption width", textWidth(button, button->text()) + frame + margin, button->width()));
        QVERIFY(fits("caption height", textHeight(button) + frame, button->height()));
    } else if (auto *box = qobject_cast<QCheckBox *>(control)) {
        const int indicator = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box);
        const int spacing = style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box);
        QVERIFY(fits("indicator and caption width",
            indicator + spacing + textWidth(box, box->text()), box->width()));
        QVERIFY(fits("caption height", textHeight(box), box->height()));
    } else if (auto *frame = qobject_cast<QGroupBox *>(control)) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.lineWidth = 1;
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect label
            = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
        QVERIFY(label.width() >= textWidth(frame, frame->title()));
        QVERIFY(fits("title", label.right() + 1, frame->width()));
    } else if (auto *tabs = qobject_cast<QTabWidget *>(control)) {
        QTabBar *bar = tabs->tabBar();
        const int space = style->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
        for (int day = 0; day < tabs->count(); ++day) {
            const QRect tab = bar->tabRect(day);
            QVERIFY(
                fits(tabs->tabText(day), textWidth(bar, tabs->tabText(day)) + space, tab.width()));
            QVERIFY(fits(tabs->tabText(day) + " height", textHeight(bar) + 4, tab.height()));
        }
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        QVERIFY(!label->text().isEmpty());
        QVERIFY(
            fits("text", textWidth(label, label->text()) + 2 * label->margin(), label->width()));
        QVERIFY(fits("text height", textHeight(label), label->height()));
    } else {
        QFAIL("no caption rule for this kind of control");
    }
}

void FormFixtures::mainKeyboardOrder()
{
    MainForm form;
    const QStringList expected = { "cmdNewToDo", "cmdRemToDo", "cmdClose", "tabDays", "lstToDo",
        "rtfToDo", "rtfTuesday", "rtfWednesday", "rtfFriday", "rtfSaturday", "cmdSaveAllNow",
        "cmdClose2", "cmdSaveNote", "rtfThursday", "rtfSunday", "cmdUp", "cmdDOWN", "rtfMonday",
        "cmdLeads", "chkMem", "chkSaveDay_0", "chkSaveDay_1", "chkSaveDay_2", "chkSaveDay_3",
        "chkSaveDay_4", "chkSaveDay_5", "chkSaveDay_6" };
    // The focus chain holds the controls in the defined order (the frames take no focus).
    QStringList chain;
    QWidget *widget = form.ui.cmdNewToDo;
    do {
        const QString name = focusName(widget, form.ui.tabDays);
        if (expected.contains(name) && (chain.isEmpty() || chain.last() != name))
            chain.append(name);
        widget = widget->nextInFocusChain();
    } while (widget != form.ui.cmdNewToDo);
    QCOMPARE(chain, expected);
    QCOMPARE(form.ui.fraToDo->focusPolicy(), Qt::NoFocus);
    QCOMPARE(form.ui.fraSave->focusPolicy(), Qt::NoFocus);

    // The Tab key follows it, starting with "Add ToDo", passing over what cannot take the focus:
    // the day boxes of hidden tabs and the save marks in their disabled frame.
    QVERIFY(showActive(form.window));
    QTRY_COMPARE(QApplication::focusWidget(), form.ui.cmdNewToDo);
    const auto tabFrom = [&](QWidget *start, int presses, Qt::Key key = Qt::Key_Tab) {
        start->setFocus(Qt::OtherFocusReason);
        QStringList visited;
        for (int i = 0; i < presses; ++i) {
            QTest::keyClick(QApplication::focusWidget(), key);
            visited.append(focusName(QApplication::focusWidget(), form.ui.tabDays));
        }
        return visited;
    };
    QCOMPARE(tabFrom(form.ui.cmdNewToDo, 5),
        QStringList({ "cmdRemToDo", "cmdClose", "tabDays", "lstToDo", "rtfToDo" }));
    QCOMPARE(tabFrom(form.ui.cmdSaveAllNow, 5),
        QStringList({ "cmdClose2", "cmdSaveNote", "cmdUp", "cmdDOWN", "rtfMonday" }));
    QCOMPARE(tabFrom(form.ui.cmdLeads, 2), QStringList({ "chkMem", "cmdNewToDo" }));
    QCOMPARE(tabFrom(form.ui.cmdNewToDo, 1, Qt::Key_Backtab), QStringList({ "chkMem" }));
}

void FormFixtures::helpKeyboardOrder()
{
    HelpForm form;
    QStringList chain;
    QWidget *widget = form.ui.cmdOK;
    do {
        if (widget->focusPolicy() != Qt::NoFocus && widget->parentWidget() == &form.window)
            chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != form.ui.cmdOK);
    QCOMPARE(chain, QStringList({ "cmdOK", "rtfText", "cmdAbout", "cmdHelp" }));

    QVERIFY(showActive(form.window));
    QTRY_COMPARE(QApplication::focusWidget(), form.ui.cmdOK);
    QTest::keyClick(form.ui.cmdOK, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form.ui.rtfText);
    form.ui.cmdAbout->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(form.ui.cmdAbout, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form.ui.cmdHelp);
    QTest::keyClick(form.ui.cmdHelp, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form.ui.cmdOK);
}

void FormFixtures::storedFileCheckBoxLiesOverViewFile()
{
    MainForm form;
    QVERIFY(showActive(form.window));
    QWindow *handle = form.window.windowHandle();
    QSignalSpy viewFile(form.ui.cmdLeads, &QAbstractButton::clicked);

    // A click on the check box, where it lies over the button, toggles the box only.
    const QPoint onBox = form.ui.chkMem->mapTo(&form.window, form.ui.chkMem->rect().center());
    QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, onBox);
    QVERIFY(form.ui.chkMem->isChecked());
    QCOMPARE(viewFile.count(), 0);
    QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, onBox);
    QVERIFY(!form.ui.chkMem->isChecked());
    QCOMPARE(viewFile.count(), 0);

    // A click on the button's face below the box presses the button.
    const QPoint onButton = form.ui.cmdLeads->mapTo(
        &form.window, QPoint(form.ui.cmdLeads->width() / 2, form.ui.cmdLeads->height() - 6));
    QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, onButton);
    QCOMPARE(viewFile.count(), 1);
    QVERIFY(!form.ui.chkMem->isChecked());
}

void FormFixtures::saveMarksTakeNoClickAndNoFocus()
{
    MainForm form;
    QVERIFY(showActive(form.window));
    QWindow *handle = form.window.windowHandle();
    for (int day = 0; day < 7; ++day) {
        auto *mark = form.child<QCheckBox>(QStringLiteral("chkSaveDay_%1").arg(day));
        // Enabled themselves; only the frame they lie in is disabled.
        QVERIFY(mark->isEnabledTo(form.ui.fraSave));
        QVERIFY(!mark->isEnabled());
        const QPoint centre = mark->mapTo(&form.window, mark->rect().center());
        QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, centre);
        QVERIFY(!mark->isChecked());
        mark->setChecked(true); // as a save does
        QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, centre);
        QVERIFY(mark->isChecked());
        mark->setFocus(Qt::OtherFocusReason);
        QVERIFY(!mark->hasFocus());
    }
}

void FormFixtures::saveMarksAreDrawnEnabled()
{
    MainForm form;
    form.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    // The panel, its caption and the seven marks look the same as they would in an enabled frame,
    // cleared and set alike.
    SaveMarkLook::prepareFrame(form.ui.fraSave);
    for (bool checked : { false, true }) {
        for (QCheckBox *mark : form.ui.fraSave->findChildren<QCheckBox *>()) {
            mark->setChecked(checked);
            SaveMarkLook::show(mark, checked);
        }
        const QImage asDefined = grabImage(form.ui.fraSave);
        form.ui.fraSave->setEnabled(true);
        const QImage enabled = grabImage(form.ui.fraSave);
        form.ui.fraSave->setEnabled(false);
        QVERIFY2(asDefined == enabled,
            checked ? "set marks look disabled" : "clear marks look disabled");
    }
}

void FormFixtures::saveMarkBackColourShows()
{
    MainForm form;
    form.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form.window));
    const qreal ratio = form.window.devicePixelRatioF();
    // "Stored File" and the marks at rest paint nothing over the frames they sit in.
    QVERIFY(!form.ui.chkMem->autoFillBackground());
    const QColor frameColour = form.ui.fraSave->palette().color(QPalette::Window);
    for (QCheckBox *mark : form.ui.fraSave->findChildren<QCheckBox *>()) {
        QVERIFY(!mark->autoFillBackground());
        const QPoint beyondCaption(mark->width() - 2, mark->height() / 2);
        QCOMPARE(colourAt(grabImage(mark), beyondCaption, ratio), frameColour);
        // The saved mark's colour fills the box.
        SaveMarkLook::show(mark, true);
        QCOMPARE(colourAt(grabImage(mark), beyondCaption, ratio), SaveMarkLook::savedColour());
    }
}

void FormFixtures::accessKeysPressEnabledButtons_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("button");
    QTest::addRow("Alt+A") << int(Qt::Key_A) << "cmdNewToDo";
    QTest::addRow("Alt+R") << int(Qt::Key_R) << "cmdRemToDo";
    QTest::addRow("Alt+V") << int(Qt::Key_V) << "cmdLeads";
    QTest::addRow("Alt+S") << int(Qt::Key_S) << "cmdSaveNote";
    QTest::addRow("Alt+C") << int(Qt::Key_C) << "cmdClose";
    QTest::addRow("Alt+D") << int(Qt::Key_D) << "cmdSaveAllNow";
}

void FormFixtures::accessKeysPressEnabledButtons()
{
    QFETCH(int, key);
    QFETCH(QString, button);
    MainForm form;
    QVERIFY(showActive(form.window));
    auto *target = form.child<QAbstractButton>(button);
    // An access key presses the button at once and releases (clicks) it a moment later.
    QSignalSpy pressed(target, &QAbstractButton::pressed);
    QSignalSpy clicked(target, &QAbstractButton::clicked);
    QList<std::shared_ptr<QSignalSpy>> others;
    for (QAbstractButton *other : form.window.findChildren<QAbstractButton *>())
        if (other != target && other->objectName().startsWith(QLatin1String("cmd")))
            others.append(std::make_shared<QSignalSpy>(other, &QAbstractButton::pressed));

    // From a note box too: the access keys belong to the window.
    QWidget *elsewhere = target == form.ui.cmdClose ? form.ui.cmdNewToDo : form.ui.cmdClose;
    for (QWidget *focus : { elsewhere, static_cast<QWidget *>(form.ui.rtfToDo) }) {
        focus->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::AltModifier);
        QTRY_COMPARE(clicked.count(), pressed.count());
    }
    QCOMPARE(clicked.count(), 2);

    target->setEnabled(false);
    elsewhere->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::AltModifier);
    QCOMPARE(pressed.count(), 2);
    for (const auto &other : others)
        QVERIFY2(other->isEmpty(), qPrintable(other->signal()));
}

void FormFixtures::accessKeysOpenMenus()
{
    MainForm form;
    QVERIFY(showActive(form.window));
    const QList<QPair<Qt::Key, QMenu *>> menus = { { Qt::Key_F, form.ui.mnuFile },
        { Qt::Key_O, form.ui.mnuOptions }, { Qt::Key_H, form.ui.mnuHelp } };
    for (const auto &[key, menu] : menus) {
        form.ui.lstToDo->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(form.ui.lstToDo, key, Qt::AltModifier);
        QTRY_VERIFY2(menu->isVisible(), qPrintable(menu->objectName()));
        menu->close();
        QTRY_VERIFY(!menu->isVisible());
        QApplication::setActiveWindow(&form.window);
        QVERIFY(QTest::qWaitForWindowActive(&form.window));
    }
}

void FormFixtures::menus()
{
    MainForm form;
    const QList<QAction *> bar = form.ui.menubar->actions();
    QCOMPARE(bar.size(), 3);
    QCOMPARE(bar[0], form.ui.mnuFile->menuAction());
    QCOMPARE(bar[1], form.ui.mnuOptions->menuAction());
    QCOMPARE(bar[2], form.ui.mnuHelp->menuAction());
    QCOMPARE(form.ui.mnuFile->title(), QStringLiteral("&File"));
    QCOMPARE(form.ui.mnuOptions->title(), QStringLiteral("&Options"));
    QCOMPARE(form.ui.mnuHelp->title(), QStringLiteral("&Help"));

    struct Entry
    {
        QMenu *menu;
        QAction *action;
        QString text;
        QKeySequence shortcut;
    };
    const QList<Entry> entries = {
        { form.ui.mnuFile, form.ui.mnuSave, "&Save", QKeySequence(Qt::CTRL | Qt::Key_S) },
        { form.ui.mnuFile, form.ui.mnuPrint, "&Print...", QKeySequence(Qt::CTRL | Qt::Key_P) },
        { form.ui.mnuFile, form.ui.mnuExportPdf, "Export as P&DF...", QKeySequence() },
        { form.ui.mnuFile, form.ui.mnuSep1, QString(), QKeySequence() },
        { form.ui.mnuFile, form.ui.mnuClose, "&Exit", QKeySequence(Qt::CTRL | Qt::Key_E) },
        { form.ui.mnuOptions, form.ui.mnuOptionsEarlierVersions, "Earlier &Versions...",
            QKeySequence() },
        { form.ui.mnuOptions, form.ui.mnuOptionsClearProjectList, "Clear Saved Project List",
            QKeySequence() },
        { form.ui.mnuOptions, form.ui.mnuOptionsFindAll, "Find in &All Notes...",
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F) },
        { form.ui.mnuHelp, form.ui.mnuHelpHelpFile, "&Help File", QKeySequence(Qt::Key_F1) },
        { form.ui.mnuHelp, form.ui.mnuHelpAbout, "&About", QKeySequence() },
        { form.ui.mnuHelp, form.ui.mnuHelpOnline, "&Visit Vennick Online", QKeySequence() },
        { form.ui.mnuHelp, form.ui.mnuHelpOtherProducts, "&Other Products", QKeySequence() },
    };
    QMap<QMenu *, QList<QAction *>> inMenu;
    for (const Entry &entry : entries) {
        inMenu[entry.menu].append(entry.action);
        QCOMPARE(entry.action->text(), entry.text);
        QCOMPARE(entry.action->shortcut(), entry.shortcut);
        QCOMPARE(entry.action->isSeparator(), entry.action == form.ui.mnuSep1);
        QCOMPARE(entry.action->shortcutContext(), Qt::WindowShortcut);
        QVERIFY(entry.action->isEnabled());
        QVERIFY(entry.action->isVisible());
        QVERIFY(!entry.action->isCheckable());
    }
    for (QMenu *menu : inMenu.keys())
        QCOMPARE(menu->actions(), inMenu[menu]);
}

void FormFixtures::shortcutsActFromEveryControl_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("action");
    for (const char *focus : { "rtfToDo", "rtfMonday", "lstToDo", "cmdNewToDo", "chkMem" }) {
        QTest::addRow("%s Ctrl+S", focus)
            << focus << int(Qt::Key_S) << int(Qt::ControlModifier) << "mnuSave";
        QTest::addRow("%s Ctrl+E", focus)
            << focus << int(Qt::Key_E) << int(Qt::ControlModifier) << "mnuClose";
        QTest::addRow("%s F1", focus)
            << focus << int(Qt::Key_F1) << int(Qt::NoModifier) << "mnuHelpHelpFile";
    }
}

void FormFixtures::shortcutsActFromEveryControl()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, action);
    MainForm form;
    QVERIFY(showActive(form.window));
    auto *entry = form.child<QAction>(action);
    QVERIFY(entry);
    QSignalSpy triggered(entry, &QAction::triggered);
    QWidget *target = form.child(focus);
    target->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(triggered.count(), 1);
}

void FormFixtures::everyControlHasAnAccessibleName()
{
    MainForm main;
    HelpForm help;
    SplashForm splash;
    int checked = 0;
    for (QWidget *window : { static_cast<QWidget *>(&main.window), &help.window, &splash.window }) {
        QList<QWidget *> controls = window->findChildren<QWidget *>();
        controls.prepend(window);
        for (QWidget *control : controls) {
            const QString name = control->objectName();
            static const QRegularExpression named(
                QStringLiteral("^(frm|cmd|lst|rtf|chk|fra|tab|lbl|page)|^Picture1$"));
            if (!named.match(name).hasMatch())
                continue;
            ++checked;
            QString expected;
            if (auto *button = qobject_cast<QAbstractButton *>(control))
                expected = button->text().isEmpty() ? button->toolTip()
                                                    : withoutMnemonic(button->text());
            else if (auto *frame = qobject_cast<QGroupBox *>(control))
                expected = withoutMnemonic(frame->title());
            else if (auto *label = qobject_cast<QLabel *>(control);
                     label && !label->text().isEmpty())
                expected = label->text();
            else if (control->isWindow())
                expected = control->windowTitle(); // a caption bar has no access keys
            if (expected.isEmpty())
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(name));
            else
                QCOMPARE(control->accessibleName(), expected);
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
            QVERIFY(accessible);
            QCOMPARE(accessible->text(QAccessible::Name), control->accessibleName());
        }
    }
    QCOMPARE(checked, 46); // every named control of the three forms
}

void FormFixtures::grabWindows()
{
    const QString folder = qEnvironmentVariable("QUILLMARK_FORMS_GRAB_DIR");
    if (folder.isEmpty())
        QSKIP("set QUILLMARK_FORMS_GRAB_DIR to a folder to get pictures of the windows");
    QVERIFY(QDir().mkpath(folder));
    const QString scale = QString::number(qApp->devicePixelRatio());

    MainForm main;
    main.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main.window));
    QVERIFY(main.window.grab().save(folder + "/frmMain@" + scale + "x.png"));
    // After a save: three days written, the stored file in use, a project listed, another tab.
    main.ui.lstToDo->addItems({ "Garden shed", "Tax return" });
    main.ui.lstToDo->setCurrentRow(0);
    main.ui.rtfToDo->setText("Order timber and roofing felt.");
    main.ui.chkMem->setChecked(true);
    main.ui.tabDays->setCurrentIndex(2);
    main.ui.rtfWednesday->setText("Dentist at 10.");
    for (int day : { 0, 2, 5 }) {
        auto *mark = main.child<QCheckBox>(QStringLiteral("chkSaveDay_%1").arg(day));
        QPalette palette = mark->palette();
        palette.setColor(mark->backgroundRole(), QColor(0, 255, 0));
        mark->setPalette(palette);
        mark->setChecked(true);
    }
    QVERIFY(main.window.grab().save(folder + "/frmMain-saved@" + scale + "x.png"));

    HelpForm help;
    help.ui.rtfText->setText("Application by: Vennick\r\nName: Quillmark\r\n");
    help.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help.window));
    QVERIFY(help.window.grab().save(folder + "/frmHelp@" + scale + "x.png"));

    SplashForm splash;
    splash.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash.window));
    QVERIFY(splash.window.grab().save(folder + "/frmSplash@" + scale + "x.png"));

    const QStringList icons = QDir(QStringLiteral(":/icons")).entryList(QDir::Files);
    QImage sheet(icons.size() * 72, 72, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int i = 0; i < icons.size(); ++i) {
        const QIcon icon(":/icons/" + icons[i]);
        painter.drawImage(i * 72 + 4, 4, iconImage(icon, 16));
        painter.drawImage(i * 72 + 24, 4, iconImage(icon, 32));
        painter.drawImage(QRect(i * 72 + 4, 40, 32, 32), iconImage(icon, 16)); // 16 px, magnified
    }
    painter.end();
    QVERIFY(sheet.save(folder + "/icons@" + scale + "x.png"));
}
