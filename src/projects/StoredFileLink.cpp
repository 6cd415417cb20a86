#include "projects/StoredFileLink.h"

#include "platform/Prompter.h"
#include "storage/SettingsStore.h"

#include <QAbstractButton>
#include <QCheckBox>

namespace {
const QString section = QStringLiteral("salesfile");
const QString key = QStringLiteral("loc");
// What the settings give while no file has been chosen.
const QString nothingStored = QStringLiteral("na");
} // namespace

StoredFileLink::StoredFileLink(const StoredFileLinkView &view, SettingsStore &settings,
    Prompter &prompter, std::function<void(const QString &)> gotoUrl, QObject *parent)
    : QObject(parent)
    , m_view(view)
    , m_settings(settings)
    , m_prompter(prompter)
    , m_gotoUrl(std::move(gotoUrl))
{
    connect(view.cmdLeads, &QAbstractButton::clicked, this, &StoredFileLink::cmdLeads_Click);
}

QString StoredFileLink::dialogTitle()
{
    return QStringLiteral("Open");
}

QString StoredFileLink::dialogFilter()
{
    return QStringLiteral("Excel Spreadsheet|*.xls|All Files (*.*)|*.*");
}

QString StoredFileLink::storedPath() const
{
    return m_settings.get(section, key, nothingStored);
}

void StoredFileLink::cmdLeads_Click()
{
    // Only a real tick counts: the greyed third state asks like an unticked box. The stored file is
    // not looked for first; the desktop reports a file that has gone.
    if (m_view.chkMem->checkState() == Qt::Checked && storedPath() != nothingStored) {
        if (m_gotoUrl)
            m_gotoUrl(storedPath());
        return;
    }

    const QString chosen = m_prompter.openFile(dialogTitle(), dialogFilter());
    if (chosen.isEmpty())
        return;
    if (m_gotoUrl)
        m_gotoUrl(chosen);
    // Remembered whether or not "Stored File" is ticked; the tick only decides the next press.
    m_settings.save(section, key, chosen);
}
