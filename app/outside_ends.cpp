#include "app/outside_ends.h"

#include <QApplication>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif
#include <cstdlib>

namespace {

int endingSignalNumber = 0;

#ifdef Q_OS_UNIX

// The handler's end and the event loop's end of a socket pair: the handler
// only writes the signal's number, which is all it may safely do.
std::array<int, 2> signalSockets{-1, -1};

void onEndSignal(int number)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, 1);
    errno = savedErrno;
}

void takeSignals()
{
    unsigned char byte = 0;
    while (::read(signalSockets[1], &byte, 1) == 1) {
        if (endingSignalNumber == 0)
            endingSignalNumber = byte;
    }
    // Quitting closes every window first, as the user would, so that the main
    // window saves its settings; a modal About window closes too.
    QCoreApplication::quit();
}

void catchEndSignals(QApplication &application)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signalSockets.data()) != 0)
        return; // the signals keep their default action
    auto *notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, takeSignals);

    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGTERM, SIGHUP, SIGINT}) {
        // A signal ignored from the start stays ignored: under nohup, or
        // Ctrl+C for a program a shell started in the background.
        struct sigaction inherited = {};
        if (sigaction(number, nullptr, &inherited) == 0 && inherited.sa_handler != SIG_IGN)
            sigaction(number, &action, nullptr);
    }
}

#endif

} // namespace

void closeWindowsAtOutsideEnds(QApplication &application)
{
#ifdef Q_OS_UNIX
    catchEndSignals(application);
#endif
#ifndef QT_NO_SESSIONMANAGER
    // The session ends whether or not the program agrees, so the windows are
    // closed (and the settings saved) when the session manager asks for the
    // program's data.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &application, &QCoreApplication::quit);
#endif
}

int endingSignal()
{
    return endingSignalNumber;
}

void endBySignal(int number)
{
#ifdef Q_OS_UNIX
    std::signal(number, SIG_DFL);
    std::raise(number);
#endif
    std::_Exit(128 + number);
}
