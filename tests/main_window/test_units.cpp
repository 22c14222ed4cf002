// The unit buttons as a user works them: mode, distance and speed, the
// captions, and the shown speed converted in place.
#include "main_window/Form1.h"
#include "support/accessible_tree.h"
#include "support/form1_controls.h"
#include "support/scratch_directory.h"

#include <QApplication>

using namespace form1;

namespace {

// Whether the clicks reached the state; the test checks it before going on.
[[nodiscard]] bool reach(Form1 &form, const QString &code)
{
    chooseUnits(form, code);
    return form.unitCode() == code;
}

} // namespace

class UnitsTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        directory_ = std::make_unique<ScratchDirectory>();
        QVERIFY(directory_->isValid());
    }
    void cleanup() { directory_.reset(); }

    void netEffectOfEachChoice_data();
    void netEffectOfEachChoice();
    void displaysOfEachState_data();
    void displaysOfEachState();
    void emptyResultStaysEmpty();
    void subFramesLockedInSingleSystemStates_data();
    void subFramesLockedInSingleSystemStates();
    void reselectingChangesNothing();
    void distanceChangeLeavesBoxesAndResult();
    void calculationUsesTheNewUnits_data();
    void calculationUsesTheNewUnits();
    void keyboardOnly();

private:
    std::unique_ptr<ScratchDirectory> directory_;
};

void UnitsTest::netEffectOfEachChoice_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("array"); // the button the user clicks
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("shownBefore");
    QTest::addColumn<QString>("shownAfter");

    QTest::newRow("M, Imperial: divided") << "M" << 1 << 1 << "I" << "100" << "62";
    QTest::newRow("M, Both: divided") << "M" << 1 << 0 << "MI" << "100" << "62";
    QTest::newRow("I, Metric: multiplied") << "I" << 1 << 2 << "M" << "50" << "80";
    QTest::newRow("I, Both: unchanged") << "I" << 1 << 0 << "MI" << "50" << "50";
    QTest::newRow("MI, distance Imperial: multiplied") << "MI" << 2 << 0 << "IM" << "50" << "80";
    QTest::newRow("MI, speed Metric: multiplied") << "MI" << 3 << 1 << "IM" << "50" << "80";
    QTest::newRow("MI, Metric: multiplied") << "MI" << 1 << 2 << "M" << "50" << "80";
    QTest::newRow("MI, Imperial: there and back") << "MI" << 1 << 1 << "I" << "50" << "50";
    QTest::newRow("IM, distance Metric: divided") << "IM" << 2 << 1 << "MI" << "80" << "50";
    QTest::newRow("IM, speed Imperial: divided") << "IM" << 3 << 0 << "MI" << "80" << "50";
    QTest::newRow("IM, Imperial: divided") << "IM" << 1 << 1 << "I" << "80" << "50";
    QTest::newRow("IM, Metric: there and back, one lower") << "IM" << 1 << 2 << "M" << "81" << "80";
}

void UnitsTest::netEffectOfEachChoice()
{
    QFETCH(QString, from);
    QFETCH(int, array);
    QFETCH(int, index);
    QFETCH(QString, to);
    QFETCH(QString, shownBefore);
    QFETCH(QString, shownAfter);

    Form1 form;
    form.show();
    QVERIFY(reach(form, from));
    text1(form, 3)->setText(shownBefore);
    const QString captionBefore = label1(form, 3)->text();
    accessible::Announcements announcements;
    QTest::mouseClick(option(form, array, index), Qt::LeftButton);
    QCOMPARE(form.unitCode(), to);
    QCOMPARE(text1(form, 3)->text(), shownAfter);

    // A new speed unit is spoken with the result; of the conversions on the
    // way only the one left on show.
    const QStringList spoken{label1(form, 3)->text() + ": " + shownAfter};
    if (label1(form, 3)->text() != captionBefore)
        QTRY_COMPARE(announcements.spoken, spoken);
    QTest::qWait(20);
    QVERIFY2(announcements.spoken.isEmpty() || announcements.spoken == spoken, qPrintable(announcements.spoken.join('|')));
}

void UnitsTest::displaysOfEachState_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("feet");
    QTest::addColumn<bool>("milesPerHour");
    QTest::addColumn<QString>("radiusCaption");
    QTest::addColumn<QString>("speedCaption");

    QTest::newRow("M") << "M" << 2 << false << false << "CURVE RADIUS (m)" << "Maximum Speed (km/h)";
    QTest::newRow("I") << "I" << 1 << true << true << "CURVE RADIUS (ft)" << "Maximum Speed (mi/h)";
    QTest::newRow("MI") << "MI" << 0 << false << true << "CURVE RADIUS (m)" << "Maximum Speed (mi/h)";
    QTest::newRow("IM") << "IM" << 0 << true << false << "CURVE RADIUS (ft)" << "Maximum Speed (km/h)";
}

