// The seven day notes: their boxes and files, the save marks that show which files a save wrote,
// and the timer that returns the marks to rest.
#pragma once

#include "daynotes/DayNotesView.h"
#include "daynotes/DayTable.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>

class AtomicWriteBatch;
class FileStore;
class NoteWriter;
class Prompter;
class QCheckBox;
class QTimer;
class RichTextBox;

class DayNotes : public QObject
{
    Q_OBJECT
public:
    using DayResults = std::array<bool, DayTable::dayCount>;

    DayNotes(const DayNotesView &view, const QString &applicationFolder, FileStore &files,
        NoteWriter &writer, Prompter &prompter, int resetIntervalMs, QObject *parent = nullptr);

    // Loads each day file that exists into its box, Monday to Sunday. A file that exists but cannot
    // be read leaves its day empty, and is kept aside before the next save writes over it; the
    // user is told by a notice. A file holding content the box cannot show is kept aside as it was
    // before the next save.
    void load();
    // Waits until no write of the day's file is queued or under way, and takes in how it ended.
    void finishWrites(int index);
    // Whether another program changed the day's file since the box's note was read or written.
    bool changedOutside(int index) const;
    // The box shows its day file anew (another program changed it), what it showed kept as an
    // earlier version first and the reader's place kept as near as it was. False, with the box
    // untouched, when that version could not be kept.
    bool reloadDay(int index);

    // Writes all seven day files, changed or not, once the writes still under way have ended; one
    // result per day, Monday first, true only when the file is in place with the box's text.
    DayResults write();
    // Writes one day's file alone, with the same rules as write(), on the note writer's thread; the
    // marks are left as they are. done tells, once the write has ended, whether the file is in
    // place with the box's text, and if not why.
    void writeDay(int index, const std::function<void(bool written, const QString &error)> &done);
    // Puts the save mark on every day that was written and every other day's mark at rest: a mark
    // left green from an earlier save would claim a write that just failed.
    void markSaved(const DayResults &written);
    // Starts (or restarts) the timer that returns the marks to rest; disarmReset stops it.
    void armReset();
    void disarmReset();
    QTimer *resetTimer() const { return m_tmrResetDays; }

    RichTextBox *box(int index) const;
    QCheckBox *mark(int index) const;
    QString filePath(int index) const { return DayTable::filePath(m_applicationFolder, index); }

    // The tag of the hidden copy a day file gets when it could not be read:
    // ".monday.rtf.unreadable-1".
    static QString unreadableTag();

signals:
    // load() has put the files' notes in the boxes.
    void loaded();
    // The day's box shows its file anew.
    void dayReloaded(int index);
    // The day's file now holds its box's text (a save of all seven or a write of the day alone).
    void dayWritten(int index);

private:
    void tmrResetDays_Timer();
    // Loads the day's file into its box, as load() does; false when there is no file to load.
    bool loadDay(int index);
    // Moves a day file that is to be kept aside out of the way and adds the day's RTF to the batch;
    // the write's number in the batch, or -1 when the day is not written.
    int stageDay(AtomicWriteBatch &batch, int index);
    // Before the first write of a day whose file could not be read, or held content the box cannot
    // show, moves the file aside (the latter told by a notice); false (the file left in place and
    // not to be replaced) when that fails.
    bool keepBeforeWriting(int index);

    DayNotesView m_view;
    QString m_applicationFolder;
    FileStore &m_files;
    NoteWriter &m_writer;
    Prompter &m_prompter;
    QTimer *m_tmrResetDays;
    // Days whose file is moved aside before it is replaced: it could not be loaded, or it holds
    // content the box cannot show (m_keepAsBroughtIn).
    DayResults m_keepBeforeWriting {};
    // Days whose file holds content the box cannot show: that file is kept aside as it was (and
    // the user told) before it is replaced.
    DayResults m_keepAsBroughtIn {};
};
