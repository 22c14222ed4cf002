// The About window: its controls, keys, link, and the version check run end
// to end against a web site of the test's own on loopback.
#include "about/frmAbout.h"
#include "core/version_rules.h"
#include "core/identity.h"
#include "forms/form_builder.h"
#include "forms/readable_colours.h"
#include "loopback_http_server.h"
#include "support/accessible_tree.h"
#include "support/form1_controls.h"
#include "support/palettes.h"
#include "support/window_picture.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace std::chrono_literals;
using namespace version_check;
using form1::control;

namespace {

const QColor blue(0, 0, 255);
const QColor green(0, 200, 0);

QLabel *label(const QWidget &about, const char *name)
{
    return control<QLabel>(about, QString::fromLatin1(name));
}

QColor textColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
}

} // namespace

// Catches what the program hands to the desktop to open.
class UrlCatcher : public QObject
{
    Q_OBJECT

public slots:
    void open(const QUrl &url) { urls << url; }

public:
    QList<QUrl> urls;
};

class FrmAboutTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void windowFrame();
    void geometry_data();
    void geometry();
    void look_data();
    void look();
    void texts();
    void laterControlsLieOnTop();
    void tabReachesTheLink();
    void closing_data();
    void closing();
    void linkColourFollowsThePointer();
    void linkOpensTheHomePage_data();
    void linkOpensTheHomePage();
    void textsFitTheirLabels();
    void accessibleTree_data();
    void accessibleTree();
    void contrastMeasure_data();
    void contrastMeasure();
    void readableOnLightAndDarkPalettes_data();
    void readableOnLightAndDarkPalettes();
    void render();
    void picturesAreSharpAtTheScreensScale();

    void currentVersionEndsTheCheck();
    void noConnectionEndsWithUnreachable();
    void slowServerIsWaitedFor();
    void titleIsShownLiterally();
    void closingWhileLoadingEndsTheCheck();

private:
    LoopbackHttpServer server_;
};

void FrmAboutTest::initTestCase()
{
    server_.useAsProxy();
}

void FrmAboutTest::init()
{
    server_.clear();
    server_.useAsProxy();
}

