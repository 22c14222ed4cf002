#pragma once

// The curve-speed formula. Every step is one binary64 operation, in the order
// written, so the results are the same on every machine.

inline constexpr double KmPerMile = 1.609344;
inline constexpr double MetresPerFoot = 0.3048;

// Maximum speed in mi/h around a curve of one radius in metres.
double singleRadiusSpeed(double radius);

// Maximum speed in mi/h for a curve laid with parallel tracks: the left and
// right outer radii and the inner radius, in metres.
double threeRadiusSpeed(double leftOuter, double rightOuter, double inner);
