#include "core/window_placement.h"

TwipsPosition centredPosition(float screenWidth, float screenHeight, float windowWidth, float windowHeight)
{
    return {(screenWidth - windowWidth) / 2.0f, (screenHeight - windowHeight) / 2.0f};
}
