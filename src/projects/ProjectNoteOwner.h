// The note the project editor belongs to and the writes of project notes: which title owns the
// editor and whether it was edited, the edits kept while their note cannot be written, and the
// failures the user has heard of. No widgets: the panel passes titles and the editor's text.
#pragma once

#include "projects/ProjectStore.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class FileStore;
class NoteWriter;
class Prompter;

class ProjectNoteOwner
{
public:
    // An automatic save tells the user of a failing note once; an explicit save tells every time.
    enum class Report { OncePerNote, Always };
    enum class WriteResult { Written, NothingToWrite, Failed };
    // What the owner's note file is kept aside as before the first write replaces it: nothing, an
    // unreadable copy (it could not be read), or the file as brought in (it holds content the
    // editor cannot show; the user is told when it is kept).
    enum class KeepAside { Nothing, Unreadable, AsBroughtIn };

    ProjectNoteOwner(
        const ProjectStore &store, FileStore &files, NoteWriter &writer, Prompter &prompter);

    // The editor shows the note of title, as loaded from its file: not edited. keep says what its
    // file is kept aside as before the first write.
    void setOwner(const QString &title, KeepAside keep = KeepAside::Nothing);
    // The editor shows no entry's note.
    void clearOwner();
    bool hasOwner() const { return m_owner.has_value(); }
    // The owner's title; empty when there is no owner.
    QString owner() const { return m_owner.value_or(QString()); }
    void markEdited() { m_edited = true; }
    bool isEdited() const { return m_edited; }

    // Writes the editor's text to the owner's note. The note folder is made ready first, whether
    // or not there is a note to write; editorText is asked only when there is one.
    WriteResult writeOwner(const std::function<QByteArray()> &editorText, Report report);
    // The same, but the file work goes to the note writer's thread: done runs once the note is on
    // disk or its write failed (a failure is told once per note, and the edit kept and retried).
    // The first write of a file that is to be kept aside runs at once.
    // editorPieces gives the editor's RTF in pieces that follow one another.
    void writeOwnerSoon(const std::function<QList<QByteArray>()> &editorPieces,
        const std::function<void(WriteResult)> &done);
    // Waits until every note write has ended and its outcome is taken in.
    void waitForWrites();
    // Writes the edits kept for notes whose write failed, but not the owner's: the editor holds
    // its newest text. A failure is told as report says. False when one still fails.
    bool writeKeptEdits(Report report = Report::OncePerNote);

    // What the editor held for title when its write failed; nothing when no edit is kept.
    std::optional<QByteArray> keptEdit(const QString &title) const;
    // The editor shows the kept edit of title again: title owns it, edited, still waiting for its
    // write.
    void resumeKeptEdit(const QString &title);
    // The note of title is gone: its failure and its kept edit with it.
    void forgetFailure(const QString &title);
    // The titles of notes whose last write failed, in the order they failed.
    QStringList unsavedNotes() const { return m_unsaved; }

    // The caption of the message and notice of a note that could not be saved.
    static QString saveCaption() { return QStringLiteral("Save"); }
    static QString notSavedText(const QString &title, const QString &reason);

private:
    bool writeNoteFile(
        const QString &title, const QByteArray &rtf, KeepAside *keep, QString *error);
    void reportNotSaved(const QString &title, const QString &reason, Report report);

    struct Ended
    {
        bool written = false;
        QString error;
        Report report = Report::OncePerNote;
        bool background = false; // on the writer's thread, while the user may have typed on
    };
    // Takes in how the write of rtf to title's note ended.
    void ownerWriteEnded(const QString &title, const QByteArray &rtf, const Ended &ended);
    bool prepareNotesFolder();

    const ProjectStore &m_store;
    FileStore &m_files;
    NoteWriter &m_writer;
    Prompter &m_prompter;

    std::optional<QString> m_owner;
    // The editor was changed by the user since its note was last written or loaded.
    bool m_edited = false;
    // What the owner's note file is kept aside as before the first write.
    KeepAside m_ownerKeep = KeepAside::Nothing;

    // Titles whose last write failed, in the order they failed, and those already reported.
    QStringList m_unsaved;
    QSet<QString> m_reported;
    // What the editor held for a note whose write failed: shown again instead of the file when the
    // entry is selected, so that the edit is not lost while the note cannot be written.
    struct Unwritten
    {
        QByteArray rtf;
        KeepAside keep = KeepAside::Nothing;
    };
    QHash<QString, Unwritten> m_unwritten;
};
