// Twips, the unit of RTF measures and of the window definitions, and screen pixels: 15 twips to the
// pixel (1440 twips and 96 pixels to the inch). Every conversion between them goes through here.
#pragma once

#include <QtGlobal>
#include <cmath>

namespace Twips {

inline constexpr int perPixel = 15;

// Twips to pixels, not rounded: a document keeps fractions of a pixel.
constexpr double toPixels(double twips)
{
    return twips / perPixel;
}

// Pixels to whole twips, rounded to the nearest (halves away from zero) and kept within min and
// max, so that the number fits the RTF parameter it is written to.
inline long fromPixels(double pixels, long min, long max)
{
    return qBound(min, std::lround(pixels * perPixel), max);
}

} // namespace Twips
