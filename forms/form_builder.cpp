#include "forms/form_builder.h"

#include "resources/pictures.h"


QFont windowFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    return font;
}

void setWindowFace(QWidget *window)
{
    window->setFont(windowFont());
    window->setWindowIcon(pictures::programIcon());
}
