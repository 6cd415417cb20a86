// Every entry the program keeps in the settings: its section, its key and what reading it gives
// while it was never written. Settings files already on users' disks hold these texts, so they
// never change.
#pragma once

#include <QString>

namespace SettingsKeys {

struct Setting
{
    QString section;
    QString key;
    QString defaultValue;
};

// Where the main window opens when no position is stored, in twips from the screen's top-left.
inline constexpr int defaultWindowTwips = 100;

// The top-left of the main window's frame when it last closed, in twips.
inline const Setting windowTop { QStringLiteral("screen"), QStringLiteral("top"),
    QString::number(defaultWindowTwips) };
inline const Setting windowLeft { QStringLiteral("screen"), QStringLiteral("left"),
    QString::number(defaultWindowTwips) };

// The order of the project list: the titles joined by ":". The default, like "na" alone, means
// that no order is stored.
inline const Setting projectOrder { QStringLiteral("projects"), QStringLiteral("order"),
    QStringLiteral("na:") };

// The document behind "View File" with "Stored File"; the default means none was chosen yet.
inline const Setting storedFile { QStringLiteral("salesfile"), QStringLiteral("loc"),
    QStringLiteral("na") };

} // namespace SettingsKeys
