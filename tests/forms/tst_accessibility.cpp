// Every control of the main window and the help window has a name for screen readers: its caption,
// or for a picture-only button its tool tip. The find bar of a note box included.
#include "editor/FindBar.h"
#include "editor/RichTextBox.h"
#include "help/HelpMenu.h"
#include "help/HelpWindow.h"
#include "mainwindow/MainWindow.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace {
QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// A control is what the user works with or reads: buttons, fields, lists, tabs, frames, labels. The
// scroll bars and inner parts that Qt builds into these are described by their owners.
bool isControl(QWidget *widget)
{
    if (qobject_cast<QScrollBar *>(widget) || qobject_cast<QTabBar *>(widget))
        return false;
    if (widget->parentWidget()
        && (qobject_cast<QTabBar *>(widget->parentWidget())
            || qobject_cast<QMenuBar *>(widget->parentWidget())))
        return false; // the tab strip's scroll arrows, the menu bar's overflow button
    return qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget)
        || qobject_cast<QAbstractScrollArea *>(widget) || qobject_cast<QGroupBox *>(widget)
        || qobject_cast<QTabWidget *>(widget) || qobject_cast<QLabel *>(widget)
        || qobject_cast<FindBar *>(widget);
}

QStringList unnamedControls(QWidget *window)
{
    QStringList unnamed;
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *widget : widgets) {
        if (widget == window || isControl(widget)) {
            if (accessibleName(widget).trimmed().isEmpty())
                unnamed << QStringLiteral("%1 (%2)").arg(
                    widget->objectName(), widget->metaObject()->className());
        }
    }
    return unnamed;
}

QString withoutAccessKey(QString caption)
{
    return caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}
} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT
private slots:
    void everyControlOfTheMainWindowHasAName();
    void everyControlOfTheHelpWindowHasAName();
    void captionsAndToolTipsAreTheNames();
};

void AccessibilityTest::everyControlOfTheMainWindowHasAName()
{
    TestApp app;
    MainWindow &window = app.open();
    // The find bars exist once used: open one in every note box.
    for (RichTextBox *box : window.findChildren<RichTextBox *>()) {
        box->setEnabled(true);
        box->openFindBar();
    }
    const QStringList unnamed = unnamedControls(&window);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    QVERIFY(window.findChildren<FindBar *>().size() == 8);
}

void AccessibilityTest::everyControlOfTheHelpWindowHasAName()
{
    TestApp app;
    app.open();
    app.trigger(QStringLiteral("mnuHelpHelpFile"));
    HelpWindow *help = app.window().helpMenu().helpWindow();
    QVERIFY(help);
    help->textBox()->openFindBar();
    const QStringList unnamed = unnamedControls(help);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
}

void AccessibilityTest::captionsAndToolTipsAreTheNames()
{
    TestApp app;
    MainWindow &window = app.open();
    for (RichTextBox *box : window.findChildren<RichTextBox *>())
        box->openFindBar();
    int iconOnly = 0;
    for (QAbstractButton *button : window.findChildren<QAbstractButton *>()) {
        if (!isControl(button))
            continue;
        const QString name = accessibleName(button);
        if (button->text().isEmpty() || button->text().size() == 1) {
            // A picture or a single glyph says nothing to a screen reader: the tool tip does.
            QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->objectName()));
            QCOMPARE(name, button->toolTip());
            ++iconOnly;
        } else {
            QCOMPARE(name, withoutAccessKey(button->text()));
        }
    }
    QVERIFY(iconOnly >= 2); // "Move Item Up", "Move Item Down" and the find bars' buttons
    for (QGroupBox *frame : window.findChildren<QGroupBox *>())
        QCOMPARE(accessibleName(frame), withoutAccessKey(frame->title()));
    auto *tabs = app.find<QTabWidget>(QStringLiteral("tabDays"));
    for (int i = 0; i < tabs->count(); ++i)
        QCOMPARE(accessibleName(tabs->widget(i)->findChild<RichTextBox *>()).isEmpty(), false);
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
