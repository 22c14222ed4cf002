// The main window as the user first sees it.
#include "main_window/Form1.h"
#include "about/frmAbout.h"
#include "about/loopback_http_server.h"
#include "support/accessible_tree.h"
#include "support/form1_controls.h"
#include "support/palettes.h"
#include "support/scratch_directory.h"
#include "support/window_picture.h"

#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QWindow>
#include <QStyleFactory>
#include <QtMath>

using namespace form1;

class Form1LayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        directory_ = std::make_unique<ScratchDirectory>();
        QVERIFY(directory_->isValid());
    }
    void cleanup() { directory_.reset(); }

    void windowFrame();
    void maximiseLeavesTheWindowAsItIs_data();
    void maximiseLeavesTheWindowAsItIs();
    void geometry_data();
    void geometry();
    void captionsAndStates();
    void optionArraysAreSeparateGroups();
    void tabChain_data();
    void tabChain();
    void focusStartsInLeftOuterRadius();
    void centredOnTheScreen();
    void captionsAreNotClipped_data();
    void captionsAreNotClipped();
    void aboutMenuEntry();
    void accessibleTree_data();
    void accessibleTree();
    void render();

private:
    std::unique_ptr<ScratchDirectory> directory_;
};

void Form1LayoutTest::windowFrame()
{
    Form1 form;
    form.show();
    QCOMPARE(form.windowTitle(), QStringLiteral("Ferrox SpdCalc"));
    QCOMPARE(form.centralWidget()->size(), QSize(321, 201));
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    // Not resizable: the window's size is fixed to its contents.
    QCOMPARE(form.minimumSize(), form.maximumSize());
    form.resize(600, 500);
    QCOMPARE(form.centralWidget()->size(), QSize(321, 201));
    QCOMPARE(form.font().family(), QStringLiteral("Arial"));
    QCOMPARE(form.font().pointSizeF(), 8.25);
    QVERIFY(!form.windowIcon().isNull());
    QCOMPARE(form.windowIcon().availableSizes(),
             (QList<QSize>{{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
}

// Maximise requests, sent as Qt's own title bar on Wayland sends them (it
// offers maximise whatever the window's flags), as often as the row says:
// whether the window system grants them (offscreen, weston) or refuses them
// outright (openbox, as the window has one size), the window comes back to
// its normal state and its one size every time, and the program runs on.
// CTest also runs this under openbox and weston.
void Form1LayoutTest::maximiseLeavesTheWindowAsItIs_data()
{
    QTest::addColumn<bool>("about");
    QTest::addColumn<int>("requests");
    QTest::newRow("main window, one request") << false << 1;
    QTest::newRow("main window, two requests") << false << 2;
    QTest::newRow("main window, three requests") << false << 3;
    QTest::newRow("About window, three requests") << true << 3;
}

void Form1LayoutTest::maximiseLeavesTheWindowAsItIs()
{
    QFETCH(bool, about);
    QFETCH(int, requests);
    LoopbackHttpServer::useClosedPortAsProxy(); // the About window's version check stays on this machine
    const std::unique_ptr<QWidget> window = about ? std::unique_ptr<QWidget>(new frmAbout) : std::make_unique<Form1>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const QSize size = window->size();
    for (int request = 1; request <= requests; ++request) {
        window->windowHandle()->setWindowState(Qt::WindowMaximized);
        QTRY_VERIFY2(window->windowHandle()->windowState() == Qt::WindowNoState && window->windowState() == Qt::WindowNoState
                         && window->minimumSize() == size && window->maximumSize() == size && window->size() == size,
                     qPrintable(QStringLiteral("after request %1: size %2 x %3, maximum %4 x %5").arg(request)
                                    .arg(window->width()).arg(window->height())
                                    .arg(window->maximumWidth()).arg(window->maximumHeight())));
    }
}

void Form1LayoutTest::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels"); // within the container, twips / 15

    QTest::newRow("Frame1") << "Frame1" << QRect(8, 0, 185, 193);
    QTest::newRow("Text1(0)") << "Text1(0)" << QRect(136, 16, 41, 19);
    QTest::newRow("Label1(2)") << "Label1(2)" << QRect(8, 64, 121, 17);
    QTest::newRow("Label1(4)") << "Label1(4)" << QRect(8, 88, 169, 17);
    QTest::newRow("Text1(4)") << "Text1(4)" << QRect(136, 104, 41, 19);
    QTest::newRow("Line1") << "Line1" << QRect(8, 128, 168, 1);
    QTest::newRow("Command1") << "Command1" << QRect(8, 136, 169, 25);
    QTest::newRow("Text1(3)") << "Text1(3)" << QRect(136, 168, 41, 19);
    QTest::newRow("Frame2") << "Frame2" << QRect(200, 0, 113, 193);
    QTest::newRow("Option1(2)") << "Option1(2)" << QRect(24, 48, 65, 17);
    QTest::newRow("fraDistance") << "fraDistance" << QRect(16, 72, 81, 53);
    QTest::newRow("fraSpeed") << "fraSpeed" << QRect(16, 128, 81, 53);
    QTest::newRow("Option3(1)") << "Option3(1)" << QRect(8, 32, 65, 17);
}

void Form1LayoutTest::geometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    Form1 form;
    form.show();
    QCOMPARE(control(form, name)->geometry(), pixels);
}

void Form1LayoutTest::captionsAndStates()
{
    Form1 form;
    form.show();
    QCOMPARE(frame(form, "Frame1")->title(), QStringLiteral("CURVE RADIUS (m)"));
    QCOMPARE(frame(form, "Frame2")->title(), QStringLiteral("UNIT OF MEASURE"));
    QCOMPARE(frame(form, "fraDistance")->title(), QStringLiteral("DISTANCE"));
    QCOMPARE(frame(form, "fraSpeed")->title(), QStringLiteral("SPEED"));
    const QStringList labels = {"Left Outer Radius", "Right Outer Radius", "Inner Radius", "Maximum Speed (km/h)", "OR",
                                "Single Radius"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(label1(form, i)->text(), labels[i]);
    QCOMPARE(label1(form, 0)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(label1(form, 4)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(control<QPushButton>(form, "Command1")->text(), QStringLiteral("CALCULATE"));
    QVERIFY(!control<QPushButton>(form, "Command1")->isDefault());

    // Unit state "M": Metric everywhere, the two sub-frames disabled.
    const QStringList options = {"Both", "Imperial", "Metric"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(option(form, 1, i)->text(), options[i]);
        QCOMPARE(option(form, 1, i)->isChecked(), i == 2);
    }
    for (int array : {2, 3}) {
        QCOMPARE(option(form, array, 0)->text(), QStringLiteral("Imperial"));
        QCOMPARE(option(form, array, 1)->text(), QStringLiteral("Metric"));
        QVERIFY(!option(form, array, 0)->isChecked());
        QVERIFY(option(form, array, 1)->isChecked());
    }
    QVERIFY(!frame(form, "fraDistance")->isEnabled());
    QVERIFY(!frame(form, "fraSpeed")->isEnabled());
    QVERIFY(frame(form, "Frame2")->isEnabled());

    for (int i = 0; i < 5; ++i) {
        TextBox *box = text1(form, i);
        QVERIFY(box->text().isEmpty());
        QCOMPARE(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(box->isReadOnly(), i == 3);
    }
    QVERIFY(!(text1(form, 3)->focusPolicy() & Qt::TabFocus));
    // Without the old system face the boxes share the window's face.
    QCOMPARE(QFontInfo(text1(form, 0)->font()).family(), QFontInfo(form.font()).family());
    QCOMPARE(text1(form, 0)->font().pointSizeF(), 8.25);
}

void Form1LayoutTest::optionArraysAreSeparateGroups()
{
    Form1 form;
    form.show();
    option(form, 2, 0)->setChecked(true);
    QVERIFY(!option(form, 2, 1)->isChecked());
    QVERIFY(option(form, 1, 2)->isChecked());
    QVERIFY(option(form, 3, 1)->isChecked());
    option(form, 3, 0)->setChecked(true);
    QVERIFY(option(form, 2, 0)->isChecked());
    QVERIFY(!option(form, 3, 1)->isChecked());
}

// The Tab key enters each option group at its selected button, also after
// the selection has moved.
void Form1LayoutTest::tabChain_data()
{
    QTest::addColumn<QString>("units"); // chosen by clicks from "M"
    QTest::addColumn<bool>("subFramesEnabled"); // by hand, in state "M"
    QTest::addColumn<QStringList>("visited");

    const QStringList boxes{"Text1(0)", "Text1(1)", "Text1(2)", "Text1(4)", "Command1"};
    QTest::newRow("start") << "M" << false << boxes + QStringList{"Option1(2)"};
    QTest::newRow("sub-frames enabled") << "M" << true << boxes + QStringList{"Option1(2)", "Option2(1)", "Option3(1)"};
    QTest::newRow("after choosing IM") << "IM" << false << boxes + QStringList{"Option1(0)", "Option2(0)", "Option3(1)"};
    QTest::newRow("after choosing I") << "I" << false << boxes + QStringList{"Option1(1)"};
}

void Form1LayoutTest::tabChain()
{
    QFETCH(QString, units);
    QFETCH(bool, subFramesEnabled);
    QFETCH(QStringList, visited);
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    chooseUnits(form, units);
    QCOMPARE(form.unitCode(), units);
    if (subFramesEnabled) {
        frame(form, "fraDistance")->setEnabled(true);
        frame(form, "fraSpeed")->setEnabled(true);
    }
    text1(form, 0)->setFocus(Qt::TabFocusReason);
    QStringList walk{QApplication::focusWidget()->objectName()};
    for (int step = 0; step < 12; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QString name = QApplication::focusWidget()->objectName();
        if (name == walk.first())
            break;
        walk << name;
    }
    QCOMPARE(walk, visited);
}

void Form1LayoutTest::focusStartsInLeftOuterRadius()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), text1(form, 0));
}

void Form1LayoutTest::centredOnTheScreen()
{
    Form1 form;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const float expectedLeft = (float(screen.width() * 15) - form.Width()) / 2;
    const float expectedTop = (float(screen.height() * 15) - form.Height()) / 2;
    QCOMPARE(form.Left(), expectedLeft);
    QCOMPARE(form.Top(), expectedTop);
    QCOMPARE(form.frameGeometry().left(), qRound(expectedLeft / 15));
}

// In every style Qt offers here; CTest also runs this at the scales 1.5 and 2
// and with the fonts a system without Liberation Sans shows for Arial.
void Form1LayoutTest::captionsAreNotClipped_data()
{
    QTest::addColumn<QString>("style");
    for (const QString &style : QStyleFactory::keys())
        QTest::newRow(qPrintable(style)) << style;
}

void Form1LayoutTest::captionsAreNotClipped()
{
    QFETCH(QString, style);
    const ApplicationStyle applicationStyle(style);
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QString face = QFontInfo(form.font()).family();
    if (qEnvironmentVariableIsSet("EXPECTED_ARIAL_FACE"))
        QVERIFY2(face.startsWith(qEnvironmentVariable("EXPECTED_ARIAL_FACE")), qPrintable(face));
    QStringList cut;
    for (QLabel *label : form.findChildren<QLabel *>()) {
        if (QFontMetrics(label->font()).horizontalAdvance(label->text()) > label->width())
            cut << label->text();
    }
    for (QAbstractButton *button : form.findChildren<QAbstractButton *>()) {
        if (button->sizeHint().width() > button->width())
            cut << button->text();
    }
    QVERIFY2(cut.isEmpty(), qPrintable(face + " cuts: " + cut.join(" | ")));

    // The line above CALCULATE shows, as the window system shows the window.
    const QWidget *line = control(form, "Line1");
    const qreal scale = form.devicePixelRatio();
    const QImage shown = form.screen()->grabWindow(form.winId()).toImage();
    const QPoint lineAt = line->mapTo(&form, QPoint(line->width() / 2, 0));
    bool lineShown = false;
    for (int y = qFloor(lineAt.y() * scale); y < qCeil((lineAt.y() + 1) * scale); ++y)
        lineShown = lineShown || shown.pixelColor(qRound(lineAt.x() * scale), y) != form.palette().color(QPalette::Window);
    QVERIFY2(lineShown, qPrintable(QStringLiteral("no line at scale %1").arg(scale)));

    // No control lies on what a frame draws of itself: its border and title.
    // Where the style itself draws the title on the border (not Fusion), the
    // frame is the style's own.
    for (QGroupBox *frame : form.findChildren<QGroupBox *>()) {
        const qreal ratio = frame->devicePixelRatio();
        const QRgb background = frame->palette().color(QPalette::Window).rgb();
        const auto drawing = [&](QWidget *frame) {
            QImage drawn(frame->size() * ratio, QImage::Format_RGB32);
            drawn.setDevicePixelRatio(ratio);
            drawn.fill(background);
            frame->render(&drawn, {}, {}, QWidget::DrawWindowBackground);
            return drawn;
        };
        const QImage drawn = drawing(frame);
        if (style != QLatin1String("Fusion")) {
            QGroupBox stylesOwn(frame->title(), frame->parentWidget());
            stylesOwn.setGeometry(frame->geometry());
            stylesOwn.setEnabled(frame->isEnabled());
            QVERIFY2(drawing(&stylesOwn) == drawn, qPrintable(frame->objectName() + " is not drawn by the style"));
        }
        for (const QWidget *child : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            const QRect inside(QPoint(qCeil(child->x() * ratio), qCeil(child->y() * ratio)),
                               QPoint(qFloor((child->x() + child->width()) * ratio) - 1,
                                      qFloor((child->y() + child->height()) * ratio) - 1));
            for (int y = inside.top(); y <= inside.bottom(); ++y) {
                for (int x = inside.left(); x <= inside.right(); ++x)
                    QVERIFY2(drawn.pixel(x, y) == background,
                             qPrintable(child->objectName() + " touches the frame of " + frame->objectName()));
            }
        }
    }
}

void Form1LayoutTest::aboutMenuEntry()
{
    Form1 form;
    form.show();
    const QList<QAction *> entries = form.menuBar()->actions();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first()->text(), QStringLiteral("&About"));
    QVERIFY(!entries.first()->menu());
}

// Every control as a screen reader finds it in the window's tree: its role,
// the name it is announced by, the label it is labelled by, and its states.
void Form1LayoutTest::accessibleTree_data()
{
    using namespace accessible;
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("spoken");
    QTest::addColumn<QString>("labelledBy"); // the label's control name; empty: none
    QTest::addColumn<unsigned>("states");

    const auto row = [](const char *name, QAccessible::Role role, const char *spoken, const char *labelledBy,
                        unsigned states) {
        QTest::newRow(name) << name << int(role) << spoken << labelledBy << states;
    };
    row("Frame1", QAccessible::Grouping, "CURVE RADIUS (m)", "", 0);
    row("Label1(0)", QAccessible::StaticText, "Left Outer Radius", "", ReadOnly);
    row("Text1(0)", QAccessible::EditableText, "Left Outer Radius", "Label1(0)", Editable | Focusable);
    row("Label1(1)", QAccessible::StaticText, "Right Outer Radius", "", ReadOnly);
    row("Text1(1)", QAccessible::EditableText, "Right Outer Radius", "Label1(1)", Editable | Focusable);
    row("Label1(2)", QAccessible::StaticText, "Inner Radius", "", ReadOnly);
    row("Text1(2)", QAccessible::EditableText, "Inner Radius", "Label1(2)", Editable | Focusable);
    row("Label1(4)", QAccessible::StaticText, "OR", "", ReadOnly);
    row("Label1(5)", QAccessible::StaticText, "Single Radius", "", ReadOnly);
    row("Text1(4)", QAccessible::EditableText, "Single Radius", "Label1(5)", Editable | Focusable);
    row("Command1", QAccessible::Button, "CALCULATE", "", Focusable);
    row("Label1(3)", QAccessible::StaticText, "Maximum Speed (km/h)", "", ReadOnly);
    row("Text1(3)", QAccessible::EditableText, "Maximum Speed (km/h)", "Label1(3)", ReadOnly | Editable | Focusable);
    row("Frame2", QAccessible::Grouping, "UNIT OF MEASURE", "", 0);
    row("Option1(0)", QAccessible::RadioButton, "Both", "", Focusable);
    row("Option1(1)", QAccessible::RadioButton, "Imperial", "", Focusable);
    row("Option1(2)", QAccessible::RadioButton, "Metric", "", Checked | Focusable);
    row("fraDistance", QAccessible::Grouping, "DISTANCE", "", Disabled);
    row("Option2(0)", QAccessible::RadioButton, "Imperial", "", Disabled | Focusable);
    row("Option2(1)", QAccessible::RadioButton, "Metric", "", Disabled | Checked | Focusable);
    row("fraSpeed", QAccessible::Grouping, "SPEED", "", Disabled);
    row("Option3(0)", QAccessible::RadioButton, "Imperial", "", Disabled | Focusable);
    row("Option3(1)", QAccessible::RadioButton, "Metric", "", Disabled | Checked | Focusable);
    row("MenuAbout", QAccessible::MenuItem, "About", "", 0);
    row("Announcer", QAccessible::Notification, "", "", Invisible); // speaks results, silent until then
}

void Form1LayoutTest::accessibleTree()
{
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(QString, spoken);
    QFETCH(QString, labelledBy);
    QFETCH(unsigned, states);

    Form1 form;
    form.show();
    QAccessibleInterface *found = accessible::find(&form, name);
    QVERIFY(found);
    QCOMPARE(int(found->role()), role);
    QCOMPARE(found->text(QAccessible::Name), spoken);
    QCOMPARE(accessible::stateBits(found->state()), states);

    QList<QObject *> labels; // the enclosing frame labels every control as well
    for (const auto &[label, relation] : found->relations(QAccessible::Label)) {
        if (qobject_cast<QLabel *>(label->object()))
            labels << label->object();
    }
    if (labelledBy.isEmpty()) {
        QVERIFY(labels.isEmpty());
        return;
    }
    QObject *label = control(form, labelledBy);
    QCOMPARE(labels, QList<QObject *>{label});
    QList<QObject *> labelled; // and the other way round: the label is the box's
    for (const auto &[box, relation] : QAccessible::queryAccessibleInterface(label)->relations(QAccessible::Labelled))
        labelled << box->object();
    QCOMPARE(labelled, QList<QObject *>{found->object()});
}

// Leaves pictures of the window, on the default and on a dark palette, for
// people to look at; each must show the window.
void Form1LayoutTest::render()
{
    const QString directory = qEnvironmentVariable("TEST_ARTIFACTS_DIR", QDir::tempPath());
    QDir().mkpath(directory);
    for (const bool dark : {false, true}) {
        const ApplicationPalette palette(dark ? darkPalette() : QApplication::palette());
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QImage picture = form.grab().toImage();
        QVERIFY(showsTheWindow(picture, form));
        QVERIFY(picture.save(directory + (dark ? "/main-window-dark.png" : "/main-window.png")));
    }
}

QTEST_MAIN(Form1LayoutTest)
#include "test_form1_layout.moc"
