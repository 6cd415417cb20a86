#include "QtSettingsStore.h"

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
{
}

QtSettingsStore::QtSettingsStore(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

QString QtSettingsStore::get(const QString &section, const QString &key, const QString &defaultValue) const
{
    const QVariant value = m_settings->value(entryKey(section, key));
    if (!value.isValid())
        return defaultValue;
    // A value edited by hand into a list ("a, b") still reads as the text it shows.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

bool QtSettingsStore::save(const QString &section, const QString &key, const QString &value)
{
    m_settings->setValue(entryKey(section, key), value);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString QtSettingsStore::fileName() const
{
    return m_settings->fileName();
}
