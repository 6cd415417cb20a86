// The Qt dialogs of QtPrompter as the user meets them: which button Enter presses, and a notice
// that leaves the keyboard with the note being typed in.
#include "platform/QtPrompter.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class PrompterTest : public QObject
{
    Q_OBJECT

private slots:
    void questionEnterGivesTheDefault_data();
    void questionEnterGivesTheDefault();
    void inputBoxShowsItsWholeCaption();
    void noticeLeavesTheKeyboardWhereItWas();
    void noticeClosesOnlyByOkOrEsc();
    void noticeOfAWindowStillOpeningWaitsForIt();
};

namespace {
// A window with a field being typed in, and the notice QtPrompter shows over it.
struct TypingWindow
{
    QWidget window;
    QLineEdit *field = new QLineEdit(&window);
    QtPrompter prompter { [this] { return &window; } };

    TypingWindow()
    {
        window.show();
        window.activateWindow();
        field->setFocus();
    }
    QMessageBox *showNotice()
    {
        prompter.notice("Something happened.", "Caption");
        return window.findChild<QMessageBox *>();
    }
};
} // namespace

void PrompterTest::questionEnterGivesTheDefault_data()
{
    QTest::addColumn<bool>("defaultYes");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void PrompterTest::questionEnterGivesTheDefault()
{
    QFETCH(bool, defaultYes);
    const Prompter::Answer asked = defaultYes ? Prompter::Answer::Yes : Prompter::Answer::No;
    QWidget window;
    window.show();
    QtPrompter prompter([&window] { return &window; });

    QString defaultButton;
    QTimer poll;
    poll.setInterval(0);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        defaultButton = box->defaultButton() ? box->defaultButton()->text().remove('&') : QString();
        QTest::keyClick(box, Qt::Key_Return);
    });
    poll.start();
    const Prompter::Answer answer = prompter.question("Text", "Caption", asked);

    QCOMPARE(defaultButton, defaultYes ? QString("Yes") : QString("No"));
    QCOMPARE(answer, asked);
}

void PrompterTest::inputBoxShowsItsWholeCaption()
{
    QWidget window;
    window.show();
    QtPrompter prompter([&window] { return &window; });
    const QString caption = QStringLiteral("Enter a title for your item:");
    int width = 0;
    QTimer::singleShot(0, this, [&] {
        QWidget *box = QApplication::activeModalWidget();
        width = box ? box->width() : 0;
        if (box)
            QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE(prompter.input("ToDo Item Title:", caption, "Title"), QStringLiteral("Title"));
    // The caption in a bold title font, with room for the window manager's icon and buttons.
    QFont bold = window.font();
    bold.setBold(true);
    QVERIFY(width >= QFontMetrics(bold).horizontalAdvance(caption) + 100);
}

void PrompterTest::noticeLeavesTheKeyboardWhereItWas()
{
    TypingWindow typing;
    QVERIFY(QTest::qWaitForWindowActive(&typing.window));
    QMessageBox *notice = typing.showNotice();
    QVERIFY(notice && notice->isVisible());
    QTest::keyClicks(QApplication::focusWidget(), "abc");
    QCOMPARE(typing.field->text(), QString("abc"));

    // A window manager that activates the notice anyway has the activation handed back.
    notice->activateWindow();
    QTest::qWait(50);
    QCOMPARE(QApplication::activeWindow(), &typing.window);
    QCOMPARE(QApplication::focusWidget(), typing.field);
}

void PrompterTest::noticeClosesOnlyByOkOrEsc()
{
    TypingWindow typing;
    QPointer<QMessageBox> notice = typing.showNotice();
    QVERIFY(notice);
    QVERIFY(!notice->defaultButton() || !notice->defaultButton()->isDefault());
    // Keys meant for the note do not close it unread, even when they reach it.
    QTest::keyClick(notice, Qt::Key_Return);
    QTest::keyClick(notice, Qt::Key_Space);
    QVERIFY(notice && notice->isVisible());
    QTest::keyClick(notice, Qt::Key_Escape);
    QTRY_VERIFY(!notice);
}

// A notice raised while the window opens is shown over it, not under it nor before it.
void PrompterTest::noticeOfAWindowStillOpeningWaitsForIt()
{
    QWidget window;
    QtPrompter prompter([&window] { return &window; });
    prompter.notice("The day file could not be read.", "Caption");
    auto *notice = window.findChild<QMessageBox *>();
    QVERIFY(notice);
    QVERIFY(!notice->isVisible());
    window.show();
    QTRY_VERIFY(notice->isVisible());
}

QTEST_MAIN(PrompterTest)
#include "tst_prompter.moc"
