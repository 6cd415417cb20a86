// The program's command line: --folder with a good folder and with each kind of unusable one, each
// folder's own settings, and the program itself ending with status 2 before any window.
#include "app/CommandLine.h"
#include "storage/QtSettingsStore.h"
#include "storage/SettingsKeys.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {
void makeFile(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}
} // namespace

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void folderIsCreatedAndHoldsItsSettings();
    void unusableFolderFails_data();
    void unusableFolderFails();
    void twoFoldersKeepTheirOwnOrders();
    void programEndsBeforeAnyWindow_data();
    void programEndsBeforeAnyWindow();

private:
    QTemporaryDir m_dir;
};

void CommandLineTest::folderIsCreatedAndHoldsItsSettings()
{
    CommandLine withoutOptions;
    QCOMPARE(withoutOptions.read({ QStringLiteral("quillmark") }), CommandLine::Action::Start);
    QCOMPARE(withoutOptions.settingsFile(), QString());

    const QString given = m_dir.filePath(QStringLiteral("sets/../sets/work"));
    CommandLine commandLine;
    QCOMPARE(commandLine.read({ QStringLiteral("quillmark"), QStringLiteral("--folder"), given }),
        CommandLine::Action::Start);
    const QString folder
        = QFileInfo(m_dir.filePath(QStringLiteral("sets/work"))).canonicalFilePath();
    QVERIFY(!folder.isEmpty());
    QCOMPARE(commandLine.folder(), folder);
    QCOMPARE(commandLine.settingsFile(), folder + QStringLiteral("/.quillmark.conf"));
}

void CommandLineTest::unusableFolderFails_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("reason");
    const QString file = m_dir.filePath(QStringLiteral("a file"));
    makeFile(file);
    QTest::newRow("a file") << file << QStringLiteral("not a folder");
    QTest::newRow("under a file") << file + QStringLiteral("/notes")
                                  << QStringLiteral("cannot be created (");
    // Root writes in any folder whatever its mode; sysfs takes no new file even from root.
    QString readOnly = m_dir.filePath(QStringLiteral("read-only"));
    QDir().mkpath(readOnly);
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (::geteuid() == 0)
        readOnly = QStringLiteral("/sys");
    QTest::newRow("not writable") << readOnly << QStringLiteral("not writable");
}

void CommandLineTest::unusableFolderFails()
{
    QFETCH(QString, given);
    QFETCH(QString, reason);
    CommandLine commandLine;
    QCOMPARE(commandLine.read({ QStringLiteral("quillmark"), QStringLiteral("--folder"), given }),
        CommandLine::Action::Fail);
    const QString expected = QStringLiteral("quillmark: cannot use %1: %2").arg(given, reason);
    QVERIFY2(commandLine.errorText().startsWith(expected), qPrintable(commandLine.errorText()));
}

void CommandLineTest::twoFoldersKeepTheirOwnOrders()
{
    const QStringList orders = { QStringLiteral("Alpha:Beta"), QStringLiteral("Gamma") };
    QStringList settingsFiles;
    for (const QString &order : orders) {
        CommandLine commandLine;
        const QString folder = m_dir.filePath(QStringLiteral("set ") + order);
        commandLine.read({ QStringLiteral("quillmark"), QStringLiteral("--folder"), folder });
        settingsFiles << commandLine.settingsFile();
        QtSettingsStore store(commandLine.settingsFile());
        QVERIFY(
            store.save(SettingsKeys::projectOrder.section, SettingsKeys::projectOrder.key, order));
    }
    for (int i = 0; i < orders.size(); ++i) {
        const QtSettingsStore store(settingsFiles.at(i));
        QCOMPARE(store.get(SettingsKeys::projectOrder.section, SettingsKeys::projectOrder.key,
                     SettingsKeys::projectOrder.defaultValue),
            orders.at(i));
    }
}

void CommandLineTest::programEndsBeforeAnyWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QString file = m_dir.filePath(QStringLiteral("plain"));
    makeFile(file);
    QTest::newRow("unusable folder")
        << QStringList { QStringLiteral("--folder"), file } << 2 << QString()
        << QStringLiteral("quillmark: cannot use %1: not a folder\n").arg(file);
    QTest::newRow("version") << QStringList { QStringLiteral("--version") } << 0
                             << QStringLiteral("quillmark 1.0.0\n") << QString();
    QTest::newRow("unknown option") << QStringList { QStringLiteral("--colour") } << 2 << QString()
                                    << QStringLiteral("quillmark: Unknown option 'colour'.\n");
}

void CommandLineTest::programEndsBeforeAnyWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    // A runtime folder of its own, as a desktop session gives, so that Qt has nothing to say.
    const QString runtime = m_dir.filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    QFile::setPermissions(
        runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QUILLMARK_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), status);
    QVERIFY(QString::fromUtf8(program.readAllStandardOutput()).startsWith(out));
    QCOMPARE(QString::fromUtf8(program.readAllStandardError()), err);
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
