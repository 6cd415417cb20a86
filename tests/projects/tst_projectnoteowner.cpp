// The note the project editor belongs to, without a window: what a write of the owner's note leaves
// on disk, when the user hears of a failed write, and the edits kept while their note cannot be
// written.
#include "projects/ProjectNoteOwner.h"
#include "projects/ProjectStore.h"
#include "storage/NoteWriter.h"
#include "support/FaultyFileStore.h"
#include "support/ScriptedPrompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString plan = QStringLiteral("Plan");
const QByteArray unreadable = "not RTF at all";

// An application folder of its own, the file store that fails on demand and the scripted prompter.
struct Fixture
{
    QTemporaryDir dir;
    ProjectStore store { dir.path() };
    FaultyFileStore files;
    ScriptedPrompter prompter;
    NoteWriter writer { files, false };
    ProjectNoteOwner notes { store, files, writer, prompter };

    Fixture() { QDir().mkpath(store.notesFolder()); }
    QString path(const QString &title) const { return store.notesFolder() + '/' + title + ".rtf"; }
    void failWrites(bool fail)
    {
        files.failWrites = fail ? QSet<QString> { plan + ".rtf" } : QSet<QString>();
    }
    ProjectNoteOwner::WriteResult write(const QByteArray &rtf,
        ProjectNoteOwner::Report report = ProjectNoteOwner::Report::OncePerNote)
    {
        return notes.writeOwner([rtf] { return rtf; }, report);
    }
    // The content of a file, "<none>" when there is no such file.
    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    // What the unreadable note files were kept aside as, oldest first.
    QByteArrayList keptAside() const
    {
        QByteArrayList kept;
        const QDir folder(store.notesFolder());
        for (const QString &name :
            folder.entryList({ ".*unreadable*" }, QDir::Files | QDir::Hidden))
            kept.append(contents(folder.filePath(name)));
        return kept;
    }
    QStringList shownKinds() const
    {
        QStringList kinds;
        for (const ScriptedPrompter::Shown &shown : prompter.shown())
            kinds.append(shown.kind);
        return kinds;
    }
};
} // namespace

class ProjectNoteOwnerTest : public QObject
{
    Q_OBJECT
private slots:
    void writeOutcomes_data();
    void writeOutcomes();
    void nothingToWriteWithoutOwner();
    void reporting_data();
    void reporting();
    void keptEdits_data();
    void keptEdits();
    void resumedEditStillKeepsUnreadableFileAside();
};

void ProjectNoteOwnerTest::writeOutcomes_data()
{
    QTest::addColumn<bool>("fileUnreadable");
    QTest::addColumn<bool>("failMoveAside");
    QTest::addColumn<bool>("failWrite");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArrayList>("aside");
    QTest::addColumn<QString>("reason"); // of the notice; empty when the write succeeds

    const QString noSpace = QStringLiteral("No space left on device");
    QTest::newRow("written") << false << false << false << QByteArray("new") << QByteArrayList()
                             << QString();
    QTest::newRow("write fails") << false << false << true << QByteArray("<none>")
                                 << QByteArrayList() << noSpace;
    QTest::newRow("unreadable kept aside") << true << false << false << QByteArray("new")
                                           << QByteArrayList { unreadable } << QString();
    QTest::newRow("unreadable cannot be kept aside")
        << true << true << false << unreadable << QByteArrayList()
        << QStringLiteral("Its note file could not be read, and it could not be set aside to "
                          "keep what it holds.  Permission denied");
    QTest::newRow("kept aside, then the write fails")
        << true << false << true << QByteArray("<none>") << QByteArrayList { unreadable }
        << noSpace;
}

void ProjectNoteOwnerTest::writeOutcomes()
{
    QFETCH(bool, fileUnreadable);
    QFETCH(bool, failMoveAside);
    QFETCH(bool, failWrite);
    QFETCH(QByteArray, file);
    QFETCH(QByteArrayList, aside);
    QFETCH(QString, reason);

    Fixture f;
    if (fileUnreadable) {
        QFile existing(f.path(plan));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write(unreadable);
    }
    f.files.failMoveAside = failMoveAside;
    f.failWrites(failWrite);
    f.notes.setOwner(plan,
        fileUnreadable ? ProjectNoteOwner::KeepAside::Unreadable
                       : ProjectNoteOwner::KeepAside::Nothing);
    f.notes.markEdited();

    const auto result = f.write("new");
    QCOMPARE(result,
        reason.isEmpty() ? ProjectNoteOwner::WriteResult::Written
                         : ProjectNoteOwner::WriteResult::Failed);
    QCOMPARE(Fixture::contents(f.path(plan)), file);
    QCOMPARE(f.keptAside(), aside);
    QCOMPARE(f.notes.isEdited(), !reason.isEmpty());
    QCOMPARE(f.notes.unsavedNotes(), reason.isEmpty() ? QStringList() : QStringList { plan });
    QCOMPARE(f.notes.keptEdit(plan).has_value(), !reason.isEmpty());
    if (reason.isEmpty()) {
        QVERIFY(f.prompter.shown().isEmpty());
    } else {
        QCOMPARE(f.prompter.shown().size(), 1);
        QCOMPARE(f.prompter.shown()[0].text,
            QStringLiteral("ToDo list item: Plan could not be saved.\r\n\r\n") + reason);
        QCOMPARE(f.prompter.shown()[0].caption, QStringLiteral("Save"));
    }
}

