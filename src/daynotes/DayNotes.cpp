#include "DayNotes.h"

#include "FileStore.h"
#include "ui_frmMain.h"

#include <QTimer>

DayNotes::DayNotes(Ui::frmMain &ui, const QString &applicationFolder, FileStore &files,
                   int resetIntervalMs, QObject *parent)
    : QObject(parent)
    , ui(ui)
    , m_applicationFolder(applicationFolder)
    , m_files(files)
    , m_tmrResetDays(new QTimer(parent))
{
    // The timer belongs to the main window, as its definition has it: enabled from creation until
    // the opening disarms it.
    m_tmrResetDays->setObjectName(QStringLiteral("tmrResetDays"));
    m_tmrResetDays->setInterval(resetIntervalMs);
    connect(m_tmrResetDays, &QTimer::timeout, this, &DayNotes::tmrResetDays_Timer);
    m_tmrResetDays->start();
}

void DayNotes::load() { }

std::array<bool, 7> DayNotes::write()
{
    return {};
}

void DayNotes::markSaved(const std::array<bool, 7> &written)
{
    Q_UNUSED(written);
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
    m_tmrResetDays->stop();
}
