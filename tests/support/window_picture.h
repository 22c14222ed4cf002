#pragma once

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QWidget>

// Whether a picture of `window` has the window's size and shows its
// controls, not a bare background: a good share of it differs from the
// window colour.
inline bool showsTheWindow(const QImage &picture, const QWidget &window)
{
    if (picture.size() != window.size() * picture.devicePixelRatio())
        return false;
    const QRgb background = window.palette().color(QPalette::Window).rgb();
    qsizetype drawn = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            drawn += picture.pixel(x, y) != background;
    }
    return drawn * 10 > qsizetype(picture.width()) * picture.height();
}