// Without an owner the note folder is still made ready, and the editor's text is never made.
void ProjectNoteOwnerTest::nothingToWriteWithoutOwner()
{
    Fixture f;
    QVERIFY(QDir(f.store.notesFolder()).removeRecursively());
    bool asked = false;
    const auto result = f.notes.writeOwner(
        [&asked] {
            asked = true;
            return QByteArray();
        },
        ProjectNoteOwner::Report::Always);
    QCOMPARE(result, ProjectNoteOwner::WriteResult::NothingToWrite);
    QVERIFY(!asked);
    QVERIFY(QDir(f.store.notesFolder()).exists());
    QVERIFY(f.prompter.shown().isEmpty());
}

void ProjectNoteOwnerTest::reporting_data()
{
    // Each step is a save of the owner's note: "auto" or "explicit", then whether it "fails" or
    // goes "ok".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("unsaved");
    const QStringList plans { plan };
    QTest::newRow("automatic saves report once")
        << QStringList { "auto fails", "auto fails" } << QStringList { "notice" } << plans;
    QTest::newRow("explicit saves always report")
        << QStringList { "explicit fails", "explicit fails" }
        << QStringList { "message", "message" } << plans;
    QTest::newRow("explicit after automatic") << QStringList { "auto fails", "explicit fails" }
                                              << QStringList { "notice", "message" } << plans;
    QTest::newRow("automatic after explicit")
        << QStringList { "explicit fails", "auto fails" } << QStringList { "message" } << plans;
    QTest::newRow("a success forgets the failure")
        << QStringList { "auto fails", "auto ok", "auto fails" }
        << QStringList { "notice", "notice" } << plans;
    QTest::newRow("a success clears the unsaved note")
        << QStringList { "auto fails", "explicit ok" } << QStringList { "notice" } << QStringList();
}

void ProjectNoteOwnerTest::reporting()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, unsaved);

    Fixture f;
    f.notes.setOwner(plan);
    for (const QString &step : steps) {
        f.failWrites(step.endsWith("fails"));
        f.write("text",
            step.startsWith("auto") ? ProjectNoteOwner::Report::OncePerNote
                                    : ProjectNoteOwner::Report::Always);
    }
    QCOMPARE(f.shownKinds(), shown);
    QCOMPARE(f.notes.unsavedNotes(), unsaved);
}

void ProjectNoteOwnerTest::keptEdits_data()
{
    QTest::addColumn<QString>("ownerAfter"); // who owns the editor when the kept edits are written
    QTest::addColumn<bool>("diskWorks");
    QTest::addColumn<bool>("allWritten");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("unsaved");

    QTest::newRow("written once another note owns the editor")
        << "Other" << true << true << QByteArray("kept") << QStringList();
    QTest::newRow("the owner's own edit is skipped")
        << plan << true << true << QByteArray("<none>") << QStringList { plan };
    QTest::newRow("still failing")
        << "Other" << false << false << QByteArray("<none>") << QStringList { plan };
}

void ProjectNoteOwnerTest::keptEdits()
{
    QFETCH(QString, ownerAfter);
    QFETCH(bool, diskWorks);
    QFETCH(bool, allWritten);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, unsaved);

    Fixture f;
    f.notes.setOwner(plan);
    f.failWrites(true);
    QCOMPARE(f.write("kept"), ProjectNoteOwner::WriteResult::Failed);
    f.notes.setOwner(ownerAfter);
    f.failWrites(!diskWorks);

    QCOMPARE(f.notes.writeKeptEdits(), allWritten);
    QCOMPARE(Fixture::contents(f.path(plan)), file);
    QCOMPARE(f.notes.unsavedNotes(), unsaved);
    QCOMPARE(f.notes.keptEdit(plan), unsaved.isEmpty() ? std::nullopt : std::optional("kept"));
    // The failure was told once, however often the kept edit fails again.
    QCOMPARE(f.shownKinds(), QStringList { "notice" });
}

// An edit kept after its unreadable file could not be set aside comes back still owing that: the
// file is set aside before the write that finally succeeds.
void ProjectNoteOwnerTest::resumedEditStillKeepsUnreadableFileAside()
{
    Fixture f;
    QFile existing(f.path(plan));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write(unreadable);
    existing.close();
    f.files.failMoveAside = true;
    f.notes.setOwner(plan, ProjectNoteOwner::KeepAside::Unreadable);
    QCOMPARE(f.write("kept"), ProjectNoteOwner::WriteResult::Failed);
    f.notes.setOwner("Other");

    f.notes.resumeKeptEdit(plan);
    QCOMPARE(f.notes.owner(), plan);
    QVERIFY(f.notes.isEdited());
    f.files.failMoveAside = false;
    QCOMPARE(f.write("kept"), ProjectNoteOwner::WriteResult::Written);
    QCOMPARE(Fixture::contents(f.path(plan)), QByteArray("kept"));
    QCOMPARE(f.keptAside(), QByteArrayList { unreadable });
    QVERIFY(f.notes.unsavedNotes().isEmpty());
}

QTEST_GUILESS_MAIN(ProjectNoteOwnerTest)
#include "tst_projectnoteowner.moc"
