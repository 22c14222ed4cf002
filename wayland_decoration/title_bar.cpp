#include "wayland_decoration/title_bar.h"

namespace {

constexpr qreal buttonWidth = 24;
constexpr qreal buttonHeight = 18;
constexpr qreal buttonGap = 2;
constexpr qreal edgeGap = 4;
constexpr qreal iconSize = 16;
constexpr qreal titleGap = 5;

} // namespace

TitleBar titleBarLayout(qreal surfaceWidth, Qt::WindowFlags flags)
{
    TitleBar layout;
    const QRectF bar = layout.area =
        QRectF(titleBarBorder, titleBarBorder, surfaceWidth - 2 * titleBarBorder, titleBarFrame.top() - titleBarBorder);
    const qreal buttonTop = bar.top() + (bar.height() - buttonHeight) / 2;
    layout.closeButton = QRectF(bar.right() - edgeGap - buttonWidth, buttonTop, buttonWidth, buttonHeight);
    qreal buttonsLeft = layout.closeButton.left();
    if (flags.testFlag(Qt::WindowMinimizeButtonHint)) {
        layout.minimiseButton = layout.closeButton.translated(-buttonWidth - buttonGap, 0);
        buttonsLeft = layout.minimiseButton.left();
    }
    layout.icon = QRectF(bar.left() + titleGap, bar.top() + (bar.height() - iconSize) / 2, iconSize, iconSize);
    const qreal titleLeft = layout.icon.right() + titleGap;
    layout.title = QRectF(titleLeft, bar.top(), qMax(0.0, buttonsLeft - titleGap - titleLeft), bar.height());
    return layout;
}

TitleBarPart titleBarPartAt(const TitleBar &bar, QSizeF surfaceSize, QPointF point)
{
    if (QRectF(QPointF(), surfaceSize).marginsRemoved(QMarginsF(titleBarFrame)).contains(point))
        return TitleBarPart::Contents;
    if (bar.closeButton.contains(point))
        return TitleBarPart::Close;
    if (bar.minimiseButton.contains(point))
        return TitleBarPart::Minimise;
    if (bar.area.contains(point))
        return TitleBarPart::Title;
    return TitleBarPart::Border;
}
