// The version check driven by a byte string of timer ticks and browser
// notifications, with a browser view that plays the titles the bytes pick:
// the status line never shows a text outside the eleven of the check, no
// version file is requested once the timer has stopped, and the timer stops
// by itself within the ticks of the time limit.
#include "about/browser_view.h"
#include "about/version_check.h"
#include "core/version_rules.h"
#include "core/identity.h"
#include "fuzz_support.h"
#include "core/number_rules.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstdint>

using namespace version_check;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static int argc = 3;
    static char arg0[] = "fuzz_version_check", arg1[] = "-platform", arg2[] = "offscreen";
    static char *argv[] = {arg0, arg1, arg2, nullptr};
    static QApplication application(argc, argv);
    return 0;
}

namespace {

class ScriptedView : public BrowserView
{
public:
    explicit ScriptedView(const QTimer &timer) : timer_(timer) {}

    void Navigate(const QString &address) override
    {
        FUZZ_REQUIRE(timer_.isActive(), "requested %s with the timer stopped", printable(address));
        FUZZ_REQUIRE(address == versionFileAddress(), "requested %s", printable(address));
    }
    std::optional<QString> DocumentTitle() const override { return title; }

    std::optional<QString> title;

private:
    const QTimer &timer_;
};

bool isCheckText(const QString &status, const QString &availableVersion)
{
    return status == connectingText() || status == checkingText() || status == spinnerFrameText(1)
        || status == spinnerFrameText(2) || status == spinnerFrameText(3) || status == spinnerFrameText(4)
        || status == currentText() || status == newerAvailableText(availableVersion)
        || status == olderOnlineText(availableVersion) || status == notPublishedText() || status == unreachableText();
}

// The title of the next notification, picked by one byte; the last choice
// takes a title of the following bytes, its length given by the next one.
std::optional<QString> pickTitle(const std::uint8_t *&at, const std::uint8_t *end)
{
    const std::uint8_t choice = *at++ % 9;
    switch (choice) {
    case 0: return std::nullopt; // no document to read a title from
    case 1: return CannotDisplayTitle.toString();
    case 2: return NavigationCanceledTitle.toString();
    case 3: return NotFoundTitle.toString();
    case 4: return identity::localVersionText();
    case 5: return QStringLiteral("2013.0101.0000");
    case 6: return QStringLiteral("2012.0831.2342");
    case 7: return QString();
    default: {
        std::size_t length = 0;
        if (at < end) {
            const std::size_t wanted = *at++;
            length = std::min(wanted, std::size_t(end - at));
        }
        const QString title = QString::fromLatin1(reinterpret_cast<const char *>(at), qsizetype(length));
        at += length;
        return title;
    }
    }
}

} // namespace

// Each byte with its low bit clear is a tick (delivered only while the timer
// runs, as a stopped QTimer delivers none); with it set, a notification
// whose title the next bytes pick.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QLabel CheckVersion(connectingText());
    QLabel TimerCounter;
    QTimer Timer1;
    Timer1.setInterval(1000);
    Timer1.start();
    ScriptedView WebBrowser1(Timer1);
    VersionCheck check(CheckVersion, TimerCounter, Timer1, WebBrowser1);

    int ticks = 0;
    // The title the status was last written from: an outcome stays when a
    // later failure page changes the check's last title.
    QString shownVersion;
    QString shownStatus = CheckVersion.text();
    for (const std::uint8_t *at = data, *end = data + size; at < end;) {
        const bool notification = *at++ & 1;
        if (notification) {
            if (at == end)
                break;
            WebBrowser1.title = pickTitle(at, end);
            check.WebBrowser1_DocumentComplete();
        } else if (Timer1.isActive()) {
            ++ticks;
            check.Timer1_Timer();
        }
        if (CheckVersion.text() != shownStatus) {
            shownStatus = CheckVersion.text();
            shownVersion = check.availableVersion();
        }
        FUZZ_REQUIRE(isCheckText(CheckVersion.text(), shownVersion), "status \"%s\"", printable(CheckVersion.text()));
        // Ten counts at most, then one tick that finds an outcome and stops.
        FUZZ_REQUIRE(ReadNumber(TimerCounter.text()) <= 10, "counter %s", printable(TimerCounter.text()));
        FUZZ_REQUIRE(ticks <= 11, "the timer still ran after %d ticks", ticks);
    }
    return 0;
}