void FrmAboutTest::windowFrame()
{
    frmAbout about;
    about.show();
    QCOMPARE(about.windowTitle(), QStringLiteral("About Ferrox SpdCalc"));
    QCOMPARE(about.size(), QSize(385, 289));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    const Qt::WindowFlags flags = about.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(about.font().family(), QStringLiteral("Arial"));
    QCOMPARE(about.font().pointSizeF(), 8.25);
    QCOMPARE(about.windowIcon().availableSizes(),
             (QList<QSize>{{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
}

void FrmAboutTest::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels"); // twips / 15

    QTest::newRow("cmdOK") << "cmdOK" << QRect(296, 256, 80, 24);
    QTest::newRow("WebBrowser1") << "WebBrowser1" << QRect(8, 296, 17, 17);
    QTest::newRow("TimerCounter") << "TimerCounter" << QRect(32, 296, 17, 17);
    QTest::newRow("Label3") << "Label3" << QRect(8, 208, 369, 33);
    QTest::newRow("CheckVersion") << "CheckVersion" << QRect(8, 128, 369, 17);
    QTest::newRow("Label2(1)") << "Label2(1)" << QRect(8, 264, 185, 17);
    QTest::newRow("Label2(0)") << "Label2(0)" << QRect(8, 248, 185, 17);
    QTest::newRow("Label1") << "Label1" << QRect(88, 152, 193, 17);
    QTest::newRow("Image1") << "Image1" << QRect(8, 8, 64, 64);
    QTest::newRow("Line1(1)") << "Line1(1)" << QRect(6, 179, 370, 1);
    QTest::newRow("lblDescription") << "lblDescription" << QRect(80, 64, 299, 54);
    QTest::newRow("lblTitle") << "lblTitle" << QRect(80, 16, 259, 16);
    QTest::newRow("Line1(0)") << "Line1(0)" << QRect(7, 180, 369, 2);
    QTest::newRow("lblVersion") << "lblVersion" << QRect(80, 32, 259, 15);
    QTest::newRow("lblDisclaimer") << "lblDisclaimer" << QRect(8, 184, 361, 15);
}

void FrmAboutTest::geometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    frmAbout about;
    about.show();
    QCOMPARE(control(about, name)->geometry(), pixels);
}

void FrmAboutTest::look_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("underlined");
    QTest::addColumn<QColor>("colour"); // invalid: the system's text colour
    QTest::addColumn<bool>("centred");

    QTest::newRow("CheckVersion") << "CheckVersion" << 9.75 << true << false << QColor() << true;
    QTest::newRow("Label1") << "Label1" << 9.75 << false << true << blue << true;
    QTest::newRow("lblTitle") << "lblTitle" << 9.75 << false << false << QColor(Qt::black) << false;
    QTest::newRow("lblVersion") << "lblVersion" << 9.75 << false << false << QColor() << false;
    QTest::newRow("lblDisclaimer") << "lblDisclaimer" << 9.75 << true << true << QColor(Qt::black) << true;
    QTest::newRow("lblDescription") << "lblDescription" << 8.25 << false << false << QColor(Qt::black) << false;
    QTest::newRow("Label3") << "Label3" << 8.25 << false << false << QColor() << true;
    QTest::newRow("Label2(0)") << "Label2(0)" << 8.25 << false << false << QColor() << false;
    QTest::newRow("Label2(1)") << "Label2(1)" << 8.25 << false << false << QColor() << false;
}

void FrmAboutTest::look()
{
    QFETCH(QString, name);
    QFETCH(qreal, pointSize);
    QFETCH(bool, bold);
    QFETCH(bool, underlined);
    QFETCH(QColor, colour);
    QFETCH(bool, centred);

    frmAbout about;
    const QLabel *shown = control<QLabel>(about, name);
    QCOMPARE(shown->font().family(), QStringLiteral("Arial"));
    QCOMPARE(shown->font().pointSizeF(), pointSize);
    QCOMPARE(shown->font().bold(), bold);
    QCOMPARE(shown->font().underline(), underlined);
    QCOMPARE(textColour(shown), colour.isValid() ? colour : QApplication::palette(shown).color(QPalette::WindowText));
    QCOMPARE(shown->alignment() & Qt::AlignHorizontal_Mask, centred ? Qt::AlignHCenter : Qt::AlignLeft);
}

void FrmAboutTest::texts()
{
    frmAbout about;
    QCOMPARE(label(about, "lblVersion")->text(), QStringLiteral("Version 2012.0831.2343"));
    QCOMPARE(label(about, "lblTitle")->text(), QStringLiteral("Ferrox Speed Calculator"));
    QCOMPARE(label(about, "lblDescription")->text(),
             QStringLiteral("Designed for use with Dovan's series of Ferrox, this utility calculates the maximum speed "
                            "around a curved section of track in accordance with Title 49, Part "
                            "213.9 of the Electronic Code of Federal Regulations."));
    QCOMPARE(label(about, "lblDisclaimer")->text(), QStringLiteral("WARNING: This utility is for SIMULATOR USE ONLY"));
    QCOMPARE(label(about, "Label3")->text(),
             QStringLiteral("    This utility is without warranty concerning errors in code. It does NOT contain any "
                            "form of malicious code."));
    QCOMPARE(label(about, "Label1")->text(), QStringLiteral("Visit Quorvel Software Website"));
    QVERIFY(label(about, "Label2(0)")->text().contains(QStringLiteral("Quorvel Software")));
    QVERIFY(label(about, "Label2(1)")->text().contains(QStringLiteral("Quorvel Software")));
    QCOMPARE(control<QPushButton>(about, "cmdOK")->text(), QStringLiteral("CLOSE"));
    QCOMPARE(label(about, "Image1")->pixmap().size(), QSize(64, 64));

    // The version check's starting point.
    QCOMPARE(label(about, "CheckVersion")->text(), connectingText());
    QCOMPARE(label(about, "TimerCounter")->text(), QString());
    const auto *timer = about.findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 1000);
    QVERIFY(timer->isActive());
}

void FrmAboutTest::laterControlsLieOnTop()
{
    frmAbout about;
    QStringList stacking; // bottom to top
    for (const QObject *child : about.children()) {
        if (child->isWidgetType())
            stacking << child->objectName();
    }
    QCOMPARE(stacking, (QStringList{"cmdOK", "WebBrowser1", "TimerCounter", "Label3", "CheckVersion", "Label2(1)",
                                    "Label2(0)", "Label1", "Image1", "Line1(1)", "lblDescription", "lblTitle", "Line1(0)",
                                    "lblVersion", "lblDisclaimer", "Announcer"}));
}

