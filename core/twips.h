#pragma once

// Window and control geometry is laid out in twips, 1/1440 inch: 15 twips to
// a device-independent pixel. Qt's high-DPI scaling does the rest.
inline constexpr int TwipsPerPixel = 15;

constexpr int pixelsFromTwips(int twips)
{
    return twips / TwipsPerPixel;
}
