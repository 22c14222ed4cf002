#pragma once

#include <QColor>
#include <QPalette>

// Text colours that stay readable on whatever window colour the desktop's
// theme gives: the contrast measure of the web content accessibility
// guidelines, and the choice between a window's own colours on a light
// background and the theme's colours on a dark one.
namespace readable {

// At least this contrast for normal-sized text.
constexpr double MinimumContrast = 4.5;

// (L1 + 0.05) / (L2 + 0.05) of the two relative luminances, lighter first:
// 1 for equal colours, 21 for black on white.
double contrastRatio(const QColor &a, const QColor &b);

// A window colour darker than mid-grey (lightness below 128).
bool isDark(const QColor &window);

// `wanted` if it keeps the minimum contrast on `window`; otherwise the same
// colour mixed, in steps of 5 %, with white or black (whichever lies farther
// from the window) until it does.
QColor onWindow(const QColor &wanted, const QColor &window);

// A window's fixed text colour on a light palette; on a dark one the colour
// the theme gives for that role. Either way readable on the window colour.
QColor textColour(const QColor &light, const QPalette &palette, QPalette::ColorRole themeRole);

// The program's link: blue (0, 0, 255) at rest and green (0, 200, 0) under
// the pointer on a light window; on a dark one the theme's link colour and
// the same green, each made readable on the window colour.
QColor linkColour(const QPalette &palette, bool underPointer);

} // namespace readable
