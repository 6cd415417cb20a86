// Where the notes and the help file are for a program in a folder of the user's (./run) and for an
// installed one (the package: bin/ and share/quillmark/).
#include "app/AppFolders.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class AppFoldersTest : public QObject
{
    Q_OBJECT

private slots:
    void applicationFolder_data();
    void applicationFolder();
    void foldersOfAProgramOnDisk_data();
    void foldersOfAProgramOnDisk();
};

void AppFoldersTest::applicationFolder_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("besideProgram");
    QTest::newRow("writable program folder") << true << false << true;
    QTest::newRow("read-only program folder") << false << false << false;
    QTest::newRow("installed program run by root") << true << true << false;
}

void AppFoldersTest::applicationFolder()
{
    QFETCH(bool, writable);
    QFETCH(bool, installed);
    QFETCH(bool, besideProgram);
    const QString program = QStringLiteral("/opt/program");
    const QString chosen
        = AppFolders::applicationFolder(program, writable, installed, QStringLiteral("/home/u/d"));
    QCOMPARE(chosen, besideProgram ? program : QStringLiteral("/home/u/d/Quillmark"));
}

void AppFoldersTest::foldersOfAProgramOnDisk_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("helpFile");
    QTest::addColumn<bool>("notesBesideProgram");
    QTest::newRow("./run's folder")
        << QStringLiteral("quillmark") << QStringLiteral("quillmark/help.rtf") << true;
    QTest::newRow("installed") << QStringLiteral("usr/bin")
                               << QStringLiteral("usr/share/quillmark/help.rtf") << false;
}

void AppFoldersTest::foldersOfAProgramOnDisk()
{
    QFETCH(QString, programFolder);
    QFETCH(QString, helpFile);
    QFETCH(bool, notesBesideProgram);
    QTemporaryDir root;
    const QString program = root.filePath(programFolder);
    const QString help = root.filePath(helpFile);
    QVERIFY(QDir().mkpath(program));
    QVERIFY(QDir().mkpath(QFileInfo(help).path()));
    QFile file(help);
    QVERIFY(file.open(QIODevice::WriteOnly));

    QCOMPARE(AppFolders::helpFileOf(program), help);
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Quillmark");
    QCOMPARE(AppFolders::applicationFolderOf(program), notesBesideProgram ? program : perUser);
}

QTEST_GUILESS_MAIN(AppFoldersTest)
#include "tst_appfolders.moc"
