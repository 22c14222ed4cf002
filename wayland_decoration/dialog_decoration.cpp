// Qt's Wayland client draws a window's title bar through a decoration
// plugin. Qt's own plugin offers maximise and minimise on every window, and a
// maximise of a window of one size ends in a protocol error; this one draws
// the title bar of the program's windows (see title_bar.h).

#include "wayland_decoration/title_bar.h"

#include <QtWaylandClient/private/qwaylandabstractdecoration_p.h>
#include <QtWaylandClient/private/qwaylanddecorationplugin_p.h>

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <utility>

namespace {

using QtWaylandClient::QWaylandAbstractDecoration;
using QtWaylandClient::QWaylandInputDevice;

QColor mixed(const QColor &from, const QColor &to, qreal share)
{
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * share,
                            from.greenF() + (to.greenF() - from.greenF()) * share,
                            from.blueF() + (to.blueF() - from.blueF()) * share);
}

class DialogDecoration final : public QWaylandAbstractDecoration
{
public:
    QMargins margins(MarginsType type) const override
    {
        return type == ShadowsOnly ? QMargins() : titleBarFrame;
    }

    bool handleMouse(QWaylandInputDevice *device, const QPointF &local, const QPointF &, Qt::MouseButtons buttons,
                     Qt::KeyboardModifiers) override
    {
        const TitleBarPart part = partAt(local);
        Qt::MouseButtons held = buttons;
        if (part == TitleBarPart::Contents)
            setPressed(TitleBarPart::Contents);
        else if (isLeftClicked(buttons) && press(device, part, buttons))
            held &= ~Qt::LeftButton; // the compositor keeps the release that ends a move
        else if (isRightClicked(buttons) && part == TitleBarPart::Title)
            showWindowMenu(device);
        else if (isLeftReleased(buttons))
            release(part);
        setMouseButtons(held);
        return part != TitleBarPart::Contents;
    }

    bool handleTouch(QWaylandInputDevice *device, const QPointF &local, const QPointF &, QEventPoint::State state,
                     Qt::KeyboardModifiers) override
    {
        const TitleBarPart part = partAt(local);
        if (part == TitleBarPart::Contents)
            return false;
        if (state == QEventPoint::Pressed)
            press(device, part, Qt::LeftButton);
        else if (state == QEventPoint::Released)
            release(part);
        return true;
    }

protected:
    void paint(QPaintDevice *device) override
    {
        followActivation();
        const QSizeF surface = surfaceSize();
        const TitleBar bar = layout();
        const QPalette palette = QGuiApplication::palette();
        const QColor ground = palette.color(QPalette::Window);
        const QColor text = palette.color(QPalette::WindowText);
        const bool active = window()->isActive();
        const QColor ink = active ? text : mixed(ground, text, 0.55);

        QPainter painter(device);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(QRectF(QPointF(), surface), mixed(ground, ink, 0.45));
        painter.fillRect(bar.area, active ? mixed(ground, ink, 0.1) : ground);

        window()->icon().paint(&painter, bar.icon.toRect());

        QFont font = QGuiApplication::font();
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(ink);
        const QString title = QFontMetricsF(font).elidedText(window()->title(), Qt::ElideRight, bar.title.width());
        painter.drawText(bar.title, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);

        if (const QRectF pressed = pressedButton(bar); !pressed.isEmpty()) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(mixed(ground, ink, 0.3));
            painter.drawRoundedRect(pressed, 3, 3);
        }
        painter.setPen(QPen(ink, 1.25));
        const QRectF cross(bar.closeButton.center() - QPointF(4, 4), QSizeF(8, 8));
        painter.drawLine(cross.topLeft(), cross.bottomRight());
        painter.drawLine(cross.topRight(), cross.bottomLeft());
        if (!bar.minimiseButton.isEmpty()) {
            const QRectF dash(bar.minimiseButton.center() - QPointF(4, 4), QSizeF(8, 8));
            painter.drawLine(dash.bottomLeft(), dash.bottomRight());
        }
    }

private:
    QRectF pressedButton(const TitleBar &bar) const
    {
        switch (pressed_) {
        case TitleBarPart::Close:
            return bar.closeButton;
        case TitleBarPart::Minimise:
            return bar.minimiseButton;
        default:
            return {};
        }
    }

    QSizeF surfaceSize() const
    {
        return QSizeF(window()->size().grownBy(titleBarFrame));
    }

    TitleBar layout() const
    {
        return titleBarLayout(surfaceSize().width(), window()->flags());
    }

    TitleBarPart partAt(QPointF point) const
    {
        return titleBarPartAt(layout(), surfaceSize(), point);
    }

    // A press on the title moves the window (and tells so); one on a button
    // holds it down.
    bool press(QWaylandInputDevice *device, TitleBarPart part, Qt::MouseButtons buttons)
    {
        if (part != TitleBarPart::Title) {
            setPressed(part);
            return false;
        }
        startMove(device, buttons);
        return true;
    }

    // A button acts when it is released where it was pressed.
    void release(TitleBarPart part)
    {
        const TitleBarPart pressed = pressed_;
        setPressed(TitleBarPart::Contents);
        if (part != pressed)
            return;
        if (part == TitleBarPart::Close)
            QWindowSystemInterface::handleCloseEvent(window()); // delivered from the event loop
        else if (part == TitleBarPart::Minimise)
            window()->setWindowState(Qt::WindowMinimized);
    }

    void setPressed(TitleBarPart part)
    {
        if (std::exchange(pressed_, part) != part)
            redraw();
    }

    // Qt draws the bar again only with the window's next frame: an expose
    // of a corner of the contents asks for one (of a shown window only, as
    // an expose also tells Qt that the window is shown).
    void redraw()
    {
        update();
        if (window()->isExposed())
            QWindowSystemInterface::handleExposeEvent(window(), QRegion(0, 0, 1, 1));
    }

    // The bar shows whether its window is the active one.
    void followActivation()
    {
        if (!followingActivation_)
            connect(window(), &QWindow::activeChanged, this, &DialogDecoration::redraw);
        followingActivation_ = true;
    }

    TitleBarPart pressed_ = TitleBarPart::Contents;
    bool followingActivation_ = false;
};

} // namespace

class DialogDecorationPlugin : public QtWaylandClient::QWaylandDecorationPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QWaylandDecorationFactoryInterface_iid FILE "dialog_decoration.json")

public:
    QWaylandAbstractDecoration *create(const QString &, const QStringList &) override
    {
        return new DialogDecoration;
    }
};

#include "dialog_decoration.moc"
