#include "daynotes/DayNotes.h"

#include "daynotes/SaveMarkLook.h"

#include "editor/RichTextBox.h"
#include "platform/Prompter.h"
#include "storage/AtomicWriteBatch.h"
#include "storage/FileStore.h"
#include "storage/KeptCopyNotices.h"
#include "storage/NoteWriter.h"
#include "storage/VersionKeeper.h"

#include <QCheckBox>
#include <QLoggingCategory>
#include <QTimer>

Q_LOGGING_CATEGORY(lcDayNotes, "quillmark.daynotes", QtWarningMsg)

DayNotes::DayNotes(const DayNotesView &view, const QString &applicationFolder, FileStore &files,
    NoteWriter &writer, Prompter &prompter, int resetIntervalMs, QObject *parent)
    : QObject(parent)
    , m_view(view)
    , m_applicationFolder(applicationFolder)
    , m_files(files)
    , m_writer(writer)
    , m_prompter(prompter)
    , m_tmrResetDays(new QTimer(parent ? parent : this))
{
    // The marks start at rest, looking exactly as they look after each reset.
    if (const QCheckBox *first = mark(0))
        SaveMarkLook::prepareFrame(first->parentWidget());
    for (const DayTable::Day &day : DayTable::days())
        if (QCheckBox *dayMark = mark(day.index))
            SaveMarkLook::show(dayMark, false);

    // The timer belongs to the main window, as its definition has it: enabled from creation until
    // the opening disarms it.
    m_tmrResetDays->setObjectName(QStringLiteral("tmrResetDays"));
    m_tmrResetDays->setInterval(resetIntervalMs);
    m_tmrResetDays->setSingleShot(true);
    connect(m_tmrResetDays, &QTimer::timeout, this, &DayNotes::tmrResetDays_Timer);
    m_tmrResetDays->start();
}

QString DayNotes::unreadableTag()
{
    return KeptCopyNotices::unreadableTag();
}

RichTextBox *DayNotes::box(int index) const
{
    return index >= 0 && index < DayTable::dayCount ? m_view.boxes[size_t(index)] : nullptr;
}

QCheckBox *DayNotes::mark(int index) const
{
    return index >= 0 && index < DayTable::dayCount ? m_view.marks[size_t(index)] : nullptr;
}

void DayNotes::load()
{
    for (const DayTable::Day &day : DayTable::days())
        loadDay(day.index);
    emit loaded();
}

bool DayNotes::loadDay(int index)
{
    const QString path = filePath(index);
    m_keepBeforeWriting[index] = false;
    m_keepAsBroughtIn[index] = false;
    RichTextBox *dayBox = box(index);
    if (!dayBox || !m_files.fileExists(path))
        return false;
    // Read through the file store, which then knows the version the box shows and keeps a
    // version that another program writes in the meantime.
    QByteArray rtf;
    bool leftOut = false;
    if (!m_files.readFile(path, &rtf) || !dayBox->loadRtf(rtf, &leftOut)) {
        // The day shows empty; the next save must not destroy what the file holds.
        dayBox->setText(QString());
        m_keepBeforeWriting[index] = true;
        qCInfo(lcDayNotes) << "day file could not be read:" << path;
        m_prompter.notice(KeptCopyNotices::notReadableText(DayTable::fileName(index),
                              FileStore::nextAsideName(path, unreadableTag())),
            KeptCopyNotices::notReadableCaption());
    } else if (leftOut) {
        m_keepBeforeWriting[index] = true;
        m_keepAsBroughtIn[index] = true;
    }
    return true;
}

void DayNotes::finishWrites(int index)
{
    m_writer.waitFor(filePath(index));
}

bool DayNotes::changedOutside(int index) const
{
    return m_files.outsideState(filePath(index)) == FileStore::Outside::Changed;
}

bool DayNotes::reloadDay(int index)
{
    RichTextBox *dayBox = box(index);
    if (!dayBox)
        return true;
    const QString path = filePath(index);
    const std::shared_ptr<VersionKeeper> keeper = m_files.versionKeeper();
    QString error = QStringLiteral("No earlier versions are kept.");
    if (!keeper || !keeper->keepContent(path, dayBox->textRTF(), &error)) {
        qCInfo(lcDayNotes) << "No version kept before reloading" << path << error;
        return false;
    }
    const RichTextBox::Place place = dayBox->place();
    if (!loadDay(index)) {
        // The file went between the look and now: the box keeps what it shows.
        return true;
    }
    dayBox->restorePlace(place);
    emit dayReloaded(index);
    return true;
}

