#pragma once

class QApplication;

// Ends that come from outside the program's windows: on Unix the signals
// SIGTERM (a shutdown, `kill`), SIGHUP (a closed terminal) and SIGINT
// (Ctrl+C), and everywhere the end of the desktop session. Each closes the
// windows as the user would, so that the main window saves its settings, and
// the program then ends. The signals are taken from the event loop, never
// acted on inside their handler.
void closeWindowsAtOutsideEnds(QApplication &application);

// The signal that ended the event loop, or 0.
int endingSignal();

// Ends the process by that signal with its default action, as a program that
// did not catch it would end, so that a shell or a service manager sees why.
[[noreturn]] void endBySignal(int number);
