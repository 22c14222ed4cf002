// Units and position restored at start-up and saved at every close, through
// the real main window.
#include "main_window/Form1.h"
#include "core/settings_file.h"
#include "support/files.h"
#include "support/form1_controls.h"
#include "support/scratch_directory.h"

#include <QFile>
#include <QRandomGenerator>
#include <QScreen>

using namespace form1;

namespace {

QByteArray fileWith(const QByteArray &lines)
{
    return "[GENERAL SETTINGS]\r\n" + lines;
}

// Where a window of this size stands when centred on the primary screen.
QPointF centredTwips(const Form1 &form)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return {(screen.width() * 15 - form.Width()) / 2, (screen.height() * 15 - form.Height()) / 2};
}

} // namespace

class Form1SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        directory_ = std::make_unique<ScratchDirectory>();
        QVERIFY(directory_->isValid());
    }
    void cleanup() { directory_.reset(); }

    void startUp_data();
    void startUp();
    void withoutFileTheWindowIsCentred();
    void fileWithoutPositionDoesNotCentre();
    void closeWritesExactBytes_data();
    void closeWritesExactBytes();
    void closeAlwaysRewrites();
    void roundTrip();
    void damagedFilesNeverStopTheProgram_data();
    void damagedFilesNeverStopTheProgram();
    void directoryNamedLikeTheFile();
#ifdef Q_OS_LINUX
    void workingDirectoryWhereNothingCanBeCreated(); // /proc is Linux's
#endif
    void eachWorkingDirectoryHasItsOwnFile();
    void restoredWhereAScreenShowsIt_data();
    void restoredWhereAScreenShowsIt();
    void positionReadIsWrittenBackWhereThePlatformHidesIt_data();
    void positionReadIsWrittenBackWhereThePlatformHidesIt();

private:
    std::unique_ptr<ScratchDirectory> directory_;
};

void Form1SettingsTest::startUp_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("units");
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");

    const float none = -1; // the file sets no position
    QTest::newRow("example") << fileWith("Units=IM\r\nLeftPosition=1500\r\nTopPosition=900\r\n") << "IM" << 1500.f << 900.f;
    QTest::newRow("Units=I") << fileWith("Units=I\r\n") << "I" << none << none;
    QTest::newRow("Units=M") << fileWith("Units=M\r\n") << "M" << none << none;
    QTest::newRow("Units=MI") << fileWith("Units=MI\r\n") << "MI" << none << none;
    QTest::newRow("units=IM") << fileWith("units=IM\r\n") << "M" << none << none;
    QTest::newRow("Units =IM") << fileWith("Units =IM\r\n") << "M" << none << none;
    QTest::newRow("Units= IM") << fileWith("Units= IM\r\n") << "M" << none << none;
    QTest::newRow("Units=IM blank") << fileWith("Units=IM \r\n") << "M" << none << none;
    QTest::newRow("Units=im") << fileWith("Units=im\r\n") << "M" << none << none;
    QTest::newRow("Units=M=1") << fileWith("Units=M=1\r\n") << "M" << none << none;
    QTest::newRow("lines before the header") << QByteArray("Units=I\r\nLeftPosition=1500\r\n[GENERAL SETTINGS]\r\n") << "M" << none
                                             << none;
    QTest::newRow("header in another case") << QByteArray("[general settings]\r\nUnits=I\r\n") << "M" << none << none;
    QTest::newRow("LF-only file") << QByteArray("[GENERAL SETTINGS]\nUnits=I\nLeftPosition=1500\n") << "M" << none << none;
    QTest::newRow("LeftPosition= 1500") << fileWith("LeftPosition= 1500\r\nTopPosition=900") << "M" << 1500.f << 900.f;
    QTest::newRow("1500px") << fileWith("LeftPosition=1500px\r\nTopPosition=900px\r\n") << "M" << 1500.f << 900.f;
    QTest::newRow("abc") << fileWith("LeftPosition=abc\r\nTopPosition=\r\n") << "M" << 0.f << 0.f;
    QTest::newRow("duplicate keys") << fileWith("LeftPosition=10\r\nTopPosition=20\r\nLeftPosition=30\r\nTopPosition=45\r\n")
                                    << "M" << 30.f << 45.f;
    QTest::newRow("units in turn") << fileWith("Units=IM\r\nUnits=I\r\nUnits=MI\r\n") << "MI" << none << none;
    QTest::newRow("fraction and negative") << fileWith("LeftPosition=-120\r\nTopPosition=3562.5\r\n") << "M" << -120.f << 3562.5f;
    QTest::newRow("not finite: ignored") << fileWith("LeftPosition=1500\r\nTopPosition=900\r\nLeftPosition=1E999\r\n") << "M"
                                         << 1500.f << 900.f;
    QTest::newRow("beyond the window system: ignored")
        << fileWith("LeftPosition=1500\r\nTopPosition=900\r\nTopPosition=1E30\r\n") << "M" << 1500.f << 900.f;
}

