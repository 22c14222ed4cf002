#include "forms/form_builder.h"

#include <QFont>
#include <QIcon>

void setWindowFace(QWidget *window)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    window->setFont(font);
    window->setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
}