DayNotes::DayResults DayNotes::write()
{
    // A day write under way on the writer's thread ends first: an older content never follows.
    m_writer.waitForAll();
    // The seven files go to the disk together: each file starts on its way while the next day's
    // RTF is made, and one wait at the end makes them all durable.
    AtomicWriteBatch batch(m_files);
    std::array<int, DayTable::dayCount> writes;
    for (const DayTable::Day &day : DayTable::days())
        writes[day.index] = stageDay(batch, day.index);
    batch.commit();

    DayResults written {};
    for (const DayTable::Day &day : DayTable::days()) {
        written[day.index] = batch.written(writes[day.index]);
        if (writes[day.index] >= 0 && !written[day.index])
            qCInfo(lcDayNotes) << "day file not written:" << filePath(day.index)
                               << batch.errorString(writes[day.index]);
    }
    for (const DayTable::Day &day : DayTable::days())
        if (written[day.index])
            emit dayWritten(day.index);
    return written;
}

void DayNotes::writeDay(
    int index, const std::function<void(bool written, const QString &error)> &done)
{
    RichTextBox *dayBox = box(index);
    if (!dayBox) {
        done(false, QStringLiteral("It has no note box."));
        return;
    }
    // A file to be kept aside is moved on this thread, with nothing of it still being written.
    if (m_keepBeforeWriting[index])
        m_writer.waitFor(filePath(index));
    if (!keepBeforeWriting(index)) {
        done(false,
            QStringLiteral("Its day file could not be set aside to keep what it holds.  %1")
                .arg(m_files.errorString()));
        return;
    }
    m_writer.write(filePath(index), dayBox->textRTF(), [this, index, done](const auto &outcome) {
        if (!outcome.written)
            qCInfo(lcDayNotes) << "day file not written:" << filePath(index) << outcome.error;
        done(outcome.written, outcome.error);
    });
}

bool DayNotes::keepBeforeWriting(int index)
{
    if (!m_keepBeforeWriting[index])
        return true;
    const QString path = filePath(index);
    if (m_files.fileExists(path)) {
        const bool broughtIn = m_keepAsBroughtIn[index];
        const QString keptAs = m_files.moveAside(
            path, broughtIn ? KeptCopyNotices::broughtInTag() : unreadableTag());
        if (keptAs.isEmpty()) {
            qCInfo(lcDayNotes) << "day file kept in place, not written:" << path
                               << m_files.errorString();
            return false;
        }
        if (broughtIn)
            m_prompter.notice(KeptCopyNotices::broughtInText(DayTable::fileName(index), keptAs),
                KeptCopyNotices::broughtInCaption());
    }
    m_keepBeforeWriting[index] = false;
    m_keepAsBroughtIn[index] = false;
    return true;
}

int DayNotes::stageDay(AtomicWriteBatch &batch, int index)
{
    RichTextBox *dayBox = box(index);
    if (!dayBox || !keepBeforeWriting(index))
        return -1;
    return batch.add(filePath(index), dayBox->textRTF());
}

void DayNotes::markSaved(const DayResults &written)
{
    for (const DayTable::Day &day : DayTable::days()) {
        QCheckBox *dayMark = mark(day.index);
        if (!dayMark)
            continue;
        const bool saved = written[day.index];
        SaveMarkLook::show(dayMark, saved);
        dayMark->setChecked(saved);
    }
}

void DayNotes::armReset()
{
    m_tmrResetDays->start();
}

void DayNotes::disarmReset()
{
    m_tmrResetDays->stop();
}

void DayNotes::tmrResetDays_Timer()
{
    // Once per arming.
    m_tmrResetDays->stop();
    for (const DayTable::Day &day : DayTable::days()) {
        QCheckBox *dayMark = mark(day.index);
        if (!dayMark)
            continue;
        SaveMarkLook::show(dayMark, false);
        dayMark->setChecked(false);
    }
}