void Form1SettingsTest::startUp()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, units);
    QFETCH(float, left);
    QFETCH(float, top);
    QVERIFY(files::write(content));
    Form1 form;
    QCOMPARE(form.unitCode(), units);
    if (left != -1) {
        QCOMPARE(form.Left(), left);
        QCOMPARE(form.Top(), top);
    }
    QCOMPARE(text1(form, 3)->text(), QString());
}

void Form1SettingsTest::withoutFileTheWindowIsCentred()
{
    Form1 form;
    QCOMPARE(QPointF(form.Left(), form.Top()), centredTwips(form));
    QVERIFY(!QFile::exists("KDM.cfg")); // nothing is written at start-up
}

void Form1SettingsTest::fileWithoutPositionDoesNotCentre()
{
    QVERIFY(files::write(fileWith("Units=I\r\n")));
    Form1 form;
    QVERIFY(QPointF(form.Left(), form.Top()) != centredTwips(form));
}

void Form1SettingsTest::closeWritesExactBytes_data()
{
    QTest::addColumn<QString>("units");
    QTest::addColumn<QByteArray>("position"); // as written
    QTest::newRow("M") << "M" << QByteArray("LeftPosition=1500\r\nTopPosition=900\r\n");
    QTest::newRow("I") << "I" << QByteArray("LeftPosition=0\r\nTopPosition=0\r\n");
    QTest::newRow("MI") << "MI" << QByteArray("LeftPosition=7147.5\r\nTopPosition=3562.5\r\n");
    QTest::newRow("IM") << "IM" << QByteArray("LeftPosition=-120\r\nTopPosition=7.5\r\n");
}

void Form1SettingsTest::closeWritesExactBytes()
{
    QFETCH(QString, units);
    QFETCH(QByteArray, position);
    QVERIFY(files::write(fileWith(position + "Unknown=kept?\r\n")));
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    chooseUnits(form, units);
    QVERIFY(form.close());
    QCOMPARE(files::read(), fileWith("Units=" + units.toLatin1() + "\r\n" + position));
}

void Form1SettingsTest::closeAlwaysRewrites()
{
    QVERIFY(files::write(fileWith("Units=MI\r\nLeftPosition=30\r\nTopPosition=45\r\n\r\n\r\n")));
    Form1 form;
    form.show();
    QVERIFY(form.close());
    QCOMPARE(files::read(), fileWith("Units=MI\r\nLeftPosition=30\r\nTopPosition=45\r\n"));
}

void Form1SettingsTest::roundTrip()
{
    float left = 0, top = 0;
    {
        Form1 first;
        first.show();
        QVERIFY(QTest::qWaitForWindowExposed(&first));
        QTest::mouseClick(option(first, 1, 0), Qt::LeftButton);
        QTest::mouseClick(option(first, 3, 1), Qt::LeftButton); // state "IM"
        left = first.Left();
        top = first.Top();
        QVERIFY(first.close());
    }
    const QByteArray saved = files::read();
    Form1 second;
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QCOMPARE(second.unitCode(), QStringLiteral("IM"));
    QCOMPARE(frame(second, "Frame1")->title(), QStringLiteral("CURVE RADIUS (ft)"));
    QCOMPARE(label1(second, 3)->text(), QStringLiteral("Maximum Speed (km/h)"));
    QCOMPARE(second.Left(), left);
    QCOMPARE(second.Top(), top);
    QVERIFY(second.close());
    QCOMPARE(files::read(), saved);
}

