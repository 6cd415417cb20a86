#include "projects/StoredFileLink.h"

#include "platform/Prompter.h"
#include "storage/SettingsKeys.h"
#include "storage/SettingsStore.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QIcon>
#include <QPixmap>

StoredFileLink::StoredFileLink(const StoredFileLinkView &view, SettingsStore &settings,
    Prompter &prompter, std::function<void(const QString &)> gotoUrl, QObject *parent)
    : QObject(parent)
    , m_view(view)
    , m_settings(settings)
    , m_prompter(prompter)
    , m_gotoUrl(std::move(gotoUrl))
{
    connect(view.cmdLeads, &QAbstractButton::clicked, this, &StoredFileLink::cmdLeads_Click);
    // The check box lies over the upper part of the button, where its icon is drawn: the icon would
    // show through the caption. A clear picture keeps the button's layout.
    QPixmap clear(view.cmdLeads->iconSize());
    clear.fill(Qt::transparent);
    view.cmdLeads->setIcon(QIcon(clear));
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
    const SettingsKeys::Setting &setting = SettingsKeys::storedFile;
    return m_settings.get(setting.section, setting.key, setting.defaultValue);
}

void StoredFileLink::cmdLeads_Click()
{
    // Only a real tick counts: the greyed third state asks like an unticked box. The stored file is
    // not looked for first; the desktop reports a file that has gone.
    if (m_view.chkMem->checkState() == Qt::Checked
        && storedPath() != SettingsKeys::storedFile.defaultValue) {
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
    m_settings.save(SettingsKeys::storedFile.section, SettingsKeys::storedFile.key, chosen);
}
