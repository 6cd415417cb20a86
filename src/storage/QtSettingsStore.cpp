#include "storage/QtSettingsStore.h"

#include "storage/FileStore.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QVariant>

namespace {
QString entryKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}
} // namespace

QtSettingsStore::QtSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
        QStringLiteral("Quillmark"), QStringLiteral("Quillmark")))
{ }

QtSettingsStore::QtSettingsStore(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{ }

QString QtSettingsStore::get(
    const QString &section, const QString &key, const QString &defaultValue) const
{
    const QVariant value = m_settings->value(entryKey(section, key));
    if (!value.isValid())
        return defaultValue;
    // A value edited by hand into a list ("a, b") still reads as the text it shows.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

bool QtSettingsStore::looksLikeIni(const QByteArray &contents)
{
    if (contents.contains('\0'))
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(contents);
    if (utf8.hasError())
        return false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']'))
            continue;
        if (line.indexOf(u'=') > 0)
            continue;
        return false;
    }
    return true;
}

// QSettings reads a damaged file as empty and would replace it whole at the next save: the damaged
// file is kept under a hidden backup name first, so a setting that could not be read is never lost
// silently.
void QtSettingsStore::keepUnreadableFileOnce()
{
    if (m_checked)
        return;
    m_checked = true;
    const QString path = m_settings->fileName();
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray contents = file.readAll();
    file.close();
    if (looksLikeIni(contents))
        return;
    const QSettings::Format format = m_settings->format();
    m_settings.reset();
    m_keptUnreadable = FileStore().moveAside(path, QStringLiteral("unreadable"));
    m_settings = std::make_unique<QSettings>(path, format);
}

bool QtSettingsStore::save(const QString &section, const QString &key, const QString &value)
{
    return saveAll({ { section, key, value } });
}

bool QtSettingsStore::saveAll(const QList<Entry> &entries)
{
    keepUnreadableFileOnce();
    for (const Entry &entry : entries)
        m_settings->setValue(entryKey(entry.section, entry.key), entry.value);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError && QFileInfo(m_settings->fileName()).isFile();
}

QString QtSettingsStore::fileName() const
{
    return m_settings->fileName();
}