void Form1SettingsTest::damagedFilesNeverStopTheProgram_data()
{
    QTest::addColumn<QByteArray>("content");

    QByteArray noise(10 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(77);
    generator.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    QTest::newRow("10 MB of random bytes") << noise;
    QTest::newRow("100,000-character line") << fileWith("Units=" + QByteArray(100'000, 'I') + "\r\n");
    QTest::newRow("100,000 characters before =") << fileWith(QByteArray(100'000, 'x') + "=1\r\n");
    QTest::newRow("NUL bytes") << QByteArray("[GENERAL SETTINGS]\r\nUnits=I\0\r\nLeft\0Position=1\r\n\0\0\0", 48);
    QTest::newRow("empty file") << QByteArray();
}

void Form1SettingsTest::damagedFilesNeverStopTheProgram()
{
    QFETCH(QByteArray, content);
    QVERIFY(files::write(content));
    Form1 form;
    form.show();
    QCOMPARE(form.unitCode(), QStringLiteral("M"));
    text1(form, 4)->setText("1000");
    clickCalculate(form);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
    QVERIFY(form.close());
    QVERIFY(files::read().startsWith("[GENERAL SETTINGS]\r\nUnits=M\r\nLeftPosition="));
}

void Form1SettingsTest::directoryNamedLikeTheFile()
{
    QVERIFY(QDir().mkdir("KDM.cfg"));
    Form1 form;
    QCOMPARE(QPointF(form.Left(), form.Top()), centredTwips(form)); // not found: centred
    form.show();
    QVERIFY(form.close());
    QVERIFY(QFileInfo("KDM.cfg").isDir());
}

#ifdef Q_OS_LINUX
// No file can be made under /proc, not even by root.
void Form1SettingsTest::workingDirectoryWhereNothingCanBeCreated()
{
    QVERIFY(QDir::setCurrent("/proc/self"));
    Form1 form;
    form.show();
    QVERIFY(form.close());
    QVERIFY(!QFile::exists("/proc/self/KDM.cfg"));
}
#endif

void Form1SettingsTest::eachWorkingDirectoryHasItsOwnFile()
{
    const QString first = QDir::currentPath();
    QVERIFY(files::write(fileWith("Units=I\r\n")));
    ScratchDirectory second;
    QVERIFY(second.isValid());
    QVERIFY(files::write(fileWith("Units=MI\r\n")));
    {
        Form1 form;
        QCOMPARE(form.unitCode(), QStringLiteral("MI"));
        form.show();
        form.close();
    }
    QVERIFY(files::read().startsWith(fileWith("Units=MI\r\nLeftPosition=")));
    QVERIFY(QDir::setCurrent(first));
    QCOMPARE(files::read(), fileWith("Units=I\r\n"));
    Form1 form;
    QCOMPARE(form.unitCode(), QStringLiteral("I"));
}

// Run with the offscreen platform's screens from two_screens.json (1920 x 1080
// pixels each, side by side) and from one_screen.json (the left one alone).
void Form1SettingsTest::restoredWhereAScreenShowsIt_data()
{
    QTest::addColumn<QByteArray>("position");
    QTest::addColumn<bool>("keptOnTwoScreens");
    QTest::addColumn<bool>("keptOnOneScreen");

    QTest::newRow("left screen") << QByteArray("LeftPosition=1500\r\nTopPosition=900\r\n") << true << true;
    QTest::newRow("right screen") << QByteArray("LeftPosition=41985\r\nTopPosition=1500\r\n") << true << false;
    QTest::newRow("title over the screens' top") << QByteArray("LeftPosition=1500\r\nTopPosition=-120\r\n") << false
                                                 << false;
    QTest::newRow("below every screen") << QByteArray("LeftPosition=1500\r\nTopPosition=99999\r\n") << false << false;
}

void Form1SettingsTest::restoredWhereAScreenShowsIt()
{
    QFETCH(QByteArray, position);
    QFETCH(bool, keptOnTwoScreens);
    QFETCH(bool, keptOnOneScreen);
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.first()->geometry() != QRect(0, 0, 1920, 1080) || screens.size() > 2)
        QSKIP("needs the screens of one_screen.json or two_screens.json");
    const bool kept = screens.size() == 2 ? keptOnTwoScreens : keptOnOneScreen;

    QVERIFY(files::write(fileWith("Units=I\r\n" + position)));
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QRect frame = form.frameGeometry();
    QVERIFY2(screens.first()->geometry().contains(frame) || (kept && screens.last()->geometry().contains(frame)),
             qPrintable(QStringLiteral("frame at %1, %2").arg(frame.x()).arg(frame.y())));
    QVERIFY(form.close());
    const QByteArray saved = files::read();
    QCOMPARE(saved == fileWith("Units=I\r\n" + position), kept);
    QVERIFY(saved.startsWith(fileWith("Units=I\r\nLeftPosition=")));

    // Once placed back, the next start keeps it there.
    Form1 again;
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QCOMPARE(again.frameGeometry(), frame);
    QVERIFY(again.close());
    QCOMPARE(files::read(), saved);
}

// Run under weston: a Wayland client can neither place its window nor learn
// where it stands, so the position the X11 sessions use is kept.
void Form1SettingsTest::positionReadIsWrittenBackWhereThePlatformHidesIt_data()
{
    QTest::addColumn<QByteArray>("position");
    QTest::newRow("on a screen") << QByteArray("LeftPosition=1500\r\nTopPosition=900\r\n");
    QTest::newRow("on a screen that is not there") << QByteArray("LeftPosition=41985\r\nTopPosition=1500\r\n");
    QTest::newRow("fractions") << QByteArray("LeftPosition=7147.5\r\nTopPosition=-7.5\r\n");
}

void Form1SettingsTest::positionReadIsWrittenBackWhereThePlatformHidesIt()
{
    QFETCH(QByteArray, position);
    if (!QGuiApplication::platformName().startsWith("wayland"))
        QSKIP("needs a Wayland session");
    QVERIFY(files::write(fileWith("Units=MI\r\n" + position)));
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.close());
    QCOMPARE(files::read(), fileWith("Units=MI\r\n" + position));
}

QTEST_MAIN(Form1SettingsTest)
#include "test_form1_settings.moc"
