#pragma once

#include <QString>

class BrowserView;
class QLabel;
class QTimer;

// The online version check of the About window. It keeps its state in the
// window's controls: the status line's text says where the check stands and
// the hidden counter label holds the number of ticks as decimal text. The
// window calls Timer1_Timer on every tick of its one-second timer and
// WebBrowser1_DocumentComplete whenever the browser view has loaded a page.
class VersionCheck
{
public:
    VersionCheck(QLabel &CheckVersion, QLabel &TimerCounter, QTimer &Timer1, BrowserView &WebBrowser1);

    void Timer1_Timer();
    void WebBrowser1_DocumentComplete();

    // The title of the last document the view loaded.
    const QString &availableVersion() const { return AvailableVersion; }

private:
    // Adds one to the counter label and gives the new count.
    double countTick();

    QLabel &CheckVersion;
    QLabel &TimerCounter;
    QTimer &Timer1;
    BrowserView &WebBrowser1;
    QString AvailableVersion;
};
