#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// The program's pictures, drawn at several sizes so that they stay sharp on
// scaled screens.
namespace pictures {

// The window icon at every size it was drawn, 16 to 256 pixels.
QIcon programIcon();

// A picture kept at 1x (`path`) and 2x (the same name with "@2x" before the
// extension), as a pixmap that covers `size` device-independent pixels at
// the given device-pixel ratio.
QPixmap sharpPixmap(const QString &path, QSize size, qreal devicePixelRatio);

} // namespace pictures
