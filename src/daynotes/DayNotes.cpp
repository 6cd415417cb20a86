#include "DayNotes.h"

#include "FileStore.h"
#include "RichTextBox.h"
#include "ui_frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QLoggingCategory>
#include <QTimer>

#include <future>
#include <system_error>

Q_LOGGING_CATEGORY(lcDayNotes, "quillmark.daynotes", QtWarningMsg)

DayNotes::DayNotes(Ui::frmMain &ui, const QString &applicationFolder, FileStore &files,
    int resetIntervalMs, QObject *parent)
    : QObject(parent)
    , ui(ui)
    , m_applicationFolder(applicationFolder)
    , m_files(files)
    , m_tmrResetDays(new QTimer(parent))
{
    // The rest look is the face of a push button in the style the marks are drawn with.
    const QCheckBox *first = mark(0);
    m_restColour = first ? first->palette().color(QPalette::Active, QPalette::Button)
                         : QApplication::palette().color(QPalette::Active, QPalette::Button);
    // The marks start at rest, looking exactly as they look after each reset.
    for (const DayTable::Day &day : DayTable::days())
        if (QCheckBox *dayMark = mark(day.index))
            setBackColour(dayMark, m_restColour);

    // The timer belongs to the main window, as its definition has it: enabled from creation until
    // the opening disarms it.
    m_tmrResetDays->setObjectName(QStringLiteral("tmrResetDays"));
    m_tmrResetDays->setInterval(resetIntervalMs);
    m_tmrResetDays->setSingleShot(true);
    connect(m_tmrResetDays, &QTimer::timeout, this, &DayNotes::tmrResetDays_Timer);
    m_tmrResetDays->start();
}

RichTextBox *DayNotes::box(int index) const
{
    return ui.tabDays ? ui.tabDays->findChild<RichTextBox *>(DayTable::boxName(index)) : nullptr;
}

QCheckBox *DayNotes::mark(int index) const
{
    return ui.fraSave ? ui.fraSave->findChild<QCheckBox *>(DayTable::markName(index)) : nullptr;
}

void DayNotes::load()
{
    for (const DayTable::Day &day : DayTable::days()) {
        const QString path = filePath(day.index);
        m_keepBeforeWriting[day.index] = false;
        RichTextBox *dayBox = box(day.index);
        if (!dayBox || !m_files.fileExists(path))
            continue;
        if (!dayBox->loadFile(path)) {
            // The day stays empty; the next save must not destroy what the file holds.
            m_keepBeforeWriting[day.index] = true;
            qCInfo(lcDayNotes) << "day file could not be read:" << path;
        }
    }
}

namespace {

struct DayFileOutcome
{
    bool written = false;
    bool keptAside = false; // the unreadable file that was there is safe under its backup name
};

DayFileOutcome writeDayFile(
    FileStore &files, const QString &path, const QByteArray &rtf, bool keepAside)
{
    DayFileOutcome outcome;
    if (keepAside) {
        if (files.fileExists(path) && files.moveAside(path, DayNotes::unreadableTag()).isEmpty()) {
            qCInfo(lcDayNotes) << "unreadable day file kept in place, not written:" << path
                               << files.errorString();
            return outcome;
        }
        outcome.keptAside = true;
    }
    outcome.written = files.writeFileAtomic(path, rtf);
    if (!outcome.written)
        qCInfo(lcDayNotes) << "day file not written:" << path << files.errorString();
    return outcome;
}

} // namespace

DayNotes::DayResults DayNotes::write()
{
    // Each day's RTF is made here, on the thread that owns the boxes. Most of a file write is
    // waiting for the disk, so the files go to disk on helper threads while the next day's RTF is
    // made: one file after the other, in day order, the file store never used by two threads at
    // once.
    std::array<std::shared_future<DayFileOutcome>, DayTable::dayCount> outcomes;
    std::shared_future<DayFileOutcome> previous;
    for (const DayTable::Day &day : DayTable::days()) {
        RichTextBox *dayBox = box(day.index);
        if (!dayBox)
            continue;
        auto task = [&files = m_files, path = filePath(day.index), rtf = dayBox->textRTF(),
                        keepAside = m_keepBeforeWriting[day.index], previous] {
            if (previous.valid())
                previous.wait();
            return writeDayFile(files, path, rtf, keepAside);
        };
        try {
            outcomes[day.index] = std::async(std::launch::async, task).share();
        } catch (const std::system_error &) {
            // No thread to be had: write it here.
            std::promise<DayFileOutcome> done;
            done.set_value(task());
            outcomes[day.index] = done.get_future().share();
        }
        previous = outcomes[day.index];
    }

    DayResults written {};
    for (const DayTable::Day &day : DayTable::days()) {
        if (!outcomes[day.index].valid())
            continue;
        const DayFileOutcome outcome = outcomes[day.index].get();
        written[day.index] = outcome.written;
        if (outcome.keptAside)
            m_keepBeforeWriting[day.index] = false;
    }
    return written;
}

void DayNotes::setBackColour(QCheckBox *mark, const QColor &colour)
{
    // The marks sit in a disabled frame but are drawn as enabled: every colour group gets the
    // colour, for the role the check box fills its background with.
    QPalette palette = mark->palette();
    for (const QPalette::ColorGroup group :
        { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        palette.setColor(group, QPalette::Window, colour);
        palette.setColor(group, mark->backgroundRole(), colour);
    }
    mark->setPalette(palette);
    mark->setAutoFillBackground(true);
}

void DayNotes::markSaved(const DayResults &written)
{
    for (const DayTable::Day &day : DayTable::days()) {
        QCheckBox *dayMark = mark(day.index);
        if (!dayMark || !written[day.index])
            continue;
        setBackColour(dayMark, savedColour());
        dayMark->setChecked(true);
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
        setBackColour(dayMark, m_restColour);
        dayMark->setChecked(false);
    }
}
