// The calculation from the radius boxes' texts to the result box's text.
#include "core/curve_speed.h"

#include <QTest>

class CalculationTest : public QObject
{
    Q_OBJECT

private slots:
    void workedValues_data();
    void workedValues();
    void outsideTheFormulasDomain_data();
    void outsideTheFormulasDomain();
};

namespace {

// boxes: texts for Text1(0), Text1(1), Text1(2), Text1(4) in that order.
QString shown(const QStringList &boxes, bool feet, bool milesPerHour)
{
    return calculatedSpeedText({boxes.value(0), boxes.value(1), boxes.value(2), boxes.value(3)}, {feet, milesPerHour});
}

} // namespace

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
    // Large radii whose km/h lie just off a half: a KmPerMile wrong in its
    // fourth decimal, too small or too large, rounds them to another number.
    QTest::newRow("single 229 m") << QStringList{"", "", "", "229"} << false << "24" << "39";
    QTest::newRow("single 1129 m") << QStringList{"", "", "", "1129"} << false << "53" << "85";
    QTest::newRow("single 1049 ft") << QStringList{"", "", "", "1049"} << true << "28" << "46";
    QTest::newRow("single 1505 ft") << QStringList{"", "", "", "1505"} << true << "34" << "54";
    QTest::newRow("three 2000/2100/4200 ft") << QStringList{"2000", "2100", "4200", ""} << true << "50" << "80";
    // Halves round away from zero: v = 2.5 and v = 12.5 exactly
    QTest::newRow("v exactly 2.5") << QStringList{"", "", "", "2.5"} << false << "3" << "4";
    QTest::newRow("v exactly 12.5") << QStringList{"", "", "", "62.5"} << false << "13" << "20";
    QTest::newRow("comma reads as 1") << QStringList{"", "", "", "1,5"} << false << "2" << "3";
    QTest::newRow("left outer only blanks") << QStringList{"   ", "600", "1200", ""} << false << "42" << "67";
    QTest::newRow("left outer empty: single with S = 0") << QStringList{"", "600", "1200", ""} << false << "0" << "0";
    QTest::newRow("single radius ignored with three radii") << QStringList{"630", "630", "1300", "5000"} << false << "50" << "80";
    QTest::newRow("left outer reading as 0 still three") << QStringList{"x", "630", "1300", ""} << false << "43" << "70";
    QTest::newRow("letters read as 0") << QStringList{"", "", "", "abc"} << false << "0" << "0";
    QTest::newRow("minus zero shows 0") << QStringList{"", "", "", "-0"} << false << "0" << "0";
}

void CalculationTest::workedValues()
{
    QFETCH(QStringList, boxes);
    QFETCH(bool, feet);
    QFETCH(QString, milesPerHour);
    QFETCH(QString, kmPerHour);

    QCOMPARE(shown(boxes, feet, true), milesPerHour);
    QCOMPARE(shown(boxes, feet, false), kmPerHour);
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

// No speed: the result box is emptied, so that no earlier speed stands
// beside the new input as if it answered it.
void CalculationTest::outsideTheFormulasDomain()
{
    QFETCH(QStringList, boxes);
    for (const bool feet : {false, true}) {
        QCOMPARE(shown(boxes, feet, true), QString());
        QCOMPARE(shown(boxes, feet, false), QString());
    }
}

QTEST_APPLESS_MAIN(CalculationTest)
#include "test_calculation.moc"
