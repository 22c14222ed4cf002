#include "forms/titled_frame.h"

#include <QApplication>
#include <QCommonStyle>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionGroupBox>

namespace {

bool drawsTitleAboveBorder(const QStyle *style)
{
    return style->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
}

// Qt's common style draws the title on the border; owned by the application.
QStyle *titleOnBorderStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new QCommonStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

} // namespace

TitledFrame::TitledFrame(const QString &title, QWidget *parent)
    : QGroupBox(title, parent)
{
}

void TitledFrame::paintEvent(QPaintEvent *event)
{
    if (!drawsTitleAboveBorder(style())) {
        QGroupBox::paintEvent(event);
        return;
    }
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    QPainter painter(this);
    titleOnBorderStyle()->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, this);
}
