#include "about/version_check.h"

#include "about/browser_view.h"
#include "core/version_rules.h"
#include "core/number_rules.h"

#include <QLabel>
#include <QTimer>

using namespace version_check;

namespace {

// Ten counts: five ticks while still connecting, ten once checking.
constexpr double TickLimit = 10;

} // namespace

VersionCheck::VersionCheck(QLabel &CheckVersion, QLabel &TimerCounter, QTimer &Timer1, BrowserView &WebBrowser1)
    : CheckVersion(CheckVersion), TimerCounter(TimerCounter), Timer1(Timer1), WebBrowser1(WebBrowser1)
{
}

void VersionCheck::Timer1_Timer()
{
    if (CheckVersion.text() == connectingText())
        countTick();
    CheckVersion.setText(advancedSpinnerText(CheckVersion.text()));
    if (!isProgressText(CheckVersion.text())) {
        Timer1.stop(); // an outcome is on show
        return;
    }
    // Asked again on every tick; a load of the same address still in flight
    // is joined by the view, not restarted.
    WebBrowser1.Navigate(versionFileAddress());
    if (countTick() == TickLimit) {
        Timer1.stop();
        CheckVersion.setText(unreachableText());
    }
}

void VersionCheck::WebBrowser1_DocumentComplete()
{
    // Without a document there is no title: the handling ends here, silently,
    // and nothing has changed.
    const std::optional<QString> title = WebBrowser1.DocumentTitle();
    if (!title)
        return;
    AvailableVersion = *title;

    switch (classifyTitle(AvailableVersion)) {
    case PageKind::Failure:
        if (isCheckingPhaseText(CheckVersion.text())) {
            CheckVersion.setText(unreachableText());
            Timer1.stop();
        } else if (CheckVersion.text() == connectingText()) {
            // The start page's failure: on to checking; the timer is left as
            // it is.
            CheckVersion.setText(checkingText());
        }
        // An outcome on show stays: a late failure cannot bring back a
        // progress text that no timer would ever end.
        break;
    case PageKind::NotPublished:
        CheckVersion.setText(notPublishedText());
        Timer1.stop();
        break;
    // The timer keeps running; its next tick sees the outcome and stops.
    case PageKind::Current:
        CheckVersion.setText(currentText());
        break;
    case PageKind::Newer:
        CheckVersion.setText(newerAvailableText(AvailableVersion));
        break;
    case PageKind::Older:
        CheckVersion.setText(olderOnlineText(AvailableVersion));
        break;
    }
}

double VersionCheck::countTick()
{
    const double count = ReadNumber(TimerCounter.text()) + 1;
    TimerCounter.setText(FormatWhole(count));
    return count;
}
