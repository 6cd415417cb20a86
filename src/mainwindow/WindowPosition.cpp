#include "mainwindow/WindowPosition.h"

#include "rtf/Twips.h"

#include <QLocale>
#include <cmath>
#include <limits>

std::optional<int> WindowPosition::parseTwips(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<int>::min() || rounded > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(rounded);
}

int WindowPosition::twipsToPixels(int twips)
{
    return static_cast<int>(std::lround(Twips::toPixels(twips)));
}

QString WindowPosition::pixelsToTwipsText(int pixels)
{
    return QString::number(qint64(pixels) * Twips::perPixel);
}

bool WindowPosition::platformReportsPosition(const QString &platformName)
{
    return !platformName.startsWith(QLatin1String("wayland"));
}

bool WindowPosition::isOnAnyScreen(const QRect &frame, const QList<QRect> &screens)
{
    for (const QRect &screen : screens)
        if (screen.intersects(frame))
            return true;
    return false;
}