// CLOSE has the focus first; Tab and Backtab go between it and the link,
// which shows a focus ring while it has the focus.
void FrmAboutTest::tabReachesTheLink()
{
    frmAbout about;
    about.show();
    about.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    auto *close = control<QPushButton>(about, "cmdOK");
    QWidget *link = control(about, "Label1");
    QCOMPARE(QApplication::focusWidget(), close);
    const QImage withoutFocus = link->grab().toImage();
    QTest::keyClick(about.windowHandle(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), link);
    QVERIFY(link->grab().toImage() != withoutFocus);
    QTest::keyClick(about.windowHandle(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), close);
    QTest::keyClick(about.windowHandle(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), link);
}

void FrmAboutTest::closing_data()
{
    QTest::addColumn<int>("key"); // 0: a click on CLOSE
    QTest::addColumn<bool>("onTheLink"); // Tab has taken the focus to the link
    QTest::newRow("Enter") << int(Qt::Key_Return) << false;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << false;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << false;
    QTest::newRow("CLOSE") << 0 << false;
    QTest::newRow("Enter on the link") << int(Qt::Key_Return) << true;
    QTest::newRow("Esc on the link") << int(Qt::Key_Escape) << true;
}

void FrmAboutTest::closing()
{
    QFETCH(int, key);
    QFETCH(bool, onTheLink);
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    auto unset = qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); });
    frmAbout about;
    about.show();
    about.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QWindow *window = about.windowHandle();
    if (onTheLink) {
        QTest::keyClick(window, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control(about, "Label1"));
    }
    if (key)
        QTest::keyClick(window, Qt::Key(key));
    else
        QTest::mouseClick(window, Qt::LeftButton, {}, control(about, "cmdOK")->geometry().center());
    QVERIFY(!about.isVisible());
    QVERIFY(!about.findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
    QVERIFY(catcher.urls.isEmpty());
}

// Green under the pointer; blue again only over the bare window background.
void FrmAboutTest::linkColourFollowsThePointer()
{
    frmAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QWindow *window = about.windowHandle();
    const QLabel *link = label(about, "Label1");
    const QPoint background(4, 150);
    QVERIFY(!about.childAt(background));
    const auto moveOver = [&](const char *name) { QTest::mouseMove(window, control(about, name)->geometry().center()); };

    QCOMPARE(textColour(link), blue);
    moveOver("Label1");
    QCOMPARE(textColour(link), green);
    for (const char *other : {"lblDescription", "CheckVersion", "Image1", "cmdOK"}) {
        moveOver(other);
        QCOMPARE(textColour(link), green);
    }
    QTest::mouseMove(window, QPoint(-30, -30)); // straight out of the window
    QCOMPARE(textColour(link), green);
    QTest::mouseMove(window, background);
    QCOMPARE(textColour(link), blue);

    // The separator is a drawing on the background, not a control.
    moveOver("Label1");
    moveOver("Line1(0)");
    QCOMPARE(textColour(link), blue);
}

// One click, one opening: the second press of a double-click opens nothing.
// From the keyboard, Space opens the link once Tab has reached it; a screen
// reader presses it.
void FrmAboutTest::linkOpensTheHomePage_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("openings");
    QTest::newRow("click") << "click" << 1;
    QTest::newRow("double-click") << "double-click" << 1;
    QTest::newRow("two clicks apart") << "two clicks" << 2;
    QTest::newRow("Tab, Space") << "Space" << 1;
    QTest::newRow("screen reader's press") << "press" << 1;
}

void FrmAboutTest::linkOpensTheHomePage()
{
    QFETCH(QString, how);
    QFETCH(int, openings);
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    auto unset = qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); });
    frmAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QWindow *window = about.windowHandle();
    const QPoint link = control(about, "Label1")->geometry().center();
    QTest::mouseClick(window, Qt::LeftButton, {}, control(about, "lblDescription")->geometry().center());
    if (how == "click") {
        QTest::mouseClick(window, Qt::LeftButton, {}, link);
    } else if (how == "double-click") {
        QTest::mouseDClick(window, Qt::LeftButton, {}, link);
    } else if (how == "Space") {
        QTest::keyClick(window, Qt::Key_Tab);
        QTest::keyClick(window, Qt::Key_Space);
    } else if (how == "press") {
        QAccessibleInterface *accessibleLink = accessible::find(&about, "Label1");
        QVERIFY(accessibleLink && accessibleLink->actionInterface());
        accessibleLink->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    } else {
        QTest::mouseClick(window, Qt::LeftButton, {}, link);
        QTest::mouseClick(window, Qt::LeftButton, {}, link);
    }

    const QUrl homePage(QStringLiteral("http://%1/KDM/index.html").arg(identity::webHost));
    QCOMPARE(catcher.urls, QList<QUrl>(openings, homePage));
    QVERIFY(about.isVisible());
}

