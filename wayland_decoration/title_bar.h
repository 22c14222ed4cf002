#pragma once

#include <QMargins>
#include <QRectF>
#include <Qt>

// The title bar that the program draws around its windows where the desktop
// leaves that to the program (Wayland without server-side decorations). The
// windows have one size, so the bar offers no maximise: only close, and
// minimise where a window asks for it. Lengths are device-independent pixels
// from the top left of the window's surface.

// A one-pixel border round the window, and the bar above its contents.
inline constexpr int titleBarBorder = 1;
inline constexpr QMargins titleBarFrame{titleBarBorder, 26, titleBarBorder, titleBarBorder};

enum class TitleBarPart { Contents, Border, Title, Minimise, Close };

struct TitleBar {
    QRectF area; // the whole bar, inside the border
    QRectF icon;
    QRectF title;
    QRectF minimiseButton; // empty where the window offers no minimise
    QRectF closeButton;
};

// The bar of a surface `surfaceWidth` wide for a window with `flags`.
TitleBar titleBarLayout(qreal surfaceWidth, Qt::WindowFlags flags);

// What a press at `point` of a surface of `surfaceSize` falls on: a button,
// the title (which moves the window), the border, or the window's contents.
TitleBarPart titleBarPartAt(const TitleBar &bar, QSizeF surfaceSize, QPointF point);
