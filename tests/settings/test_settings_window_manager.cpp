// The saved position is the outer frame's corner: checked under a real window
// manager, where the frame is known only once the window is shown.
#include "main_window/Form1.h"
#include "support/files.h"
#include "support/form1_controls.h"
#include "support/scratch_directory.h"

#include <QFile>
#include <QScreen>

namespace {

// Shows the window and waits until the window manager has framed it.
bool showFramed(Form1 &form)
{
    form.show();
    return QTest::qWaitForWindowExposed(&form) && QTest::qWaitFor([&form] { return form.frameGeometry() != form.geometry(); });
}

} // namespace

class SettingsWindowManagerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init()
    {
        directory_ = std::make_unique<ScratchDirectory>();
        QVERIFY(directory_->isValid());
    }
    void cleanup() { directory_.reset(); }

    void restoredPositionIsTheFrameCorner_data();
    void restoredPositionIsTheFrameCorner();
    void centredThenRestoredInPlace();
    void movedWindowSavesWhereItStands();

private:
    std::unique_ptr<ScratchDirectory> directory_;
};

void SettingsWindowManagerTest::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    Form1 probe;
    QVERIFY2(showFramed(probe), "no window manager frames the window");
}

void SettingsWindowManagerTest::restoredPositionIsTheFrameCorner_data()
{
    QTest::addColumn<QByteArray>("left");
    QTest::addColumn<QByteArray>("top");
    QTest::addColumn<QPoint>("frameCorner");

    QTest::newRow("whole pixels") << QByteArray("1500") << QByteArray("900") << QPoint(100, 60);
    QTest::newRow("fractions") << QByteArray("7147.5") << QByteArray("3562.5") << QPoint(477, 238);
    QTest::newRow("partly left of the screen") << QByteArray("-120") << QByteArray("7.5") << QPoint(-8, 1);
    QTest::newRow("not on a pixel") << QByteArray("1507") << QByteArray("1.234E+03") << QPoint(100, 82);
}

void SettingsWindowManagerTest::restoredPositionIsTheFrameCorner()
{
    QFETCH(QByteArray, left);
    QFETCH(QByteArray, top);
    QFETCH(QPoint, frameCorner);
    const QByteArray content = "[GENERAL SETTINGS]\r\nUnits=IM\r\nLeftPosition=" + left + "\r\nTopPosition=" + top + "\r\n";
    QVERIFY(files::write(content));

    Form1 form;
    QVERIFY(showFramed(form));
    QCOMPARE(form.frameGeometry().topLeft(), frameCorner);
    QVERIFY(form.close());
    // Written back as given, in general notation.
    const QByteArray expected = "[GENERAL SETTINGS]\r\nUnits=IM\r\nLeftPosition=" + left + "\r\nTopPosition=" + (top == "1.234E+03" ? QByteArray("1234") : top) + "\r\n";
    QCOMPARE(files::read(), expected);
}

void SettingsWindowManagerTest::centredThenRestoredInPlace()
{
    QPoint firstCorner;
    {
        Form1 first;
        QVERIFY(showFramed(first));
        // Centred on the outer size, frame included.
        const QSize screen = QGuiApplication::primaryScreen()->size() * 15;
        const QSize outer = first.frameGeometry().size();
        QVERIFY(outer.height() > first.height());
        QCOMPARE(first.Left(), (screen.width() - outer.width() * 15.f) / 2);
        QCOMPARE(first.Top(), (screen.height() - outer.height() * 15.f) / 2);
        firstCorner = first.frameGeometry().topLeft();
        QCOMPARE(firstCorner, QPoint(qRound(first.Left() / 15), qRound(first.Top() / 15)));
        QVERIFY(first.close());
    }
    Form1 second;
    QVERIFY(showFramed(second));
    QCOMPARE(second.frameGeometry().topLeft(), firstCorner);
}

void SettingsWindowManagerTest::movedWindowSavesWhereItStands()
{
    QVERIFY(files::write("[GENERAL SETTINGS]\r\nUnits=I\r\nLeftPosition=7147.5\r\nTopPosition=900\r\n"));
    Form1 form;
    QVERIFY(showFramed(form));
    form.move(200, 150); // as the user dragging the window would
    QVERIFY(QTest::qWaitFor([&form] { return form.frameGeometry().topLeft() == QPoint(200, 150); }));
    QCOMPARE(form.Left(), 3000.f);
    QCOMPARE(form.Top(), 2250.f);
    QVERIFY(form.close());
    QCOMPARE(files::read(), QByteArray("[GENERAL SETTINGS]\r\nUnits=I\r\nLeftPosition=3000\r\nTopPosition=2250\r\n"));
}

QTEST_MAIN(SettingsWindowManagerTest)
#include "test_settings_window_manager.moc"
