#pragma once

#include "core/twips.h"

#include <vector>

// Positions and sizes of the main window in twips, single precision, measured
// on the outer frame from the screen's top-left corner.
struct TwipsPosition
{
    float left;
    float top;
};

// Where a window of the given outer size stands when centred on the screen.
// Fractions are kept and a window larger than the screen gets negative values.
TwipsPosition centredPosition(float screenWidth, float screenHeight, float windowWidth, float windowHeight);

// A rectangle in twips: a screen's area, from the top-left corner of the
// whole desktop.
struct TwipsRect
{
    float left;
    float top;
    float width;
    float height;
};

// The part of the title bar that must lie on one screen for a window to be
// reachable: 48 x 16 pixels.
inline constexpr float ReachableTitleWidth = 48 * TwipsPerPixel;
inline constexpr float ReachableTitleHeight = 16 * TwipsPerPixel;

// Where a window whose outer frame is stored at `stored` is shown on these
// screens: unchanged while a 48 x 16-pixel part of its title bar (the top
// 16 pixels of the frame) lies on one screen; otherwise on the screen nearest
// to the stored corner, as close to it as the window fits there (at the
// screen's top-left corner when it is larger). No screens: unchanged.
TwipsPosition positionOnScreens(TwipsPosition stored, float windowWidth, float windowHeight,
                                const std::vector<TwipsRect> &screens);

// Where a window goes on the screen nearest to `wanted` (its outer corner):
// as close to it as it fits there, at the screen's top-left corner when it is
// larger. No screens: unchanged.
TwipsPosition fittedOnNearestScreen(TwipsPosition wanted, float windowWidth, float windowHeight,
                                    const std::vector<TwipsRect> &screens);

// The farthest a window can be placed from the screen's corner: the X window
// system holds positions as 16-bit signed pixels.
inline constexpr double MaxWindowCoordinateTwips = 32767.0 * TwipsPerPixel;
