// A second start on the same application folder hands over to the running program and ends.
#include "app/SingleInstance.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class SingleInstanceTest : public QObject
{
    Q_OBJECT
private slots:
    void secondStartAsksFirstToComeForward();
    void otherFoldersRunSideBySide();
    void lockOfEndedProgramIsTakenOver();
    void lockAndSocketNamesAreHidden();
};

void SingleInstanceTest::secondStartAsksFirstToComeForward()
{
    QTemporaryDir folder;
    SingleInstance first(folder.path());
    QVERIFY(first.claim());
    QSignalSpy activation(&first, &SingleInstance::activationRequested);
    SingleInstance second(folder.path());
    QVERIFY(!second.claim());
    QVERIFY(activation.count() == 1 || activation.wait(2000));
}

void SingleInstanceTest::otherFoldersRunSideBySide()
{
    QTemporaryDir one;
    QTemporaryDir two;
    SingleInstance first(one.path());
    SingleInstance second(two.path());
    QVERIFY(first.claim());
    QVERIFY(second.claim());
}

void SingleInstanceTest::lockOfEndedProgramIsTakenOver()
{
    QTemporaryDir folder;
    {
        SingleInstance earlier(folder.path());
        QVERIFY(earlier.claim());
    }
    SingleInstance later(folder.path());
    QVERIFY(later.claim());
}

void SingleInstanceTest::lockAndSocketNamesAreHidden()
{
    QTemporaryDir folder;
    const QFileInfo lock(SingleInstance::lockFilePath(folder.path()));
    QVERIFY(lock.fileName().startsWith(QLatin1Char('.')));
    QVERIFY(!lock.fileName().contains(QLatin1String(".rtf")));
    QVERIFY(SingleInstance::serverName(folder.path())
        != SingleInstance::serverName(folder.path() + "/x"));
}

QTEST_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
