// The Qt dialogs of QtPrompter as the user meets them: which button Enter presses.
#include "platform/QtPrompter.h"

#include <QApplication>
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
};

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

QTEST_MAIN(PrompterTest)
#include "tst_prompter.moc"
