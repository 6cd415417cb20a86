#include "projects/ProjectNoteOwner.h"

#include "platform/Prompter.h"
#include "storage/FileStore.h"
#include "storage/KeptCopyNotices.h"
#include "storage/NoteWriter.h"

ProjectNoteOwner::ProjectNoteOwner(
    const ProjectStore &store, FileStore &files, NoteWriter &writer, Prompter &prompter)
    : m_store(store)
    , m_files(files)
    , m_writer(writer)
    , m_prompter(prompter)
{ }

void ProjectNoteOwner::setOwner(const QString &title, KeepAside keep)
{
    m_owner = title;
    m_edited = false;
    m_ownerKeep = keep;
}

void ProjectNoteOwner::clearOwner()
{
    m_owner.reset();
    m_edited = false;
    m_ownerKeep = KeepAside::Nothing;
}

QString ProjectNoteOwner::notSavedText(const QString &title, const QString &reason)
{
    return QStringLiteral("ToDo list item: %1 could not be saved.\r\n\r\n%2").arg(title, reason);
}

bool ProjectNoteOwner::prepareNotesFolder()
{
    const QString folder = m_store.notesFolder();
    if (!m_files.folderExists(folder))
        m_files.createFolder(folder);
    return !m_store.notePath(owner()).isEmpty();
}

ProjectNoteOwner::WriteResult ProjectNoteOwner::writeOwner(
    const std::function<QByteArray()> &editorText, Report report)
{
    if (!prepareNotesFolder())
        return WriteResult::NothingToWrite;
    const QString title = owner();
    const QByteArray rtf = editorText();
    Ended ended;
    ended.report = report;
    ended.written = writeNoteFile(title, rtf, &m_ownerKeep, &ended.error);
    ownerWriteEnded(title, rtf, ended);
    return ended.written ? WriteResult::Written : WriteResult::Failed;
}

void ProjectNoteOwner::writeOwnerSoon(const std::function<QList<QByteArray>()> &editorPieces,
    const std::function<void(WriteResult)> &done)
{
    if (!prepareNotesFolder()) {
        done(WriteResult::NothingToWrite);
        return;
    }
    // A file to be kept aside first is moved on this thread, before anything is queued for it.
    if (m_ownerKeep != KeepAside::Nothing) {
        done(writeOwner([&] { return editorPieces().join(); }, Report::OncePerNote));
        return;
    }
    const QString title = owner();
    const QList<QByteArray> pieces = editorPieces();
    // Edits made from now on are newer than this write.
    m_edited = false;
    m_writer.write(
        m_store.notePath(title), pieces, [this, title, pieces, done](const auto &outcome) {
            const Ended ended { outcome.written, outcome.error, Report::OncePerNote, true };
            // Only an edit that could not be written is kept, as one array.
            ownerWriteEnded(title, outcome.written ? QByteArray() : pieces.join(), ended);
            done(outcome.written ? WriteResult::Written : WriteResult::Failed);
        });
}

void ProjectNoteOwner::ownerWriteEnded(
    const QString &title, const QByteArray &rtf, const Ended &ended)
{
    const bool stillOwner = m_owner && *m_owner == title;
    if (ended.written) {
        // A write made at once holds the editor's newest text; one from the writer's thread may
        // be older than what was typed since.
        if (stillOwner && !ended.background)
            m_edited = false;
        forgetFailure(title);
        return;
    }
    m_unwritten.insert(title, { rtf, stillOwner ? m_ownerKeep : KeepAside::Nothing });
    // The editor's text is still to be written: the next save of it tries again.
    if (stillOwner)
        m_edited = true;
    reportNotSaved(title, ended.error, ended.report);
}

void ProjectNoteOwner::waitForWrites()
{
    m_writer.waitForAll();
}

bool ProjectNoteOwner::writeNoteFile(
    const QString &title, const QByteArray &rtf, KeepAside *keep, QString *error)
{
    const QString folder = m_store.notesFolder();
    if (!m_files.folderExists(folder) && !m_files.createFolder(folder)) {
        *error = m_files.errorString();
        return false;
    }
    const QString path = m_store.notePath(title);
    m_writer.waitFor(path);
    // A note file that could not be read, or not whole, keeps its bytes under a hidden name before
    // anything replaces it; if it cannot be kept, it is not replaced.
    if (*keep != KeepAside::Nothing && m_files.fileExists(path)) {
        const bool unreadable = *keep == KeepAside::Unreadable;
        const QString keptAs = m_files.moveAside(
            path, unreadable ? KeptCopyNotices::unreadableTag() : KeptCopyNotices::broughtInTag());
        if (keptAs.isEmpty()) {
            *error = (unreadable ? QStringLiteral("Its note file could not be read, and it could "
                                                  "not be set aside to keep what it holds.  %1")
                                 : QStringLiteral("Its note file holds content that Quillmark "
                                                  "cannot show, and it could not be set aside to "
                                                  "keep what it holds.  %1"))
                         .arg(m_files.errorString());
            return false;
        }
        // The user was told of an unreadable file when it was shown empty.
        if (!unreadable)
            m_prompter.notice(
                KeptCopyNotices::broughtInText(title, keptAs), KeptCopyNotices::broughtInCaption());
    }
    *keep = KeepAside::Nothing;
    const NoteWriter::Outcome outcome = m_writer.writeNow(path, rtf);
    *error = outcome.error;
    return outcome.written;
}

bool ProjectNoteOwner::writeKeptEdits(Report report)
{
    bool allWritten = true;
    const QStringList titles = m_unwritten.keys();
    for (const QString &title : titles) {
        // The editor holds the newest text of its own note.
        if (m_owner && *m_owner == title)
            continue;
        Unwritten kept = m_unwritten.value(title);
        QString error;
        if (writeNoteFile(title, kept.rtf, &kept.keep, &error)) {
            forgetFailure(title);
        } else {
            m_unwritten[title].keep = kept.keep;
            reportNotSaved(title, error, report);
            allWritten = false;
        }
    }
    return allWritten;
}

std::optional<QByteArray> ProjectNoteOwner::keptEdit(const QString &title) const
{
    const auto kept = m_unwritten.constFind(title);
    if (kept == m_unwritten.cend())
        return std::nullopt;
    return kept->rtf;
}

void ProjectNoteOwner::resumeKeptEdit(const QString &title)
{
    setOwner(title, m_unwritten.value(title).keep);
    m_edited = true;
}

void ProjectNoteOwner::reportNotSaved(const QString &title, const QString &reason, Report report)
{
    if (!m_unsaved.contains(title))
        m_unsaved.append(title);
    const QString text = notSavedText(title, reason);
    if (report == Report::Always) {
        m_reported.insert(title);
        m_prompter.message(text, saveCaption());
        return;
    }
    // Automatic saves run on every second key: the user hears of a note once, not on every key.
    if (m_reported.contains(title))
        return;
    m_reported.insert(title);
    m_prompter.notice(text, saveCaption());
}

void ProjectNoteOwner::forgetFailure(const QString &title)
{
    m_unsaved.removeAll(title);
    m_reported.remove(title);
    m_unwritten.remove(title);
}
