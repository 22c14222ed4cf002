// CALCULATE driven through the real window: boxes filled, the button clicked,
// the result box read.
#include "main_window/Form1.h"
#include "support/form1_controls.h"
#include "support/scratch_directory.h"

#include <QApplication>

using namespace form1;

namespace {

enum class Distance { Metres, Feet };
enum class Speed { MilesPerHour, KmPerHour };

QString unitCodeFor(Distance distance, Speed speed)
{
    const QString distanceSystem = distance == Distance::Feet ? "I" : "M";
    const QString speedSystem = speed == Speed::MilesPerHour ? "I" : "M";
    return distanceSystem == speedSystem ? distanceSystem : distanceSystem + speedSystem;
}

} // namespace

class CalculationTest : public QObject
{
    Q_OBJECT

private slots:
    void workedValues_data();
    void workedValues();
    void threeRadiiEmptyTheBoxesAndTakeTheFocus();
    void singleRadiusEmptiesTheThreeRadiusBoxesAndLeavesTheFocus();
    void modeIsChosenByLeftOuterRadiusAlone();
    void outsideTheFormulasDomain_data();
    void outsideTheFormulasDomain();

private:
    void fill(Form1 &form, const QStringList &boxes);
};

// boxes: texts for Text1(0), Text1(1), Text1(2), Text1(4) in that order.
void CalculationTest::fill(Form1 &form, const QStringList &boxes)
{
    const int indices[] = {0, 1, 2, 4};
    for (int i = 0; i < 4; ++i)
        text1(form, indices[i])->setText(boxes.value(i));
}

void CalculationTest::workedValues_data()
{
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("feet");
    QTest::addColumn<QString>("milesPerHour");
    QTest::addColumn<QString>("kmPerHour");

    QTest::newRow("single 100 m") << QStringList{"", "", "", "100"} << false << "16" << "25";
    QTest::newRow("single 500 m") << QStringList{"", "", "", "500"} << false << "35" << "57";
    QTest::newRow("single 1000 m") << QStringList{"", "", "", "1000"} << false << "50" << "80";
    QTest::newRow("single 2000 m") << QStringList{"", "", "", "2000"} << false << "71" << "114";
    QTest::newRow("single 1000 ft") << QStringList{"", "", "", "1000"} << true << "28" << "44";
    QTest::newRow("single 5000 ft") << QStringList{"", "", "", "5000"} << true << "62" << "99";
    QTest::newRow("three 630/630/1300 m") << QStringList{"630", "630", "1300", ""} << false << "50" << "80";
    QTest::newRow("three 600/660/1200 m") << QStringList{"600", "660", "1200", ""} << false << "49" << "79";
    QTest::newRow("left outer 630 m only") << QStringList{"630", "", "", ""} << false << "25" << "40";
    QTest::newRow("three 2000/2100/4200 ft") << QStringList{"2000", "2100", "4200", ""} << true << "50" << "80";
    // Halves round away from zero: v = 2.5 and v = 12.5 exactly
    QTest::newRow("v exactly 2.5") << QStringList{"", "", "", "2.5"} << false << "3" << "4";
    QTest::newRow("v exactly 12.5") << QStringList{"", "", "", "62.5"} << false << "13" << "20";
    QTest::newRow("comma reads as 1") << QStringList{"", "", "", "1,5"} << false << "2" << "3";
    QTest::newRow("left outer only blanks") << QStringList{"   ", "600", "1200", ""} << false << "42" << "67";
    QTest::newRow("left outer empty: single with S = 0") << QStringList{"", "600", "1200", ""} << false << "0" << "0";
    QTest::newRow("letters read as 0") << QStringList{"", "", "", "abc"} << false << "0" << "0";
    QTest::newRow("minus zero shows 0") << QStringList{"", "", "", "-0"} << false << "0" << "0";
}

void CalculationTest::workedValues()
{
    QFETCH(QStringList, boxes);
    QFETCH(bool, feet);
    QFETCH(QString, milesPerHour);
    QFETCH(QString, kmPerHour);

    const Distance distance = feet ? Distance::Feet : Distance::Metres;
    for (const auto &[speed, expected] : {std::pair{Speed::MilesPerHour, milesPerHour}, std::pair{Speed::KmPerHour, kmPerHour}}) {
        ScratchDirectory directory;
        QVERIFY(directory.isValid());
        Form1 form;
        form.show();
        chooseUnits(form, unitCodeFor(distance, speed));
        QCOMPARE(option(form, 2, 0)->isChecked(), distance == Distance::Feet);
        QCOMPARE(option(form, 3, 0)->isChecked(), speed == Speed::MilesPerHour);
        fill(form, boxes);
        clickCalculate(form);
        QCOMPARE(text1(form, 3)->text(), expected);
    }
}

void CalculationTest::threeRadiiEmptyTheBoxesAndTakeTheFocus()
{
    ScratchDirectory directory;
    QVERIFY(directory.isValid());
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    text1(form, 2)->setFocus(); // focus elsewhere, to see the calculation move it
    fill(form, {"630", "630", "1300", ""});
    clickCalculate(form);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
    for (int index : {0, 1, 2, 4})
        QVERIFY2(text1(form, index)->text().isEmpty(), qPrintable(QString::number(index)));
    QCOMPARE(QApplication::focusWidget(), text1(form, 0));
}

void CalculationTest::singleRadiusEmptiesTheThreeRadiusBoxesAndLeavesTheFocus()
{
    ScratchDirectory directory;
    QVERIFY(directory.isValid());
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    fill(form, {"", "600", "1200", "1000"});
    clickCalculate(form);
    // Text1(1) and Text1(2) are not read: S = 1000.
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
    QCOMPARE(text1(form, 1)->text(), QString());
    QCOMPARE(text1(form, 2)->text(), QString());
    // The focus stays where the click put it.
    QCOMPARE(QApplication::focusWidget(), control<QPushButton>(form, "Command1"));
}

void CalculationTest::modeIsChosenByLeftOuterRadiusAlone()
{
    ScratchDirectory directory;
    QVERIFY(directory.isValid());
    Form1 form;
    form.show();
    // A Left Outer Radius that reads as 0 still means three radii.
    fill(form, {"x", "630", "1300", ""});
    clickCalculate(form);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("70"));
}

void CalculationTest::outsideTheFormulasDomain_data()
{
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("negative single radius") << QStringList{"", "", "", "-1000"};
    QTest::newRow("negative effective radius") << QStringList{"630", "630", "-5000", ""};
    QTest::newRow("single radius beyond double") << QStringList{"", "", "", "1E999"};
    QTest::newRow("product overflows") << QStringList{"", "", "", "1E308"};
    QTest::newRow("sum overflows") << QStringList{"1.7E308", "1.7E308", "", ""};
    QTest::newRow("infinity minus infinity") << QStringList{"1E999", "-1E999", "", ""};
}

void CalculationTest::outsideTheFormulasDomain()
{
    QFETCH(QStringList, boxes);
    ScratchDirectory directory;
    QVERIFY(directory.isValid());
    Form1 form;
    form.show();
    fill(form, {"", "", "", "1000"});
    clickCalculate(form);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));

    // No earlier speed may stand beside the new input as if it answered it.
    fill(form, boxes);
    clickCalculate(form);
    QCOMPARE(text1(form, 3)->text(), QString());
    QVERIFY(form.isVisible());
    QCOMPARE(text1(form, 0)->text(), QString());
}

QTEST_MAIN(CalculationTest)
#include "test_calculation.moc"
