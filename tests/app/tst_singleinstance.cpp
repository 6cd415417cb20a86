// One program per application folder: a second start on this computer hands over to the running
// program and ends; notes that may be open elsewhere are asked about, with No as the default.
#include "app/InstanceMarker.h"
#include "app/LocalInstance.h"
#include "app/SingleInstance.h"
#include "app/StartDecision.h"
#include "support/ScriptedPrompter.h"

#include <QAtomicInt>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {
// A process id no process has (above Linux's highest).
constexpr qint64 endedPid = 99999999;

void writeMarker(const QString &folder, const QByteArray &text)
{
    QFile file(InstanceMarker::path(folder));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray markerText(const QString &folder)
{
    QFile file(InstanceMarker::path(folder));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A first program on the folder, running its own event loop as a separate program would.
class FirstProgram : public QThread
{
public:
    explicit FirstProgram(const QString &folder)
        : m_folder(folder)
    { }
    QAtomicInt claimed;
    QAtomicInt activations;

protected:
    void run() override
    {
        ScriptedPrompter prompter;
        SingleInstance first(m_folder);
        connect(&first, &SingleInstance::activationRequested, [this] { activations.ref(); });
        claimed.storeRelease(first.claim(prompter) ? 1 : -1);
        exec();
    }

private:
    QString m_folder;
};
} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void decision_data();
    void decision();
    void markerOfAnotherComputerAsks_data();
    void markerOfAnotherComputerAsks();
    void staleMarkerOfThisComputerIsReplaced();
    void runningFirstProgramIsActivated();
    void lockedWithoutAnswerAsks();
    void otherFoldersRunSideBySide();
    void endedProgramLeavesNothingBehind();
    void namesAreHiddenAndPerFolder();

private:
    QTemporaryDir m_runtime;
};

