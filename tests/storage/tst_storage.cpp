// The settings store and the file operations the notes rely on.
#include "storage/AtomicWriteBatch.h"
#include "storage/FileStore.h"
#include "storage/QtSettingsStore.h"
#include "support/FaultyFileStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

class StorageTest : public QObject
{
    Q_OBJECT
private slots:
    void awkwardSettingsTextReadsBack_data();
    void awkwardSettingsTextReadsBack();
    void absentSettingReadsDefaultAndCreatesNothing();
    void settingsLiveInIniGroups();
    void garbageSettingsFileReadsDefaultsAndIsKeptAtFirstSave();
    void handEditedSettingsFileIsNotMovedAside();

    void listingSkipsFoldersAndHiddenFiles();
    void listingMissingFolderIsEmpty();
    void forceDeleteRemovesReadOnlyFile();
    void atomicWriteReplacesContent();
    void failedWriteLeavesOldFileWhole();
    void writeFailingHalfWayLeavesOldFileWhole();
    void atomicWriteKeepsSymbolicLink();
    void atomicWriteFollowsTheUmask();
    void atomicWriteIntoFolderFails();
    void moveAsideNeverOverwritesOlderBackup();
    void asideNameFitsAFileName_data();
    void asideNameFitsAFileName();
    void outsideChangeIsKeptBeforeWriting();
    void fileThatAppearedIsKeptBeforeWriting_data();
    void fileThatAppearedIsKeptBeforeWriting();
    void ownWritesAndTouchedFilesAreNoConflict();

    void batchReplacesEveryFileLikeSingleWrites();
    void batchWriteFailingInTheMiddleTouchesOnlyItsFile_data();
    void batchWriteFailingInTheMiddleTouchesOnlyItsFile();
    void batchNeverCommittedLeavesFilesAndNoTemporaries();
    void batchKeepsOutsideChangeOfOneFile();

private:
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

void StorageTest::awkwardSettingsTextReadsBack_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("colons") << QStringLiteral("Alpha:Beta::Gamma:");
    QTest::newRow("commas") << QStringLiteral("one, two,three");
    QTest::newRow("quotes") << QStringLiteral("say \"hi\" and 'bye'");
    QTest::newRow("equals semicolon hash") << QStringLiteral("a=b;c#d");
    QTest::newRow("backslashes") << QStringLiteral("C:\\Users\\me\\leads.xls");
    QTest::newRow("spaces") << QStringLiteral("  padded  ");
    QTest::newRow("non-ASCII") << QStringLiteral("Café ☕ Ünïcödé 日本");
    QTest::newRow("at sign first") << QStringLiteral("@Variant(x)");
    QTest::newRow("empty") << QString();
    QTest::newRow("newline") << QStringLiteral("line\nnext");
    QTest::newRow("number text") << QStringLiteral("-345");
}

void StorageTest::awkwardSettingsTextReadsBack()
{
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quillmark.conf"));
    {
        QtSettingsStore store(path);
        QVERIFY(store.save(QStringLiteral("projects"), QStringLiteral("order"), value));
    }
    QtSettingsStore reopened(path);
    QCOMPARE(
        reopened.get(QStringLiteral("projects"), QStringLiteral("order"), QStringLiteral("na:")),
        value);
}

void StorageTest::absentSettingReadsDefaultAndCreatesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quillmark.conf"));
    QtSettingsStore store(path);
    QCOMPARE(store.get(QStringLiteral("salesfile"), QStringLiteral("loc"), QStringLiteral("na")),
        QStringLiteral("na"));
    QVERIFY(!QFile::exists(path));
}

void StorageTest::settingsLiveInIniGroups()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quillmark.conf"));
    QtSettingsStore store(path);
    store.save(QStringLiteral("screen"), QStringLiteral("top"), QStringLiteral("900"));
    const QByteArray text = read(path);
    QVERIFY2(text.contains("[screen]") && text.contains("top=900"), text.constData());
}

