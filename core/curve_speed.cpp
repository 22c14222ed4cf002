#include "core/curve_speed.h"

#include "core/number_rules.h"

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

bool usesThreeRadii(const RadiusTexts &radii)
{
    return !radii.leftOuter.isEmpty();
}

QString calculatedSpeedText(const RadiusTexts &radii, CalculationUnits units)
{
    // Multiplying by 1 changes no double, so metres pass through unchanged.
    const double toMetres = units.radiusInFeet ? MetresPerFoot : 1.0;
    const auto metres = [toMetres](QStringView text) { return ReadNumber(text) * toMetres; };
    double speed = usesThreeRadii(radii) ? threeRadiusSpeed(metres(radii.leftOuter), metres(radii.rightOuter), metres(radii.inner))
                                         : singleRadiusSpeed(metres(radii.single));
    if (!units.speedInMilesPerHour)
        speed *= KmPerMile;
    // Not finite when outside the formula's domain: FormatWhole gives "".
    return FormatWhole(speed);
}

QString convertedSpeedText(QStringView shown, bool toKmPerHour)
{
    if (shown.isEmpty())
        return {};
    const double speed = ReadNumber(shown);
    return FormatWhole(toKmPerHour ? speed * KmPerMile : speed / KmPerMile);
}
