#pragma once

#include "core/twips.h"

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

// The farthest a window can be placed from the screen's corner: the X window
// system holds positions as 16-bit signed pixels.
inline constexpr double MaxWindowCoordinateTwips = 32767.0 * TwipsPerPixel;
