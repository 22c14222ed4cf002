// The version check's state machine, driven one tick or one loaded page at a
// time, with a scripted browser view: no network and no waiting.
#include "about/browser_view.h"
#include "about/version_check.h"
#include "core/version_rules.h"
#include "core/identity.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace version_check;

namespace {

// Records every Navigate and shows whatever title the test puts up.
class ScriptedView : public BrowserView
{
public:
    void Navigate(const QString &address) override { navigations << address; }
    std::optional<QString> DocumentTitle() const override { return title; }

    QStringList navigations;
    std::optional<QString> title;
};

// The About window's parts the check works on.
struct CheckParts
{
    explicit CheckParts(const QString &status, const QString &counter = {}, bool timerRunning = true)
    {
        CheckVersion.setText(status);
        TimerCounter.setText(counter);
        Timer1.setInterval(1000);
        if (timerRunning)
            Timer1.start();
    }
    void tick() { check.Timer1_Timer(); }
    void load(const std::optional<QString> &title)
    {
        view.title = title;
        check.WebBrowser1_DocumentComplete();
    }
    QString status() const { return CheckVersion.text(); }

    QLabel CheckVersion;
    QLabel TimerCounter;
    QTimer Timer1;
    ScriptedView view;
    VersionCheck check{CheckVersion, TimerCounter, Timer1, view};
};

const QString tick = QStringLiteral("(tick)");
const QString local = identity::localVersionText();

} // namespace

class VersionCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void statusTexts();
    void oneEvent_data();
    void oneEvent();
    void publishedVersion_data();
    void publishedVersion();
    void spinnerRunsUntilTheTenthCount();
    void givesUpAfterFiveTicksWhileConnecting();
    void lateStartFailureCountsTheEarlierTicks();
    void outcomeStopsTheTimerAtTheNextTick();
    void pageWithoutDocumentChangesNothing();
};

void VersionCheckTest::statusTexts()
{
    const QString host = QString::fromLatin1(identity::webHost);
    const QString nbsp2(2, QChar(0x00A0));
    QCOMPARE(connectingText(), nbsp2 + "Connecting to " + host + nbsp2);
    QCOMPARE(checkingText(), nbsp2 + "Checking for updates on " + host + nbsp2);
    QCOMPARE(spinnerFrameText(1), "Checking for updates on " + host + " |");
    QCOMPARE(spinnerFrameText(2), "Checking for updates on " + host + " /");
    QCOMPARE(spinnerFrameText(3), "Checking for updates on " + host + " -");
    QCOMPARE(spinnerFrameText(4), "Checking for updates on " + host + " \\");
    QCOMPARE(unreachableText(), "Unable to connect to " + host);
    QCOMPARE(versionFileAddress(), "http://www." + host + "/KDM/KDM.ver");
    QCOMPARE(homePageAddress(), "http://" + host + "/KDM/index.html");
}

