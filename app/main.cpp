#include "app/command_line.h"
#include "app/outside_ends.h"
#include "core/identity.h"
#include "forms/form_builder.h"
#include "main_window/Form1.h"
#include "resources/pictures.h"

#include <QApplication>
#ifdef Q_OS_WIN
#include <windows.h>
#endif
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// On Linux, inside a Wayland session that also runs an X server (XWayland),
// the program takes X11 unless the user chose a platform: there the window
// manager tells it where its window stands, keeps its one size and honours
// modal windows, and draws the title bar without maximise. The choice goes to
// Qt as its own -platform option, so that it is not inherited by programs the
// program starts, such as the browser the About link opens; Qt takes the
// native platform when the X server cannot be reached.
std::vector<char *> argumentsWithPlatform(int argc, char *argv[])
{
    std::vector<char *> arguments(argv, argv + argc);
#ifdef Q_OS_LINUX
    static char option[] = "-platform";
    static char x11First[] = "xcb;wayland";
    const bool chosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        || std::any_of(arguments.begin(), arguments.end(), [](const char *argument) {
               return std::strcmp(argument, "-platform") == 0 || std::strcmp(argument, "--platform") == 0;
           });
    if (!chosen && !qEnvironmentVariableIsEmpty("DISPLAY"))
        arguments.insert(arguments.end(), {option, x11First});
#endif
    arguments.push_back(nullptr);
    return arguments;
}

int runWindows(int argc, char *argv[])
{
    std::vector<char *> arguments = argumentsWithPlatform(argc, argv);
    int count = int(arguments.size()) - 1;
    QApplication application(count, arguments.data());
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
#ifdef Q_OS_WIN
    // DLLs loaded from now on come from the program's folder and the
    // system's only, never from the working folder or the PATH.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
#endif
    if (const std::optional<int> status = answerInformationOption(argc, argv))
        return *status;
    const int status = runWindows(argc, argv);
    // The settings are saved and the windows gone: a signal that asked for
    // the end now ends the program as it would have without the saving.
    if (const int number = endingSignal())
        endBySignal(number);
    return status;
}
