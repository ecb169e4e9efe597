#pragma once
// Layout code writes the window's coordinates in twips, as the tables give
// them, and converts at the widget call: 15 twips are one pixel at 96 dpi
// (Qt scales logical pixels on high-dpi screens).
#include <QRect>

namespace mirvane {

constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips)
{
    // Rounded to the nearest pixel, halves away from zero.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

constexpr int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

} // namespace mirvane
