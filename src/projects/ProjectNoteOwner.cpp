#include "projects/ProjectNoteOwner.h"

#include "platform/Prompter.h"
#include "storage/FileStore.h"

namespace {
// The tag of the name an unreadable note file is kept under before it is replaced.
const QString unreadableTag = QStringLiteral("unreadable");
} // namespace

ProjectNoteOwner::ProjectNoteOwner(const ProjectStore &store, FileStore &files, Prompter &prompter)
    : m_store(store)
    , m_files(files)
    , m_prompter(prompter)
{ }

void ProjectNoteOwner::setOwner(const QString &title, bool fileUnreadable)
{
    m_owner = title;
    m_edited = false;
    m_ownerFileUnreadable = fileUnreadable;
}

void ProjectNoteOwner::clearOwner()
{
    m_owner.reset();
    m_edited = false;
    m_ownerFileUnreadable = false;
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
    if (!writeNoteFile(title, rtf, &m_ownerFileUnreadable, &error)) {
        m_unwritten.insert(title, { rtf, m_ownerFileUnreadable });
        reportNotSaved(title, error, report);
        return WriteResult::Failed;
    }
    m_edited = false;
    forgetFailure(title);
    return WriteResult::Written;
}

bool ProjectNoteOwner::writeNoteFile(
    const QString &title, const QByteArray &rtf, bool *fileUnreadable, QString *error)
{
    const QString folder = m_store.notesFolder();
    if (!m_files.folderExists(folder) && !m_files.createFolder(folder)) {
        *error = m_files.errorString();
        return false;
    }
    const QString path = m_store.notePath(title);
    // A note file that could not be read keeps its bytes under a hidden name before anything
    // replaces it; if it cannot be kept, it is not replaced.
    if (*fileUnreadable && m_files.fileExists(path)) {
        if (m_files.moveAside(path, unreadableTag).isEmpty()) {
            *error
                = QStringLiteral("Its note file could not be read, and it could not be set aside "
                                 "to keep what it holds.  %1")
                      .arg(m_files.errorString());
            return false;
        }
    }
    *fileUnreadable = false;
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
        if (writeNoteFile(title, kept.rtf, &kept.fileUnreadable, &error)) {
            forgetFailure(title);
        } else {
            m_unwritten[title].fileUnreadable = kept.fileUnreadable;
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
    setOwner(title, m_unwritten.value(title).fileUnreadable);
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
