#include "projects/ProjectNoteOwner.h"

#include "platform/Prompter.h"
#include "storage/FileStore.h"
#include "storage/KeptCopyNotices.h"

namespace {
} // namespace

ProjectNoteOwner::ProjectNoteOwner(const ProjectStore &store, FileStore &files, Prompter &prompter)
    : m_store(store)
    , m_files(files)
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

ProjectNoteOwner::WriteResult ProjectNoteOwner::writeOwner(
    const std::function<QByteArray()> &editorText, Report report)
{
    const QString folder = m_store.notesFolder();
    if (!m_files.folderExists(folder))
        m_files.createFolder(folder);

    const QString title = owner();
    if (m_store.notePath(title).isEmpty())
        return WriteResult::NothingToWrite;
    const QByteArray rtf = editorText();
    QString error;
    if (!writeNoteFile(title, rtf, &m_ownerKeep, &error)) {
        m_unwritten.insert(title, { rtf, m_ownerKeep });
        reportNotSaved(title, error, report);
        return WriteResult::Failed;
    }
    m_edited = false;
    forgetFailure(title);
    return WriteResult::Written;
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
    if (!m_files.writeFileAtomic(path, rtf)) {
        *error = m_files.errorString();
        return false;
    }
    return true;
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
