#include "forms/titled_frame.h"

#include <QCommonStyle>
#include <QPainter>
#include <QStyleOptionGroupBox>

TitledFrame::TitledFrame(const QString &title, QWidget *parent)
    : QGroupBox(title, parent)
{
}

// Qt's common style draws frames as the Windows style does; the frame is
// drawn with it and everything else with the application's style.
void TitledFrame::paintEvent(QPaintEvent *)
{
    static QCommonStyle titleOnBorder;
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    QPainter painter(this);
    titleOnBorder.drawComplexControl(QStyle::CC_GroupBox, &option, &painter, this);
}
