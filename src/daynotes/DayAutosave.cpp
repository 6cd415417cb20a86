#include "daynotes/DayAutosave.h"

#include "daynotes/DayNotes.h"
#include "editor/RichTextBox.h"
#include "platform/Prompter.h"

#include <QFocusEvent>
#include <QTabWidget>

DayAutosave::DayAutosave(DayNotes &days, QTabWidget *tabs, Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_days(days)
    , m_tabs(tabs)
    , m_prompter(prompter)
{
    for (const DayTable::Day &day : DayTable::days()) {
        RichTextBox *box = m_days.box(day.index);
        if (!box)
            continue;
        const int index = day.index;
        connect(box, &RichTextBox::KeyUp, this, [this, index] { rtfDay_KeyUp(index); });
        connect(box, &RichTextBox::Change, this, [this, index] { m_state[index].edited = true; });
        box->installEventFilter(this);
    }
    // Emptying the boxes and loading the files are not edits.
    connect(&m_days, &DayNotes::loaded, this, [this] {
        for (Day &day : m_state)
            day.edited = false;
    });
    connect(&m_days, &DayNotes::dayReloaded, this, [this](int index) {
        m_state[index].edited = false;
        m_state[index].keyCount = 0;
    });
    connect(&m_days, &DayNotes::dayWritten, this, [this](int index) {
        m_state[index].edited = false;
        m_state[index].reported = false;
    });
    if (m_tabs) {
        m_currentTab = m_tabs->currentIndex();
        connect(m_tabs, &QTabWidget::currentChanged, this, &DayAutosave::tabDays_Change);
    }
}

QString DayAutosave::notSavedText(const QString &day, const QString &reason)
{
    return QStringLiteral("Day note: %1 could not be saved.\r\n\r\n%2").arg(day, reason);
}

void DayAutosave::fileChangedOutside(int index)
{
    if (index < 0 || index >= DayTable::dayCount)
        return;
    // A write under way ends first: what it kept aside is told, and the file is then its own.
    m_days.finishWrites(index);
    if (!m_days.changedOutside(index))
        return;
    if (!m_state[index].edited && m_days.reloadDay(index))
        return;
    // The box's content goes to the file; the other version is kept beside it.
    writeDay(index);
}

bool DayAutosave::eventFilter(QObject *watched, QEvent *event)
{
    // A box that is being destroyed is no longer a RichTextBox: it has nothing left to write. A
    // menu opened over the box keeps the user in it.
    if (event->type() == QEvent::FocusOut && qobject_cast<RichTextBox *>(watched)
        && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        writeIfEdited(indexOfBox(watched));
    return QObject::eventFilter(watched, event);
}

void DayAutosave::rtfDay_KeyUp(int index)
{
    // Every key counts, as in the project note: every second release writes the day.
    if (++m_state[index].keyCount < 2)
        return;
    m_state[index].keyCount = 0;
    writeDay(index);
}

void DayAutosave::tabDays_Change(int index)
{
    // The tab's position is its day's index.
    const int left = m_currentTab;
    m_currentTab = index;
    writeIfEdited(left);
}

void DayAutosave::writeIfEdited(int index)
{
    if (index >= 0 && index < DayTable::dayCount && m_state[index].edited)
        writeDay(index);
}

void DayAutosave::writeDay(int index)
{
    // A notice that takes the focus from the box must not start a second write of it.
    if (m_writing)
        return;
    m_writing = true;
    // Edits made from now on are newer than this write.
    m_state[index].edited = false;
    m_days.writeDay(index, [this, index](bool written, const QString &error) {
        Day &day = m_state[index];
        if (written) {
            day.reported = false;
            return;
        }
        // Still to be written: leaving the box or the next keys try again.
        day.edited = true;
        // Every second key would tell it again: once per day until a write of it succeeds.
        if (day.reported)
            return;
        day.reported = true;
        m_prompter.notice(notSavedText(DayTable::caption(index), error), QStringLiteral("Save"));
    });
    m_writing = false;
}

int DayAutosave::indexOfBox(const QObject *box) const
{
    for (const DayTable::Day &day : DayTable::days())
        if (m_days.box(day.index) == box)
            return day.index;
    return -1;
}
