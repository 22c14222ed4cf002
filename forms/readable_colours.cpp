#include "forms/readable_colours.h"

#include <cmath>

namespace readable {

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double relativeLuminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool isDark(const QColor &window)
{
    return window.toHsl().lightness() < 128;
}

QColor onWindow(const QColor &wanted, const QColor &window)
{
    // Towards the extreme farther from the window: one of black and white
    // always reaches at least 4.58 (the square root of 21), so this ends.
    const QColor white(Qt::white), black(Qt::black);
    const QColor towards = contrastRatio(white, window) >= contrastRatio(black, window) ? white : black;
    QColor colour = wanted.toRgb();
    for (int step = 1; step <= 20 && contrastRatio(colour, window) < MinimumContrast; ++step) {
        const double share = step / 20.0;
        colour = QColor::fromRgbF(float(wanted.redF() + (towards.redF() - wanted.redF()) * share),
                                  float(wanted.greenF() + (towards.greenF() - wanted.greenF()) * share),
                                  float(wanted.blueF() + (towards.blueF() - wanted.blueF()) * share));
    }
    return colour;
}

QColor textColour(const QColor &light, const QPalette &palette, QPalette::ColorRole themeRole)
{
    const QColor window = palette.color(QPalette::Window);
    if (!isDark(window))
        return light;
    return onWindow(palette.color(themeRole), window);
}

QColor linkColour(const QPalette &palette, bool underPointer)
{
    const QColor window = palette.color(QPalette::Window);
    if (underPointer) {
        const QColor green(0, 200, 0);
        return isDark(window) ? onWindow(green, window) : green;
    }
    return textColour(QColor(0, 0, 255), palette, QPalette::Link);
}

} // namespace readable