void UnitsTest::displaysOfEachState()
{
    QFETCH(QString, code);
    QFETCH(int, mode);
    QFETCH(bool, feet);
    QFETCH(bool, milesPerHour);
    QFETCH(QString, radiusCaption);
    QFETCH(QString, speedCaption);

    Form1 form;
    form.show();
    QVERIFY(reach(form, code));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(option(form, 1, i)->isChecked(), i == mode);
    QCOMPARE(option(form, 2, 0)->isChecked(), feet);
    QCOMPARE(option(form, 2, 1)->isChecked(), !feet);
    QCOMPARE(option(form, 3, 0)->isChecked(), milesPerHour);
    QCOMPARE(option(form, 3, 1)->isChecked(), !milesPerHour);
    QCOMPARE(frame(form, "Frame1")->title(), radiusCaption);
    QCOMPARE(label1(form, 3)->text(), speedCaption);
    // The result box is announced by its label's new text, and no two boxes
    // are announced alike.
    QCOMPARE(accessible::name(text1(form, 3)), speedCaption);
    QSet<QString> boxNames;
    for (int i = 0; i < 5; ++i)
        boxNames << accessible::name(text1(form, i));
    QCOMPARE(boxNames.size(), 5);
    QCOMPARE(frame(form, "fraDistance")->isEnabled(), mode == 0);
    QCOMPARE(frame(form, "fraSpeed")->isEnabled(), mode == 0);
}

void UnitsTest::emptyResultStaysEmpty()
{
    Form1 form;
    form.show();
    QTest::mouseClick(option(form, 1, 1), Qt::LeftButton);
    QCOMPARE(label1(form, 3)->text(), QStringLiteral("Maximum Speed (mi/h)"));
    QCOMPARE(text1(form, 3)->text(), QString());
    QTest::mouseClick(option(form, 1, 2), Qt::LeftButton);
    QCOMPARE(text1(form, 3)->text(), QString());
}

void UnitsTest::subFramesLockedInSingleSystemStates_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("M") << "M";
    QTest::newRow("I") << "I";
}

void UnitsTest::subFramesLockedInSingleSystemStates()
{
    QFETCH(QString, code);
    Form1 form;
    form.show();
    QVERIFY(reach(form, code));
    text1(form, 3)->setText("50");
    for (int array : {2, 3})
        for (int index : {0, 1})
            QTest::mouseClick(option(form, array, index), Qt::LeftButton);
    QCOMPARE(form.unitCode(), code);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("50"));
}

void UnitsTest::reselectingChangesNothing()
{
    Form1 form;
    form.show();
    QVERIFY(reach(form, "MI"));
    text1(form, 3)->setText("50");
    QTest::mouseClick(option(form, 2, 1), Qt::LeftButton); // distance Metric, already selected
    QTest::mouseClick(option(form, 1, 0), Qt::LeftButton); // Both, already selected
    QCOMPARE(form.unitCode(), QStringLiteral("MI"));
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("50"));
    QCOMPARE(frame(form, "Frame1")->title(), QStringLiteral("CURVE RADIUS (m)"));
}

void UnitsTest::distanceChangeLeavesBoxesAndResult()
{
    Form1 form;
    form.show();
    QVERIFY(reach(form, "MI"));
    text1(form, 4)->setText("1000");
    text1(form, 3)->setText("50");
    QTest::mouseClick(option(form, 2, 0), Qt::LeftButton);
    QCOMPARE(frame(form, "Frame1")->title(), QStringLiteral("CURVE RADIUS (ft)"));
    QCOMPARE(text1(form, 4)->text(), QStringLiteral("1000"));
    // The speed follows to metric and is converted, not recalculated from the radius.
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
}

void UnitsTest::calculationUsesTheNewUnits_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("shown");
    QTest::newRow("M") << "M" << "80";
    QTest::newRow("I") << "I" << "28";
    QTest::newRow("MI") << "MI" << "50";
    QTest::newRow("IM") << "IM" << "44";
}

void UnitsTest::calculationUsesTheNewUnits()
{
    QFETCH(QString, code);
    QFETCH(QString, shown);
    Form1 form;
    form.show();
    QVERIFY(reach(form, code));
    text1(form, 4)->setText("1000");
    clickCalculate(form);
    QCOMPARE(text1(form, 3)->text(), shown);
}

// Radius typed, Enter, then Tab into the unit mode and the arrow keys.
void UnitsTest::keyboardOnly()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const auto type = [](auto key) { QTest::keyClick(QApplication::focusWidget(), key); };
    for (int i = 0; i < 3; ++i)
        type(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), text1(form, 4));
    QTest::keyClicks(QApplication::focusWidget(), "1000");
    type(Qt::Key_Return);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
    type(Qt::Key_Tab);
    type(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), option(form, 1, 2));
    type(Qt::Key_Up); // to "Imperial"
    QCOMPARE(form.unitCode(), QStringLiteral("I"));
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("50"));
    type(Qt::Key_Up); // to "Both"
    QCOMPARE(form.unitCode(), QStringLiteral("MI"));
    type(Qt::Key_Tab); // into DISTANCE, at its selected button
    QCOMPARE(QApplication::focusWidget(), option(form, 2, 1));
    type(Qt::Key_Up); // distance Imperial: state "IM"
    QCOMPARE(form.unitCode(), QStringLiteral("IM"));
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
}

QTEST_MAIN(UnitsTest)
#include "test_units.moc"