void StorageTest::garbageSettingsFileReadsDefaultsAndIsKeptAtFirstSave()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quillmark.conf"));
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919) % 256));
    write(path, garbage);
    QtSettingsStore store(path);
    // Defaults, and reading changes nothing on disk.
    QCOMPARE(store.get(QStringLiteral("screen"), QStringLiteral("top"), QStringLiteral("100")),
        QStringLiteral("100"));
    QCOMPARE(read(path), garbage);
    // The first save keeps the unreadable file under a hidden name, then writes a fresh one.
    QVERIFY(store.save(QStringLiteral("screen"), QStringLiteral("top"), QStringLiteral("900")));
    QVERIFY(!store.keptUnreadableFile().isEmpty());
    QCOMPARE(read(store.keptUnreadableFile()), garbage);
    QVERIFY(QFileInfo(store.keptUnreadableFile()).fileName().startsWith(QLatin1Char('.')));
    QCOMPARE(QtSettingsStore(path).get(QStringLiteral("screen"), QStringLiteral("top"), QString()),
        QStringLiteral("900"));
    // Later saves go to the fresh file; the backup stays as it is.
    QVERIFY(store.save(QStringLiteral("screen"), QStringLiteral("left"), QStringLiteral("1200")));
    QCOMPARE(read(store.keptUnreadableFile()), garbage);
}

void StorageTest::handEditedSettingsFileIsNotMovedAside()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quillmark.conf"));
    write(path, "; edited by hand\n[screen]\ntop = 900\n\n[other]\nkept=yes\n");
    QtSettingsStore store(path);
    QCOMPARE(store.get(QStringLiteral("screen"), QStringLiteral("top"), QString()),
        QStringLiteral("900"));
    QVERIFY(store.save(QStringLiteral("screen"), QStringLiteral("left"), QStringLiteral("7")));
    QVERIFY(store.keptUnreadableFile().isEmpty());
    // A group the program does not know survives its saves.
    QCOMPARE(QtSettingsStore(path).get(QStringLiteral("other"), QStringLiteral("kept"), QString()),
        QStringLiteral("yes"));
}

void StorageTest::listingSkipsFoldersAndHiddenFiles()
{
    QTemporaryDir dir;
    write(dir.filePath(QStringLiteral("b.rtf")), "b");
    write(dir.filePath(QStringLiteral("a.rtf")), "a");
    write(dir.filePath(QStringLiteral(".hidden.rtf")), "h");
    QDir(dir.path()).mkdir(QStringLiteral("folder.rtf"));
    QStringList names = FileStore().listFiles(dir.path());
    names.sort();
    QCOMPARE(names, (QStringList { QStringLiteral("a.rtf"), QStringLiteral("b.rtf") }));
}

void StorageTest::listingMissingFolderIsEmpty()
{
    QTemporaryDir dir;
    QVERIFY(FileStore().listFiles(dir.filePath(QStringLiteral("missing"))).isEmpty());
}

void StorageTest::forceDeleteRemovesReadOnlyFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("locked.rtf"));
    write(path, "x");
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    QVERIFY(FileStore().forceDelete(path));
    QVERIFY(!QFile::exists(path));
}

void StorageTest::atomicWriteReplacesContent()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("note.rtf"));
    write(path, "old content that is longer");
    FileStore store;
    QVERIFY(store.writeFileAtomic(path, "new"));
    QCOMPARE(read(path), QByteArray("new"));
    // No temporary file is left behind, and none would be listed.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("note.rtf") });
}

void StorageTest::failedWriteLeavesOldFileWhole()
{
    if (::geteuid() == 0)
        QSKIP("root ignores folder permissions");
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("locked"));
    QDir().mkdir(folder);
    const QString path = folder + QStringLiteral("/note.rtf");
    write(path, "the old note");
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    FileStore store;
    QVERIFY(!store.writeFileAtomic(path, "the new note"));
    QVERIFY(!store.errorString().isEmpty());
    QFile::setPermissions(
        folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(read(path), QByteArray("the old note"));
}

void StorageTest::writeFailingHalfWayLeavesOldFileWhole()
{
    // A file size limit makes the write fail part of the way through, as a full disk would, also
    // for root.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("note.rtf"));
    write(path, "the old note");
    struct rlimit previous;
    ::getrlimit(RLIMIT_FSIZE, &previous);
    struct rlimit limited = previous;
    limited.rlim_cur = 64 * 1024;
    auto *oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limited);
    FileStore store;
    const bool written = store.writeFileAtomic(path, QByteArray(1024 * 1024, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written);
    QVERIFY(!store.errorString().isEmpty());
    QCOMPARE(read(path), QByteArray("the old note"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("note.rtf") });
}

