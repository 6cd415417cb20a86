// The main window's stored position: the text in the settings (twips) to a pixel position and back,
// the check that a position can be seen on some screen, and which platforms can tell it at all.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

class WindowPosition
{
public:
    // A stored coordinate in twips: trimmed, read as a number in the C locale, rounded half to
    // even. Nothing when it is not a number or lies outside the 32-bit range.
    static std::optional<int> parseTwips(const QString &text);
    // Twips to pixels, rounded to the nearest (halves away from zero).
    static int twipsToPixels(int twips);
    // Pixels to the twips text that is stored ("1200", "-345").
    static QString pixelsToTwipsText(int pixels);
    // True when a window with this frame rectangle shows at least partly on one of the screens.
    static bool isOnAnyScreen(const QRect &frame, const QList<QRect> &screens);
    // Where a frame of this size opens when asked for at framePosition, given the screens'
    // available areas: on no screen, at the fallback; with its title bar above the available area
    // of every screen beside it, moved down to just inside it. Elsewhere where it was asked for.
    static QPoint keptOnScreen(const QPoint &framePosition, const QSize &frameSize,
        const QList<QRect> &screens, const QPoint &fallback);
    // Whether a window on this Qt platform can tell where it is. A Wayland window cannot: the
    // position it reports is made up, so it is neither stored nor used to place the frame.
    static bool platformReportsPosition(const QString &platformName);
};
