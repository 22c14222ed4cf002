#include "main_window/curve_speed.h"

#include <cmath>

double singleRadiusSpeed(double radius)
{
    const double a = radius * 30;
    const double b = a / 12;
    return std::sqrt(b);
}

double threeRadiusSpeed(double leftOuter, double rightOuter, double inner)
{
    const double a = leftOuter + rightOuter;
    const double b = a / 2;
    const double c = b / 0.63;
    const double d = inner / 1.3;
    const double e = c + d;
    const double f = 30 * e;
    const double g = f / 2;
    const double h = g / 12;
    return std::sqrt(h);
}