void StorageTest::atomicWriteKeepsSymbolicLink()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("real.rtf"));
    const QString link = dir.filePath(QStringLiteral("link.rtf"));
    write(target, "old");
    QVERIFY(QFile::link(target, link));
    QVERIFY(FileStore().writeFileAtomic(link, "new"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(read(target), QByteArray("new"));
}

// A new file is made as the user's umask says; a replaced one keeps its own mode.
void StorageTest::atomicWriteFollowsTheUmask()
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("tuesday.rtf"));
    const QString existing = dir.filePath(QStringLiteral("monday.rtf"));
    write(existing, "old");
    QVERIFY(::chmod(QFile::encodeName(existing).constData(), 0640) == 0);
    const mode_t before = ::umask(0077);
    FileStore store;
    const bool written
        = store.writeFileAtomic(fresh, "new") && store.writeFileAtomic(existing, "x");
    ::umask(before);
    QVERIFY(written);
    const auto mode = [](const QString &path) {
        struct stat info
        { };
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
    };
    QCOMPARE(mode(fresh), 0600u);
    QCOMPARE(mode(existing), 0640u);
}

void StorageTest::atomicWriteIntoFolderFails()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("folder.rtf"));
    QDir().mkdir(path);
    FileStore store;
    QVERIFY(!store.writeFileAtomic(path, "x"));
    QVERIFY(QFileInfo(path).isDir());
}

void StorageTest::moveAsideNeverOverwritesOlderBackup()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("monday.rtf"));
    FileStore store;
    write(path, "first");
    const QString first = store.moveAside(path, QStringLiteral("unreadable"));
    write(path, "second");
    const QString second = store.moveAside(path, QStringLiteral("unreadable"));
    QVERIFY(!first.isEmpty() && !second.isEmpty() && first != second);
    QCOMPARE(read(first), QByteArray("first"));
    QCOMPARE(read(second), QByteArray("second"));
    QVERIFY(QFileInfo(first).isHidden());
    QVERIFY(!QFile::exists(path));
}

void StorageTest::asideNameFitsAFileName_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("aside");
    QTest::newRow("short") << "Plan.rtf"
                           << ".Plan.rtf.conflict-1";
    // 251 bytes: 1 + 242 + 1 + 11 = 255.
    QTest::newRow("long ASCII") << QString(247, 'x') + ".rtf"
                                << "." + QString(242, 'x') + "~.conflict-1";
    // Three bytes each: 249 + 4 bytes; 80 whole characters fit in 242.
    QTest::newRow("three-byte characters") << QString(83, QChar(0x65e5)) + ".rtf"
                                           << "." + QString(80, QChar(0x65e5)) + "~.conflict-1";
    // Four bytes and two UTF-16 units each: 248 + 4 bytes; 60 whole characters fit in 242.
    QTest::newRow("characters outside the BMP") << QString("😀").repeated(62) + ".rtf"
                                                << "." + QString("😀").repeated(60) + "~.conflict-1";
}

void StorageTest::asideNameFitsAFileName()
{
    QFETCH(QString, fileName);
    QFETCH(QString, aside);
    QCOMPARE(FileStore::asideName(fileName, FileStore::conflictTag(), 1), aside);

    // The real file system takes the name and keeps the content under it.
    QTemporaryDir dir;
    const QString path = dir.filePath(fileName);
    write(path, "kept");
    FileStore store;
    const QString keptAs = store.moveAside(path, FileStore::conflictTag());
    QCOMPARE(keptAs, dir.filePath(aside));
    QCOMPARE(read(keptAs), QByteArray("kept"));
    QVERIFY(!QFile::exists(path));
}

void StorageTest::outsideChangeIsKeptBeforeWriting()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Plan.rtf"));
    write(path, "as loaded");
    FileStore store;
    QStringList told;
    store.setOutsideChangeHandler(
        [&](const QString &file, const QString &keptAs) { told << file << keptAs; });
    QByteArray contents;
    QVERIFY(store.readFile(path, &contents));
    // Another program (a sync tool, a second computer) changes the note.
    write(path, "changed elsewhere, longer");
    QVERIFY(store.writeFileAtomic(path, "typed here"));
    QCOMPARE(read(path), QByteArray("typed here"));
    QCOMPARE(told.size(), 2);
    QCOMPARE(told.at(0), path);
    QCOMPARE(read(told.at(1)), QByteArray("changed elsewhere, longer"));
    QVERIFY(QFileInfo(told.at(1)).isHidden());
    QVERIFY(!FileStore().listFiles(dir.path()).contains(QFileInfo(told.at(1)).fileName()));
    // Told once: the next write replaces the program's own version without a word.
    QVERIFY(store.writeFileAtomic(path, "typed more"));
    QCOMPARE(told.size(), 2);
}