// Every row of the check's state table: one event from a given state.
void VersionCheckTest::oneEvent_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("counter");
    QTest::addColumn<bool>("timerRunning");
    QTest::addColumn<QString>("event"); // a tick, or the title of the page loaded
    QTest::addColumn<QString>("expectedStatus");
    QTest::addColumn<QString>("expectedCounter");
    QTest::addColumn<bool>("expectedRunning");
    QTest::addColumn<int>("requests");

    const QString connecting = connectingText(), checking = checkingText(), unreachable = unreachableText();
    const QString cannotDisplay = CannotDisplayTitle.toString(), canceled = NavigationCanceledTitle.toString();
    const QString notFound = NotFoundTitle.toString(), current = currentText();
    const auto frame = [](int n) { return spinnerFrameText(n); };

    QTest::newRow("connecting, tick") << connecting << "" << true << tick << connecting << "2" << true << 1;
    QTest::newRow("connecting, tick to 10") << connecting << "8" << true << tick << unreachable << "10" << false << 1;
    QTest::newRow("connecting, failure page") << connecting << "" << true << cannotDisplay << checking << "" << true << 0;
    QTest::newRow("connecting, canceled page") << connecting << "4" << true << canceled << checking << "4" << true << 0;
    QTest::newRow("checking, tick") << checking << "" << true << tick << frame(1) << "1" << true << 1;
    QTest::newRow("checking, tick to 10") << checking << "9" << true << tick << unreachable << "10" << false << 1;
    QTest::newRow("frame 1, tick") << frame(1) << "1" << true << tick << frame(2) << "2" << true << 1;
    QTest::newRow("frame 2, tick") << frame(2) << "2" << true << tick << frame(3) << "3" << true << 1;
    QTest::newRow("frame 3, tick") << frame(3) << "3" << true << tick << frame(4) << "4" << true << 1;
    QTest::newRow("frame 4, tick") << frame(4) << "4" << true << tick << frame(1) << "5" << true << 1;
    QTest::newRow("frame 4, tick to 10") << frame(4) << "9" << true << tick << unreachable << "10" << false << 1;
    QTest::newRow("counter read leniently") << checking << " 4 ticks" << true << tick << frame(1) << "5" << true << 1;
    QTest::newRow("checking, failure page") << checking << "3" << true << cannotDisplay << unreachable << "3" << false << 0;
    QTest::newRow("frame 3, canceled page") << frame(3) << "7" << true << canceled << unreachable << "7" << false << 0;
    QTest::newRow("connecting, 404") << connecting << "2" << true << notFound << notPublishedText() << "2" << false << 0;
    QTest::newRow("frame 2, 404") << frame(2) << "2" << true << notFound << notPublishedText() << "2" << false << 0;
    QTest::newRow("outcome, 404") << current << "2" << true << notFound << notPublishedText() << "2" << false << 0;
    QTest::newRow("checking, current version") << checking << "1" << true << local << current << "1" << true << 0;
    QTest::newRow("connecting, newer version")
        << connecting << "" << true << "2013.0101.0000" << newerAvailableText("2013.0101.0000") << "" << true << 0;
    QTest::newRow("frame 1, older version")
        << frame(1) << "1" << true << "2012.0831.2342" << olderOnlineText("2012.0831.2342") << "1" << true << 0;
    // An outcome stays: no timer would end a progress text brought back.
    QTest::newRow("outcome, failure page, timer running") << current << "1" << true << cannotDisplay << current << "1"
                                                          << true << 0;
    QTest::newRow("outcome, failure page, timer stopped") << unreachable << "10" << false << canceled << unreachable << "10"
                                                          << false << 0;
    QTest::newRow("late version page after unreachable") << unreachable << "10" << false << local << current << "10"
                                                         << false << 0;
    QTest::newRow("outcome, tick") << newerAvailableText("2013.0101.0000") << "4" << true << tick
                                   << newerAvailableText("2013.0101.0000") << "4" << false << 0;
    QTest::newRow("not published, tick") << notPublishedText() << "3" << true << tick << notPublishedText() << "3"
                                         << false << 0;
}

void VersionCheckTest::oneEvent()
{
    QFETCH(QString, status);
    QFETCH(QString, counter);
    QFETCH(bool, timerRunning);
    QFETCH(QString, event);
    QFETCH(QString, expectedStatus);
    QFETCH(QString, expectedCounter);
    QFETCH(bool, expectedRunning);
    QFETCH(int, requests);

    CheckParts parts(status, counter, timerRunning);
    if (event == tick)
        parts.tick();
    else
        parts.load(event);

    QCOMPARE(parts.status(), expectedStatus);
    QCOMPARE(parts.TimerCounter.text(), expectedCounter);
    QCOMPARE(parts.Timer1.isActive(), expectedRunning);
    QCOMPARE(parts.view.navigations, QStringList(requests, versionFileAddress()));
    if (event != tick)
        QCOMPARE(parts.check.availableVersion(), event);
}

// Titles are compared as texts, code unit by code unit.
void VersionCheckTest::publishedVersion_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expectedStatus");

    QTest::newRow("equal") << local << currentText();
    QTest::newRow("newer") << "2013.0101.0000" << "Version 2013.0101.0000 is available";
    QTest::newRow("older") << "2012.0831.2342" << "This is a beta version.  Version online is 2012.0831.2342";
    QTest::newRow("no leading zeros sorts later") << "2012.831.2343" << "Version 2012.831.2343 is available";
    QTest::newRow("longer with the same start") << "2012.0831.23430" << "Version 2012.0831.23430 is available";
    QTest::newRow("prefix sorts first") << "2012.0831" << "This is a beta version.  Version online is 2012.0831";
    QTest::newRow("letters sort after digits") << "Beta" << "Version Beta is available";
    QTest::newRow("empty title") << "" << "This is a beta version.  Version online is ";
    // Shown isolated from our words, compared as the document gives it.
    QTest::newRow("right-to-left override") << QString::fromUtf8("2013\u202E.0101") << QString::fromUtf8("Version \u20682013\u202E.0101\u2069 is available");
    QTest::newRow("control characters dropped") << QString::fromUtf8("2013.0101\t\x01x") + QChar(0) << "Version 2013.0101x is available";
    // Cut between user-perceived characters, compared whole.
    QTest::newRow("long title cut before a letter's accents")
        << QStringLiteral("2013.0101.0000 a") + QString(32000, QChar(0x0301)) << QString::fromUtf8("Version 2013.0101.0000 \u2026 is available");
    QTest::newRow("long title cut before a surrogate pair")
        << QStringLiteral("2013.") + QString(122, u'x') + QString::fromUtf8("\U0001F600y")
        << QStringLiteral("Version 2013.") + QString(122, u'x') + QString::fromUtf8("\u2026 is available");
    QTest::newRow("stray isolate ends cannot escape")
        << QString::fromUtf8("2011\u2069\u202Ea\u2067b") << QString::fromUtf8("This is a beta version.  Version online is \u20682011\u202Ea\u2067b\u2069\u2069");
}