void SingleInstanceTest::initTestCase()
{
    // The runtime folder of the test alone: the user's own stays untouched.
    QVERIFY(m_runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
    QVERIFY(LocalInstance::runtimeFolder().startsWith(m_runtime.path()));
}

void SingleInstanceTest::decision_data()
{
    QTest::addColumn<bool>("lockHeld");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QByteArray>("marker");
    QTest::addColumn<bool>("markerRunning");
    QTest::addColumn<StartDecision::Action>("action");
    QTest::addColumn<QString>("host");
    const auto start = StartDecision::Action::Start;
    const auto ask = StartDecision::Action::Ask;
    QTest::newRow("free folder") << false << false << QByteArray() << false << start << "";
    QTest::newRow("another computer")
        << false << false << QByteArray("# x\nhost=laptop\nuser=ann\npid=77\n") << false << ask
        << "laptop";
    QTest::newRow("earlier version's lock, another computer")
        << false << false << QByteArray("77\nQuillmark\nlaptop\n") << false << ask << "laptop";
    QTest::newRow("unreadable") << false << false << QByteArray("\x01\x02") << false << ask
                                << StartDecision::unknownHost();
    QTest::newRow("this computer, ended")
        << false << false << QByteArray("# x\nhost=desk\nuser=ann\npid=77\n") << false << start
        << "";
    QTest::newRow("this computer, running without the lock")
        << false << false << QByteArray("# x\nhost=DESK\nuser=bob\npid=77\n") << true << ask
        << "desk";
    QTest::newRow("this computer, this process")
        << false << false << QByteArray("# x\nhost=desk\nuser=ann\npid=5\n") << true << start << "";
    QTest::newRow("running one answers")
        << true << true << QByteArray("# x\nhost=laptop\nuser=ann\npid=77\n") << false
        << StartDecision::Action::Activate << "";
    QTest::newRow("running one does not answer")
        << true << false << QByteArray() << false << ask << "desk";
}

void SingleInstanceTest::decision()
{
    QFETCH(bool, lockHeld);
    QFETCH(bool, answered);
    QFETCH(QByteArray, marker);
    QFETCH(bool, markerRunning);
    StartFacts facts;
    facts.thisHost = QStringLiteral("desk");
    facts.thisPid = 5;
    facts.lockHeldByRunning = lockHeld;
    facts.runningAnswered = answered;
    if (!marker.isEmpty())
        facts.marker = InstanceMarker::parse(marker);
    facts.markerProcessRunning = markerRunning;
    const StartDecision decision = StartDecision::decide(facts);
    QTEST(decision.action, "action");
    QTEST(decision.host, "host");
}

void SingleInstanceTest::markerOfAnotherComputerAsks_data()
{
    QTest::addColumn<QByteArray>("marker");
    QTest::addColumn<Prompter::Answer>("answer");
    const QByteArray marker = InstanceMarker { InstanceMarker::Kind::Written,
        QStringLiteral("laptop-at-home"), QStringLiteral("ann"), 4242 }
                                  .text();
    QTest::newRow("No ends") << marker << Prompter::Answer::No;
    QTest::newRow("Yes starts") << marker << Prompter::Answer::Yes;
    QTest::newRow("earlier version's QLockFile, No ends")
        << QByteArray("4242\nQuillmark\nlaptop-at-home\n") << Prompter::Answer::No;
}

void SingleInstanceTest::markerOfAnotherComputerAsks()
{
    QFETCH(QByteArray, marker);
    QFETCH(Prompter::Answer, answer);
    QTemporaryDir folder;
    writeMarker(folder.path(), marker);
    ScriptedPrompter prompter;
    prompter.answerQuestion(answer);
    {
        SingleInstance instance(folder.path());
        QCOMPARE(instance.claim(prompter), answer == Prompter::Answer::Yes);
        QCOMPARE(prompter.shown().size(), 1);
        const ScriptedPrompter::Shown question = prompter.shown().constFirst();
        QCOMPARE(question.kind, QStringLiteral("question"));
        QCOMPARE(question.caption, QStringLiteral("Notes In Use"));
        QCOMPARE(question.text,
            QStringLiteral("These notes may be open in Quillmark on laptop-at-home.  Two programs "
                           "saving the same notes overwrite each other's notes.\r\n\r\nStart "
                           "anyway?"));
        QCOMPARE(question.defaultButton, Prompter::Answer::No);
        // Yes takes the marker over; No leaves the other computer's in place.
        const InstanceMarker now = InstanceMarker::read(folder.path());
        QCOMPARE(now.isOfThisComputer(), answer == Prompter::Answer::Yes);
    }
    if (answer == Prompter::Answer::No)
        QCOMPARE(markerText(folder.path()), marker);
}

void SingleInstanceTest::staleMarkerOfThisComputerIsReplaced()
{
    QTemporaryDir folder;
    writeMarker(folder.path(),
        InstanceMarker { InstanceMarker::Kind::Written, QSysInfo::machineHostName(),
            QStringLiteral("ann"), endedPid }
            .text());
    ScriptedPrompter prompter;
    SingleInstance instance(folder.path());
    QVERIFY(instance.claim(prompter));
    QVERIFY(prompter.shown().isEmpty());
    QVERIFY(InstanceMarker::read(folder.path()).sameProgram(InstanceMarker::thisProgram()));
}

void SingleInstanceTest::runningFirstProgramIsActivated()
{
    QTemporaryDir folder;
    FirstProgram first(folder.path());
    first.start();
    QTRY_COMPARE(first.claimed.loadAcquire(), 1);
    ScriptedPrompter prompter;
    {
        SingleInstance second(folder.path());
        QVERIFY(!second.claim(prompter));
    }
    QVERIFY(prompter.shown().isEmpty());
    QTRY_COMPARE(first.activations.loadAcquire(), 1);
    // The second start leaves the first one's marker alone.
    QVERIFY(InstanceMarker::read(folder.path()).isOfThisComputer());
    first.quit();
    first.wait();
}

void SingleInstanceTest::lockedWithoutAnswerAsks()
{
    // A program of this computer holds the folder's lock but never answers (nobody listens).
    QTemporaryDir folder;
    QLockFile held(LocalInstance::lockFilePath(folder.path()));
    QVERIFY(held.tryLock(0));
    ScriptedPrompter prompter;
    prompter.answerQuestion(Prompter::Answer::No);
    SingleInstance second(folder.path());
    QVERIFY(!second.claim(prompter));
    QCOMPARE(prompter.shownOfKind(QStringLiteral("question")).size(), 1);
    QCOMPARE(prompter.shown().constFirst().text,
        StartDecision::questionText(QSysInfo::machineHostName()));
}

void SingleInstanceTest::otherFoldersRunSideBySide()
{
    QTemporaryDir one;
    QTemporaryDir two;
    ScriptedPrompter prompter;
    SingleInstance first(one.path());
    SingleInstance second(two.path());
    QVERIFY(first.claim(prompter));
    QVERIFY(second.claim(prompter));
    QVERIFY(prompter.shown().isEmpty());
}

void SingleInstanceTest::endedProgramLeavesNothingBehind()
{
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    {
        SingleInstance earlier(folder.path());
        QVERIFY(earlier.claim(prompter));
        QVERIFY(QFile::exists(InstanceMarker::path(folder.path())));
    }
    QVERIFY(!QFile::exists(InstanceMarker::path(folder.path())));
    SingleInstance later(folder.path());
    QVERIFY(later.claim(prompter));
    QVERIFY(prompter.shown().isEmpty());
}

void SingleInstanceTest::namesAreHiddenAndPerFolder()
{
    QTemporaryDir folder;
    const QFileInfo marker(InstanceMarker::path(folder.path()));
    QVERIFY(marker.fileName().startsWith(QLatin1Char('.')));
    QVERIFY(!marker.fileName().contains(QLatin1String(".rtf")));
    QVERIFY(LocalInstance::lockFilePath(folder.path()).startsWith(m_runtime.path()));
    QVERIFY(LocalInstance::serverName(folder.path())
        != LocalInstance::serverName(folder.path() + "/x"));
}

QTEST_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
