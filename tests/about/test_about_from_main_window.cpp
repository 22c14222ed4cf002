// The About menu entry: a fresh, modal About window each time.
#include "about/frmAbout.h"
#include "core/identity.h"
#include "core/version_rules.h"
#include "loopback_http_server.h"
#include "main_window/Form1.h"
#include "support/files.h"
#include "support/form1_controls.h"
#include "support/scratch_directory.h"

#include "support/palettes.h"

#include <QAction>
#include <QScopeGuard>
#include <QScreen>
#include <QApplication>
#include <QStyleFactory>
#include <QStyleHints>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace form1;
using namespace version_check;

namespace {

// Chooses About and runs `whileOpen` inside the About window's modal loop;
// the About window is closed afterwards, whatever happened.
bool withAboutOpen(Form1 &form, const std::function<void(frmAbout &)> &whileOpen)
{
    bool opened = false;
    QTimer::singleShot(0, &form, [&] {
        auto *about = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
        if (!about)
            return;
        opened = true;
        whileOpen(*about);
        about->reject();
    });
    control<QAction>(form, QStringLiteral("MenuAbout"))->trigger();
    return opened;
}

// The paint events each window receives, by window title, while it exists.
class PaintCounter : public QObject
{
public:
    PaintCounter() { QCoreApplication::instance()->installEventFilter(this); }
    QMap<QString, int> paints;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType())
            ++paints[static_cast<QWidget *>(watched)->window()->windowTitle()];
        return false;
    }
};

QColor linkColour(const frmAbout &about)
{
    return control<QLabel>(about, QStringLiteral("Label1"))->palette().color(QPalette::WindowText);
}

} // namespace

Q_DECLARE_METATYPE(HttpAnswer)

class AboutFromMainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { LoopbackHttpServer::useClosedPortAsProxy(); }
    void init()
    {
        LoopbackHttpServer::useClosedPortAsProxy();
        directory_ = std::make_unique<ScratchDirectory>();
        QVERIFY(directory_->isValid());
    }
    void cleanup() { directory_.reset(); }

    void requestFromOutsideWhileAboutIsOpen_data();
    void requestFromOutsideWhileAboutIsOpen();
    void mainWindowTakesNoInputWhileAboutIsOpen();
    void secondOpeningStartsAfresh();
    void restOnceNothingChanges_data();
    void restOnceNothingChanges();

private:
    std::unique_ptr<ScratchDirectory> directory_;
};

// What the window system may ask while the About window is open: a close of
// the main window (a Wayland compositor's reaches the window past Qt's
// modality) is ignored, as a close of the program's own would be; a
// minimised About window closes, so the main window is not left blocked.
void AboutFromMainWindowTest::requestFromOutsideWhileAboutIsOpen_data()
{
    QTest::addColumn<bool>("minimiseAbout"); // else the main window is closed
    QTest::newRow("close of the main window") << false;
    QTest::newRow("About window minimised") << true;
}

void AboutFromMainWindowTest::requestFromOutsideWhileAboutIsOpen()
{
    QFETCH(bool, minimiseAbout);
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    bool aboutClosed = false;
    QVERIFY(withAboutOpen(form, [&](frmAbout &about) {
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        if (minimiseAbout)
            about.windowHandle()->setWindowState(Qt::WindowMinimized);
        else
            form.windowHandle()->close();
        aboutClosed = QTest::qWaitFor([&about] { return !about.isVisible(); }, 1000);
        QVERIFY(form.isVisible());
    }));
    QCOMPARE(aboutClosed, minimiseAbout);
    QVERIFY(form.isVisible());
    QCOMPARE(files::read(), QByteArray("<no readable file>")); // nothing saved
}

// Input goes through the windows, as the user's would: QTest's widget-level
// calls go around modality.
void AboutFromMainWindowTest::mainWindowTakesNoInputWhileAboutIsOpen()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    text1(form, 4)->setText(QStringLiteral("1000"));
    const QWidget *calculate = control(form, QStringLiteral("Command1"));
    const QPoint calculateAt = calculate->mapTo(&form, calculate->rect().center());

    const bool opened = withAboutOpen(form, [&](frmAbout &about) {
        QVERIFY(about.isVisible());
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, calculateAt);
        QTest::keyClick(form.windowHandle(), Qt::Key_5);
        QCOMPARE(text1(form, 3)->text(), QString());
        QCOMPARE(text1(form, 0)->text(), QString());
        QCOMPARE(text1(form, 4)->text(), QStringLiteral("1000"));
    });
    QVERIFY(opened);
    QCOMPARE(text1(form, 3)->text(), QString());

    // With the About window gone, the same click goes through.
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, calculateAt);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
}

