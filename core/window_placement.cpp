#include "core/window_placement.h"

#include <algorithm>
#include <cmath>

TwipsPosition centredPosition(float screenWidth, float screenHeight, float windowWidth, float windowHeight)
{
    return {(screenWidth - windowWidth) / 2.0f, (screenHeight - windowHeight) / 2.0f};
}

namespace {

// How far a span [start, start + length) overlaps the span of a screen.
float overlap(float start, float length, float screenStart, float screenLength)
{
    return std::min(start + length, screenStart + screenLength) - std::max(start, screenStart);
}

// How far a point lies from a screen's area; 0 on it.
float distance(TwipsPosition point, const TwipsRect &screen)
{
    const float dx = std::max({screen.left - point.left, 0.0f, point.left - (screen.left + screen.width)});
    const float dy = std::max({screen.top - point.top, 0.0f, point.top - (screen.top + screen.height)});
    return std::hypot(dx, dy);
}

// The nearest start to `wanted` that keeps a span of `length` on the screen's
// span; the screen's start when the span is longer.
float fitted(float wanted, float length, float screenStart, float screenLength)
{
    return std::max(screenStart, std::min(wanted, screenStart + screenLength - length));
}

} // namespace

TwipsPosition positionOnScreens(TwipsPosition stored, float windowWidth, float windowHeight,
                                const std::vector<TwipsRect> &screens)
{
    const auto titleShown = [&](const TwipsRect &screen) {
        return overlap(stored.left, windowWidth, screen.left, screen.width) >= ReachableTitleWidth
            && overlap(stored.top, ReachableTitleHeight, screen.top, screen.height) >= ReachableTitleHeight;
    };
    if (std::any_of(screens.begin(), screens.end(), titleShown))
        return stored;
    return fittedOnNearestScreen(stored, windowWidth, windowHeight, screens);
}

TwipsPosition fittedOnNearestScreen(TwipsPosition wanted, float windowWidth, float windowHeight,
                                    const std::vector<TwipsRect> &screens)
{
    if (screens.empty())
        return wanted;
    const TwipsRect &nearest = *std::min_element(screens.begin(), screens.end(), [&](const auto &a, const auto &b) {
        return distance(wanted, a) < distance(wanted, b);
    });
    return {fitted(wanted.left, windowWidth, nearest.left, nearest.width),
            fitted(wanted.top, windowHeight, nearest.top, nearest.height)};
}
