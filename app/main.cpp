#include "app/command_line.h"
#include "app/outside_ends.h"
#include "core/identity.h"
#include "forms/form_builder.h"
#include "main_window/Form1.h"
#include "resources/pictures.h"

#include <QApplication>

namespace {

int runWindows(int argc, char *argv[])
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
    closeWindowsAtOutsideEnds(application);

    Form1 form;
    form.show();
    return application.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = answerInformationOption(argc, argv))
        return *status;
    const int status = runWindows(argc, argv);
    // The settings are saved and the windows gone: a signal that asked for
    // the end now ends the program as it would have without the saving.
    if (const int number = endingSignal())
        endBySignal(number);
    return status;
}