void AboutFromMainWindowTest::secondOpeningStartsAfresh()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QVERIFY(withAboutOpen(form, [&](frmAbout &about) {
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::mouseMove(about.windowHandle(), control(about, QStringLiteral("Label1"))->geometry().center());
        QCOMPARE(linkColour(about), QColor(0, 200, 0));
        QTRY_COMPARE_WITH_TIMEOUT(control<QLabel>(about, QStringLiteral("CheckVersion"))->text(), unreachableText(), 5000);
    }));
    QVERIFY(withAboutOpen(form, [&](frmAbout &about) {
        QVERIFY(isProgressText(control<QLabel>(about, QStringLiteral("CheckVersion"))->text()));
        QCOMPARE(control<QLabel>(about, QStringLiteral("TimerCounter"))->text(), QString());
        QCOMPARE(linkColour(about), QColor(0, 0, 255));
        QVERIFY(about.findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
    }));
}

// Once the version check has ended, neither window paints: in each outcome,
// with a long title, in each style, after both were covered and uncovered.
// CTest also runs this under X11 and with the faces that stand in for Arial.
void AboutFromMainWindowTest::restOnceNothingChanges_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("outcome"); // empty: the main window alone
    QTest::addColumn<HttpAnswer>("answer");

    const QString style = QApplication::style()->name();
    const auto page = [](const QByteArray &title) { return HttpAnswer{.body = LoopbackHttpServer::page(title)}; };
    const HttpAnswer unreachable{.reset = true};
    QTest::newRow("current") << style << currentText() << page(identity::localVersionText().toLatin1());
    QTest::newRow("newer") << style << newerAvailableText("2013.0101.0000") << page("2013.0101.0000");
    QTest::newRow("older") << style << olderOnlineText("2012.0831.2342") << page("2012.0831.2342");
    QTest::newRow("not published") << style << notPublishedText() << HttpAnswer{.status = 404};
    QTest::newRow("unreachable") << style << unreachableText() << unreachable;
    const QByteArray longTitle = "2013." + QByteArray(130, '9');
    for (const QString &key : QStyleFactory::keys()) {
        QTest::addRow("main window alone, %s", qPrintable(key)) << key << QString() << HttpAnswer{};
        QTest::addRow("long title, %s", qPrintable(key))
            << key << newerAvailableText(QString::fromLatin1(longTitle)) << page(longTitle);
    }
}

void AboutFromMainWindowTest::restOnceNothingChanges()
{
    QFETCH(QString, style);
    QFETCH(QString, outcome);
    QFETCH(HttpAnswer, answer);
    const ApplicationStyle applicationStyle(style);
    // The caret's blink is a change of its own.
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    auto restoreFlashTime = qScopeGuard([flashTime] { QApplication::setCursorFlashTime(flashTime); });
    LoopbackHttpServer server;
    server.useAsProxy();
    server.setAnswer(versionFileAddress(), answer);

    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const auto coverAndUncover = [] {
        QWidget cover;
        cover.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        cover.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cover));
    };
    const auto paintsAtRest = [&] {
        coverAndUncover();
        QTest::qWait(300); // what the uncovering asks for
        PaintCounter counter;
        QTest::qWait(1000);
        return counter.paints;
    };
    if (outcome.isEmpty()) {
        QCOMPARE(paintsAtRest(), (QMap<QString, int>{}));
        return;
    }
    QVERIFY(withAboutOpen(form, [&](frmAbout &about) {
        QTRY_VERIFY_WITH_TIMEOUT(!about.findChild<QTimer *>(QStringLiteral("Timer1"))->isActive(), 12000);
        QCOMPARE(control<QLabel>(about, QStringLiteral("CheckVersion"))->text(), outcome);
        QCOMPARE(paintsAtRest(), (QMap<QString, int>{}));
    }));
}

QTEST_MAIN(AboutFromMainWindowTest)
#include "test_about_from_main_window.moc"