// Every text, including each the status line can come to show, fits its
// label without being cut off. CTest also runs this at the scales 1.5 and 2
// and with the faces a system without Liberation Sans shows for Arial.
void FrmAboutTest::textsFitTheirLabels()
{
    frmAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QString face = QFontInfo(about.font()).family();
    if (qEnvironmentVariableIsSet("EXPECTED_ARIAL_FACE"))
        QVERIFY2(face.startsWith(qEnvironmentVariable("EXPECTED_ARIAL_FACE")), qPrintable(face));
    QStringList cut;
    const auto check = [&cut](QLabel *label) {
        label->repaint(); // as shown
        // Underlines lie below the descent in some faces.
        const QFontMetrics metrics(label->font());
        const int underlineBottom = label->font().underline() ? metrics.ascent() + metrics.underlinePos() + metrics.lineWidth() : 0;
        if (label->heightForWidth(label->width()) > label->height() || underlineBottom > label->height())
            cut << label->text();
    };
    for (QLabel *shown : about.findChildren<QLabel *>()) {
        if (!shown->text().isEmpty())
            check(shown);
    }
    QLabel *status = label(about, "CheckVersion");
    const QStringList statusTexts = {connectingText(), checkingText(), spinnerFrameText(1), spinnerFrameText(4), currentText(),
                                     newerAvailableText("2013.0101.0000"), olderOnlineText("2012.0831.2342"),
                                     notPublishedText(), unreachableText()};
    for (const QString &text : statusTexts) {
        status->setText(text);
        fitCaption(status);
        check(status);
    }
    QVERIFY2(cut.isEmpty(), qPrintable(face + " cuts: " + cut.join(" | ")));
    // Shrunk for a long title, the status line grows back for a short text.
    const auto show = [status](const QString &text) {
        status->setText(text);
        fitCaption(status);
        return status->font().pointSizeF();
    };
    const qreal shortTextPoints = show(currentText());
    QVERIFY(show(newerAvailableText(QString(ShownTitleLength, u'9'))) < shortTextPoints);
    QCOMPARE(show(currentText()), shortTextPoints);
    const auto *close = control<QPushButton>(about, "cmdOK");
    QVERIFY(close->sizeHint().width() <= close->width());
}

// Every control as a screen reader finds it in the window's tree. The two
// helpers below the window's edge are not in it.
void FrmAboutTest::accessibleTree_data()
{
    using namespace accessible;
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role"); // NoRole: not in the tree
    QTest::addColumn<QString>("spoken"); // null: the label's own text
    QTest::addColumn<unsigned>("states");

    const auto row = [](const char *name, QAccessible::Role role, const QString &spoken, unsigned states) {
        QTest::newRow(name) << name << int(role) << spoken << states;
    };
    row("cmdOK", QAccessible::Button, "CLOSE", Focusable);
    row("WebBrowser1", QAccessible::NoRole, {}, 0);
    row("TimerCounter", QAccessible::NoRole, {}, 0);
    row("Label3", QAccessible::StaticText, {}, ReadOnly);
    row("CheckVersion", QAccessible::StaticText, connectingText(), ReadOnly);
    row("Label2(1)", QAccessible::StaticText, "Copyright \u00A9 2012 Quorvel Software", ReadOnly);
    row("Label2(0)", QAccessible::StaticText, "Written by Quorvel Software", ReadOnly);
    row("Label1", QAccessible::Link, "Visit Quorvel Software Website", Focusable);
    row("Image1", QAccessible::Graphic, "Derailed locomotive", ReadOnly);
    row("lblDescription", QAccessible::StaticText, {}, ReadOnly);
    row("lblTitle", QAccessible::StaticText, "Ferrox Speed Calculator", ReadOnly);
    row("lblVersion", QAccessible::StaticText, "Version 2012.0831.2343", ReadOnly);
    row("lblDisclaimer", QAccessible::StaticText, "WARNING: This utility is for SIMULATOR USE ONLY", ReadOnly);
    row("Announcer", QAccessible::Notification, "", Invisible); // speaks the check's outcome, silent until then
}

