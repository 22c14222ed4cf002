#include "forms/still_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

void StillButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // A style keeps its animations by the object the option names and ends
    // them with it: one that lasts for this painting only.
    QObject thisPainting;
    option.styleObject = &thisPainting;
    painter.drawControl(QStyle::CE_PushButton, option);
}
