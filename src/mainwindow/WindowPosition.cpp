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

QPoint WindowPosition::keptOnScreen(const QPoint &framePosition, const QSize &frameSize,
    const QList<QRect> &screens, const QPoint &fallback)
{
    if (screens.isEmpty())
        return framePosition;
    if (!isOnAnyScreen(QRect(framePosition, frameSize), screens))
        return fallback;
    // The screens the window spans from left to right; the highest top among them is where a title
    // bar can still be seen and dragged.
    std::optional<int> highestTop;
    for (const QRect &screen : screens) {
        const bool beside = screen.left() < framePosition.x() + frameSize.width()
            && framePosition.x() <= screen.right();
        if (beside && (!highestTop || screen.top() < *highestTop))
            highestTop = screen.top();
    }
    if (highestTop && framePosition.y() < *highestTop)
        return QPoint(framePosition.x(), *highestTop);
    return framePosition;
}