void VersionCheckTest::publishedVersion()
{
    QFETCH(QString, title);
    QFETCH(QString, expectedStatus);
    CheckParts parts(checkingText());
    parts.load(title);
    QCOMPARE(parts.status(), expectedStatus);
}

// When nothing ever comes back: frames 1, 2, 3, 4, 1, ... one per tick, and
// the unreachable text at the tenth count.
void VersionCheckTest::spinnerRunsUntilTheTenthCount()
{
    CheckParts parts(connectingText());
    parts.load(NavigationCanceledTitle.toString()); // the start address fails first
    QStringList seen;
    for (int i = 0; i < 10; ++i) {
        parts.tick();
        seen << parts.status();
    }
    QStringList expected;
    for (int frame : {1, 2, 3, 4, 1, 2, 3, 4, 1})
        expected << spinnerFrameText(frame);
    expected << unreachableText();
    QCOMPARE(seen, expected);
    QCOMPARE(parts.TimerCounter.text(), QStringLiteral("10"));
    QVERIFY(!parts.Timer1.isActive());
    QCOMPARE(parts.view.navigations.size(), 10);
}

// When the start address never reports back either.
void VersionCheckTest::givesUpAfterFiveTicksWhileConnecting()
{
    CheckParts parts(connectingText());
    for (int i = 0; i < 4; ++i)
        parts.tick();
    QCOMPARE(parts.status(), connectingText());
    QCOMPARE(parts.TimerCounter.text(), QStringLiteral("8"));
    QVERIFY(parts.Timer1.isActive());
    parts.tick();
    QCOMPARE(parts.status(), unreachableText());
    QCOMPARE(parts.TimerCounter.text(), QStringLiteral("10"));
    QVERIFY(!parts.Timer1.isActive());
    QCOMPARE(parts.view.navigations.size(), 5);
}

// Two ticks while connecting count two each; checking then has six to go.
void VersionCheckTest::lateStartFailureCountsTheEarlierTicks()
{
    CheckParts parts(connectingText());
    parts.tick();
    parts.tick();
    parts.load(CannotDisplayTitle.toString());
    QCOMPARE(parts.status(), checkingText());
    int ticks = 0;
    while (parts.Timer1.isActive() && ticks < 20) {
        parts.tick();
        ++ticks;
    }
    QCOMPARE(ticks, 6);
    QCOMPARE(parts.status(), unreachableText());
    QCOMPARE(parts.view.navigations.size(), 8);
}

// The current version: the next tick stops the timer and asks for nothing.
void VersionCheckTest::outcomeStopsTheTimerAtTheNextTick()
{
    CheckParts parts(checkingText());
    parts.tick();
    parts.load(local);
    QCOMPARE(parts.status(), currentText());
    QVERIFY(parts.Timer1.isActive());
    parts.tick();
    QCOMPARE(parts.status(), currentText());
    QVERIFY(!parts.Timer1.isActive());
    QCOMPARE(parts.view.navigations.size(), 1);
    QCOMPARE(parts.TimerCounter.text(), QStringLiteral("1"));
}

// A notification while the view has no document to read a title from ends
// its handling at once: nothing at all changes.
void VersionCheckTest::pageWithoutDocumentChangesNothing()
{
    CheckParts parts(spinnerFrameText(2), QStringLiteral("2"));
    parts.load(QStringLiteral("2013.0101.0000"));
    parts.CheckVersion.setText(spinnerFrameText(2));
    parts.load(std::nullopt);
    QCOMPARE(parts.status(), spinnerFrameText(2));
    QCOMPARE(parts.TimerCounter.text(), QStringLiteral("2"));
    QVERIFY(parts.Timer1.isActive());
    QCOMPARE(parts.check.availableVersion(), QStringLiteral("2013.0101.0000"));
}

QTEST_MAIN(VersionCheckTest)
#include "test_version_check.moc"