void FrmAboutTest::accessibleTree()
{
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(QString, spoken);
    QFETCH(unsigned, states);

    frmAbout about;
    about.show();
    QAccessibleInterface *found = accessible::find(&about, name);
    if (role == QAccessible::NoRole) {
        QVERIFY(!found);
        QVERIFY(!control(about, name)->isVisible());
        return;
    }
    QVERIFY(found);
    QCOMPARE(int(found->role()), role);
    QCOMPARE(found->text(QAccessible::Name), spoken.isNull() ? label(about, qPrintable(name))->text() : spoken);
    QCOMPARE(accessible::stateBits(found->state()), states);
}

// The contrast measure of the web content accessibility guidelines.
void FrmAboutTest::contrastMeasure_data()
{
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("window");
    QTest::addColumn<double>("contrast");

    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("white on black") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
    QTest::newRow("blue on white") << QColor(0, 0, 255) << QColor(Qt::white) << 8.59;
    QTest::newRow("grey 118 on white") << QColor(118, 118, 118) << QColor(Qt::white) << 4.54;
    QTest::newRow("alike") << QColor(53, 53, 53) << QColor(53, 53, 53) << 1.0;
}

void FrmAboutTest::contrastMeasure()
{
    QFETCH(QColor, text);
    QFETCH(QColor, window);
    QFETCH(double, contrast);
    QCOMPARE(qRound(readable::contrastRatio(text, window) * 100), qRound(contrast * 100));
}

// On the default light palette and on a dark one, every text, the link
// under the pointer included where the theme is dark, keeps at least 4.5:1
// against the window.
void FrmAboutTest::readableOnLightAndDarkPalettes_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("underPointer");

    for (const bool dark : {false, true}) {
        for (const char *name : {"lblTitle", "lblVersion", "lblDescription", "lblDisclaimer", "CheckVersion", "Label1",
                                 "Label3", "Label2(0)", "Label2(1)"}) {
            QTest::addRow("%s %s", dark ? "dark" : "light", name) << dark << QString::fromLatin1(name) << false;
        }
    }
    // On a light window the link keeps its green under the pointer, as ever.
    QTest::newRow("dark Label1 under the pointer") << true << "Label1" << true;
}

void FrmAboutTest::readableOnLightAndDarkPalettes()
{
    QFETCH(bool, dark);
    QFETCH(QString, name);
    QFETCH(bool, underPointer);

    const ApplicationPalette palette(dark ? darkPalette() : QApplication::palette());
    frmAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QLabel *shown = label(about, qPrintable(name));
    if (underPointer) {
        const QColor atRest = textColour(shown);
        QTest::mouseMove(about.windowHandle(), QPoint(4, 150)); // a move from elsewhere, whatever came before
        QTest::mouseMove(about.windowHandle(), shown->geometry().center());
        QVERIFY(textColour(shown) != atRest);
    }
    const QColor window = about.palette().color(QPalette::Window);
    QCOMPARE(readable::isDark(window), dark);
    const double contrast = readable::contrastRatio(textColour(shown), window);
    QVERIFY2(contrast >= 4.5, qPrintable(QString::number(contrast, 'f', 2)));
}

// Leaves pictures of the window for people to look at; the first must show
// the window.
void FrmAboutTest::render()
{
    const QString directory = qEnvironmentVariable("TEST_ARTIFACTS_DIR", QDir::tempPath());
    QDir().mkpath(directory);
    {
        frmAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const QImage picture = about.grab().toImage();
        QVERIFY(showsTheWindow(picture, about));
        QVERIFY(picture.save(directory + "/about-window.png"));
        label(about, "CheckVersion")->setText(olderOnlineText("2012.0831.2342"));
        QVERIFY(about.grab().save(directory + "/about-window-older-online.png"));
    }
    const ApplicationPalette palette(darkPalette());
    frmAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QVERIFY(about.grab().save(directory + "/about-window-dark.png"));
    QTest::mouseMove(about.windowHandle(), QPoint(4, 150));
    QTest::mouseMove(about.windowHandle(), control(about, "Label1")->geometry().center());
    QVERIFY(about.grab().save(directory + "/about-window-dark-link-under-pointer.png"));
}

