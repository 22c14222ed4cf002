#include "core/identity.h"
#include "forms/form_builder.h"
#include "main_window/Form1.h"
#include "resources/pictures.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(identity::programFileName));
    QApplication::setOrganizationName(QString::fromLatin1(identity::companyName));
    QApplication::setApplicationVersion(identity::localVersionText());
    // Ties the window to its desktop entry: the app id on Wayland, and the
    // entry the desktop looks up for the window's icon and name.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(identity::applicationId));
    QApplication::setWindowIcon(pictures::programIcon());
    // The windows' face serves the menus and pop-ups too, so that start-up
    // looks up one font rather than two.
    QApplication::setFont(windowFont());

    Form1 form;
    form.show();
    return application.exec();
}