void StorageTest::fileThatAppearedIsKeptBeforeWriting_data()
{
    QTest::addColumn<bool>("lookedByReading");
    QTest::newRow("looked for") << false;
    QTest::newRow("read") << true;
}

// A file the store found missing, then put there by another program (a backup copied in, a sync
// tool), is kept like a changed one.
void StorageTest::fileThatAppearedIsKeptBeforeWriting()
{
    QFETCH(bool, lookedByReading);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Plan.rtf"));
    FileStore store;
    QStringList told;
    store.setOutsideChangeHandler(
        [&](const QString &file, const QString &keptAs) { told << file << keptAs; });
    QByteArray contents;
    QVERIFY(lookedByReading ? !store.readFile(path, &contents) : !store.fileExists(path));
    write(path, "copied in");
    QVERIFY(store.writeFileAtomic(path, "typed here"));
    QCOMPARE(read(path), QByteArray("typed here"));
    QCOMPARE(told, (QStringList { path, dir.filePath(QStringLiteral(".Plan.rtf.conflict-1")) }));
    QCOMPARE(read(told.at(1)), QByteArray("copied in"));
    QVERIFY(store.writeFileAtomic(path, "typed more"));
    QCOMPARE(told.size(), 2);
}

void StorageTest::ownWritesAndTouchedFilesAreNoConflict()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("monday.rtf"));
    FileStore store;
    int told = 0;
    store.setOutsideChangeHandler([&](const QString &, const QString &) { ++told; });
    QVERIFY(store.writeFileAtomic(path, "one"));
    QVERIFY(store.writeFileAtomic(path, "two"));
    // Only the time changes: the content is still the program's own.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(
        QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    file.close();
    QVERIFY(store.writeFileAtomic(path, "three"));
    QCOMPARE(told, 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("monday.rtf") });
}

// Files in a batch end the way single atomic writes leave them: new content, permissions kept, a
// link still a link, no temporary file left.
void StorageTest::batchReplacesEveryFileLikeSingleWrites()
{
    QTemporaryDir dir;
    QDir().mkdir(dir.filePath(QStringLiteral("other")));
    const QString existing = dir.filePath(QStringLiteral("monday.rtf"));
    const QString fresh = dir.filePath(QStringLiteral("tuesday.rtf"));
    const QString target = dir.filePath(QStringLiteral("other/real.rtf"));
    const QString link = dir.filePath(QStringLiteral("wednesday.rtf"));
    write(existing, "old monday, longer than the new");
    QFile::setPermissions(existing, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QFileDevice::Permissions permissions = QFile::permissions(existing);
    write(target, "old wednesday");
    QVERIFY(QFile::link(target, link));

    FileStore store;
    AtomicWriteBatch batch(store);
    QCOMPARE(batch.add(existing, "monday"), 0);
    QCOMPARE(batch.add(fresh, "tuesday"), 1);
    QCOMPARE(batch.add(link, "wednesday"), 2);
    // Nothing is replaced before the commit.
    QCOMPARE(read(existing), QByteArray("old monday, longer than the new"));
    QVERIFY(!QFile::exists(fresh));
    batch.commit();

    for (int i = 0; i < 3; ++i) {
        QVERIFY(batch.written(i));
        QCOMPARE(batch.errorString(i), QString());
    }
    QCOMPARE(read(existing), QByteArray("monday"));
    QCOMPARE(QFile::permissions(existing), permissions);
    QCOMPARE(read(fresh), QByteArray("tuesday"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(read(target), QByteArray("wednesday"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
        QStringList({ "monday.rtf", "tuesday.rtf", "wednesday.rtf" }));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("other"))).entryList(QDir::Files | QDir::Hidden),
        QStringList { "real.rtf" });
    QVERIFY(!batch.written(3));
    QVERIFY(!batch.written(-1));
}

void StorageTest::batchWriteFailingInTheMiddleTouchesOnlyItsFile_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("error");
    QTest::newRow("writing the temporary") << "write"
                                           << "No space left on device";
    QTest::newRow("waiting for the disk") << "sync"
                                          << "Input/output error";
    QTest::newRow("renaming over the file") << "replace"
                                            << "Permission denied";
    QTest::newRow("a folder in the file's place") << "folder"
                                                  << "is a folder";
}