// CTest also runs this alone at QT_SCALE_FACTOR 1.5 and 2: the picture keeps
// its 64 x 64 place but is drawn with every device pixel, and so is the icon.
void FrmAboutTest::picturesAreSharpAtTheScreensScale()
{
    frmAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const qreal ratio = about.devicePixelRatio();
    const QPixmap picture = label(about, "Image1")->pixmap();
    QCOMPARE(picture.devicePixelRatio(), ratio);
    QCOMPARE(picture.deviceIndependentSize(), QSizeF(64, 64));
    QCOMPARE(picture.size(), QSize(qRound(64 * ratio), qRound(64 * ratio)));
    // The title bar's 16-pixel icon and the larger ones a task switcher shows
    // come from drawings at least as large as the screen needs, never blown up.
    const QIcon icon = about.windowIcon();
    for (const int size : {16, 24, 32, 48}) {
        const QSize pixels(qRound(size * ratio), qRound(size * ratio));
        QVERIFY2(icon.actualSize(pixels) == pixels, qPrintable(QString::number(size)));
    }
    const QString directory = qEnvironmentVariable("TEST_ARTIFACTS_DIR", QDir::tempPath());
    QDir().mkpath(directory);
    QVERIFY(about.grab().save(directory + QStringLiteral("/about-window-scale-%1.png").arg(ratio)));
}

// The rest runs the check for real, one tick a second.

void FrmAboutTest::currentVersionEndsTheCheck()
{
    server_.setPage(versionFileAddress(), identity::localVersionText().toLatin1());
    accessible::Announcements announcements;
    frmAbout about;
    about.show();
    const QLabel *status = label(about, "CheckVersion");
    const auto *timer = about.findChild<QTimer *>(QStringLiteral("Timer1"));
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), currentText(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 3000);
    QCOMPARE(server_.requests, QList<QByteArray>{versionFileAddress().toLatin1()});
    // The outcome is spoken once, though the next tick sees it again.
    QCOMPARE(announcements.spoken, QStringList{currentText().trimmed()});
}

// As with no network at all: the first request fails and the check ends.
void FrmAboutTest::noConnectionEndsWithUnreachable()
{
    LoopbackHttpServer::useClosedPortAsProxy();
    accessible::Announcements announcements;
    frmAbout about;
    about.show();
    QTRY_COMPARE_WITH_TIMEOUT(label(about, "CheckVersion")->text(), unreachableText(), 5000);
    QVERIFY(!about.findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
    // Only the outcome: the connecting and checking texts are not spoken.
    QTRY_COMPARE(announcements.spoken, QStringList{unreachableText().trimmed()});
}

// The check asks every second; an answer that takes 2.5 s still ends it.
void FrmAboutTest::slowServerIsWaitedFor()
{
    server_.setPage(versionFileAddress(), "2013.0101.0000", 2500ms);
    frmAbout about;
    about.show();
    QTRY_COMPARE_WITH_TIMEOUT(label(about, "CheckVersion")->text(), newerAvailableText("2013.0101.0000"), 8000);
    QCOMPARE(server_.requests.size(), 1);
}

// A title with markup is text: a picture it names is neither loaded nor shown.
void FrmAboutTest::titleIsShownLiterally()
{
    QTemporaryDir directory;
    QImage red(40, 40, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString picture = directory.filePath("red.png");
    QVERIFY(red.save(picture));
    const QString title = "<img src=\"" + picture + "\">";
    server_.setPage(versionFileAddress(), title.toHtmlEscaped().toUtf8());

    frmAbout about;
    about.show();
    QLabel *status = label(about, "CheckVersion");
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), newerAvailableText(title), 5000);
    const QImage shown = status->grab().toImage();
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            QVERIFY(shown.pixelColor(x, y) != QColor(Qt::red));
    }
}

// Closing drops the request in flight; nothing reaches the check afterwards.
void FrmAboutTest::closingWhileLoadingEndsTheCheck()
{
    server_.setPage(versionFileAddress(), "2013.0101.0000", 1500ms);
    frmAbout about;
    about.show();
    QTRY_COMPARE_WITH_TIMEOUT(server_.requests.size(), 1, 5000);
    QLabel *status = label(about, "CheckVersion");
    const QString shown = status->text();
    QTest::mouseClick(about.windowHandle(), Qt::LeftButton, {}, control(about, "cmdOK")->geometry().center());
    QVERIFY(!about.isVisible());
    QTRY_COMPARE(server_.abandoned, 1);
    QTest::qWait(2000); // past the answer's time and another tick
    QCOMPARE(status->text(), shown);
    QCOMPARE(server_.requests.size(), 1);
}

QTEST_MAIN(FrmAboutTest)
#include "test_frm_about.moc"
