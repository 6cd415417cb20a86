// Settings kept by QSettings: the per-user native location of organisation and application
// "Quillmark" (on Linux ~/.config/Quillmark/Quillmark.conf), or an INI file given by path.
#pragma once

#include "storage/SettingsStore.h"

#include <QSettings>
#include <memory>

class QtSettingsStore : public SettingsStore
{
public:
    QtSettingsStore(); // the user's own store
    explicit QtSettingsStore(const QString &iniPath); // an INI file (tests, portable use)

    QString get(
        const QString &section, const QString &key, const QString &defaultValue) const override;
    bool save(const QString &section, const QString &key, const QString &value) override;
    bool saveAll(const QList<Entry> &entries) override;

    QString fileName() const;
    // Where an unreadable settings file was kept before the first save replaced it (else empty).
    QString keptUnreadableFile() const { return m_keptUnreadable; }

    // True when the bytes read as an INI file: UTF-8 text of sections, keys with values and
    // comments.
    static bool looksLikeIni(const QByteArray &contents);

private:
    void keepUnreadableFileOnce();

    std::unique_ptr<QSettings> m_settings;
    bool m_checked = false;
    QString m_keptUnreadable;
};