// One file of five fails at one step of the batch: it keeps its old content and reports why; the
// files before and after it are written all the same.
void StorageTest::batchWriteFailingInTheMiddleTouchesOnlyItsFile()
{
    QFETCH(QString, step);
    QFETCH(QString, error);
    QTemporaryDir dir;
    FaultyFileStore store;
    const QString failing = QStringLiteral("c.rtf");
    if (step == QLatin1String("write"))
        store.failWrites.insert(failing);
    else if (step == QLatin1String("sync"))
        store.failSyncs.insert(failing);
    else if (step == QLatin1String("replace"))
        store.failReplaces.insert(failing);
    else
        QVERIFY(QDir().mkdir(dir.filePath(failing)));
    const QStringList names { "a.rtf", "b.rtf", "c.rtf", "d.rtf", "e.rtf" };
    for (const QString &name : names)
        if (name != failing || step != QLatin1String("folder"))
            write(dir.filePath(name), "old " + name.toUtf8());

    AtomicWriteBatch batch(store);
    for (const QString &name : names)
        batch.add(dir.filePath(name), "new " + name.toUtf8());
    batch.commit();

    for (int i = 0; i < names.size(); ++i) {
        const QString path = dir.filePath(names[i]);
        if (names[i] == failing) {
            QVERIFY(!batch.written(i));
            QVERIFY2(batch.errorString(i).contains(error), qPrintable(batch.errorString(i)));
            if (step == QLatin1String("folder"))
                QVERIFY(QFileInfo(path).isDir());
            else
                QCOMPARE(read(path), "old " + names[i].toUtf8());
        } else {
            QVERIFY2(batch.written(i), qPrintable(names[i]));
            QCOMPARE(batch.errorString(i), QString());
            QCOMPARE(read(path), "new " + names[i].toUtf8());
        }
    }
    // The failed file's temporary went with the others'.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".tmp")),
        QStringList());
}

void StorageTest::batchNeverCommittedLeavesFilesAndNoTemporaries()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("monday.rtf"));
    write(path, "old");
    FileStore store;
    {
        AtomicWriteBatch batch(store);
        batch.add(path, "new");
        batch.add(dir.filePath(QStringLiteral("tuesday.rtf")), "new");
    }
    QCOMPARE(read(path), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("monday.rtf") });
}

// A file another program changed after the store read it is kept aside by the batch too, and only
// that one.
void StorageTest::batchKeepsOutsideChangeOfOneFile()
{
    QTemporaryDir dir;
    const QString changed = dir.filePath(QStringLiteral("monday.rtf"));
    const QString same = dir.filePath(QStringLiteral("tuesday.rtf"));
    write(changed, "as loaded");
    write(same, "as loaded");
    FileStore store;
    QStringList told;
    store.setOutsideChangeHandler(
        [&](const QString &file, const QString &keptAs) { told << file << keptAs; });
    QByteArray contents;
    QVERIFY(store.readFile(changed, &contents));
    QVERIFY(store.readFile(same, &contents));
    write(changed, "changed elsewhere, longer");

    AtomicWriteBatch batch(store);
    batch.add(changed, "typed monday");
    batch.add(same, "typed tuesday");
    batch.commit();
    QVERIFY(batch.written(0) && batch.written(1));
    QCOMPARE(read(changed), QByteArray("typed monday"));
    QCOMPARE(read(same), QByteArray("typed tuesday"));
    QCOMPARE(told.size(), 2);
    QCOMPARE(told.at(0), changed);
    QCOMPARE(read(told.at(1)), QByteArray("changed elsewhere, longer"));
    // The batch remembers what it wrote: the next write is no conflict.
    QVERIFY(store.writeFileAtomic(changed, "typed more"));
    QCOMPARE(told.size(), 2);
}

QTEST_GUILESS_MAIN(StorageTest)
#include "tst_storage.moc"
