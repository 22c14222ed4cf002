#include "forms/form_builder.h"

#include "resources/pictures.h"

#include <QFont>

void setWindowFace(QWidget *window)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    window->setFont(font);
    window->setWindowIcon(pictures::programIcon());
}
