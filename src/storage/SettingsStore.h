// The per-user settings of the program: text values addressed by section and key, read with a
// default and saved one at a time or several together. The application name is always "Quillmark".
#pragma once

#include <QList>
#include <QString>

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // The stored text, or defaultValue when the entry was never written. Reading creates nothing.
    virtual QString get(
        const QString &section, const QString &key, const QString &defaultValue) const = 0;
    // Creates or replaces the entry and writes it through; false when the store could not be
    // written.
    virtual bool save(const QString &section, const QString &key, const QString &value) = 0;

    struct Entry
    {
        QString section;
        QString key;
        QString value;
    };
    // Creates or replaces every entry and writes them through together: one write of the store
    // rather than one per entry. False when the store could not be written.
    virtual bool saveAll(const QList<Entry> &entries) = 0;
};
