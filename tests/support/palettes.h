#pragma once

#include <QApplication>
#include <QPalette>
#include <QStyle>

// A dark desktop theme as the common dark schemes give it: light grey text on
// a dark grey window, and a mid-blue link that on its own is too dark to read
// there (3.0:1).
inline QPalette darkPalette()
{
    const QColor text(230, 230, 230), window(53, 53, 53);
    QPalette palette(text, window, QColor(80, 80, 80), QColor(25, 25, 25), QColor(40, 40, 40), text, Qt::white,
                     QColor(35, 35, 35), window);
    palette.setColor(QPalette::Shadow, QColor(15, 15, 15));
    palette.setColor(QPalette::Link, QColor(42, 130, 218));
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    return palette;
}

// The application's palette for as long as this exists; windows created
// meanwhile take it, as they would from the desktop's theme.
class ApplicationPalette
{
public:
    explicit ApplicationPalette(const QPalette &palette) : previous_(QApplication::palette())
    {
        QApplication::setPalette(palette);
    }
    ~ApplicationPalette() { QApplication::setPalette(previous_); }

private:
    QPalette previous_;
};

// The application's style for as long as this exists, named as
// QStyleFactory::keys() names it.
class ApplicationStyle
{
public:
    explicit ApplicationStyle(const QString &key) : previous_(QApplication::style()->name())
    {
        QApplication::setStyle(key);
    }
    ~ApplicationStyle() { QApplication::setStyle(previous_); }

private:
    QString previous_;
};
