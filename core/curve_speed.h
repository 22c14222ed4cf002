#pragma once

#include <QString>
#include <QStringView>

// The curve-speed calculation. Every step of the formula is one binary64
// operation, in the order written, so the results are the same on every
// machine.

inline constexpr double KmPerMile = 1.609344;
inline constexpr double MetresPerFoot = 0.3048;

// Maximum speed in mi/h around a curve of one radius in metres.
double singleRadiusSpeed(double radius);

// Maximum speed in mi/h for a curve laid with parallel tracks: the left and
// right outer radii and the inner radius, in metres.
double threeRadiusSpeed(double leftOuter, double rightOuter, double inner);

// The radius boxes' texts as typed.
struct RadiusTexts
{
    QStringView leftOuter;
    QStringView rightOuter;
    QStringView inner;
    QStringView single;
};

// The units a calculation reads from the DISTANCE and SPEED buttons.
struct CalculationUnits
{
    bool radiusInFeet;
    bool speedInMilesPerHour;
};

// "Left Outer Radius" holding any text at all, blanks included, chooses the
// three radii; only an empty one chooses "Single Radius".
bool usesThreeRadii(const RadiusTexts &radii);

// What the result box shows for the radii typed: the maximum speed as a whole
// number in the speed unit. A radius outside the formula's domain (negative,
// or too large for a double) has no speed and gives the empty text, so that
// no earlier answer stands beside the new question.
QString calculatedSpeedText(const RadiusTexts &radii, CalculationUnits units);

// A shown speed converted to the other unit: the whole number shown, not the
// speed calculated, is multiplied or divided by KmPerMile and rounded again.
// An empty result box stays empty.
QString convertedSpeedText(QStringView shown, bool toKmPerHour);
