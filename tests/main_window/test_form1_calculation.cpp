// CALCULATE driven through the real window: which boxes it empties and where
// it leaves the focus. The speeds themselves are the core's calculation.
#include "main_window/Form1.h"
#include "support/accessible_tree.h"
#include "support/form1_controls.h"
#include "support/scratch_directory.h"

#include <QApplication>

using namespace form1;

class Form1CalculationTest : public QObject
{
    Q_OBJECT

private slots:
    void threeRadiiEmptyTheBoxesAndTakeTheFocus();
    void singleRadiusEmptiesTheThreeRadiusBoxesAndLeavesTheFocus();
    void modeIsChosenByLeftOuterRadiusAlone();
    void eachResultIsSpoken();

private:
    void fill(Form1 &form, const QStringList &boxes);
};

// boxes: texts for Text1(0), Text1(1), Text1(2), Text1(4) in that order.
void Form1CalculationTest::fill(Form1 &form, const QStringList &boxes)
{
    const int indices[] = {0, 1, 2, 4};
    for (int i = 0; i < 4; ++i)
        text1(form, indices[i])->setText(boxes.value(i));
}

void Form1CalculationTest::threeRadiiEmptyTheBoxesAndTakeTheFocus()
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

void Form1CalculationTest::singleRadiusEmptiesTheThreeRadiusBoxesAndLeavesTheFocus()
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

void Form1CalculationTest::modeIsChosenByLeftOuterRadiusAlone()
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

// The result appears away from the focus, so it is announced; the same
// result asked for again is announced again.
void Form1CalculationTest::eachResultIsSpoken()
{
    ScratchDirectory directory;
    Form1 form;
    form.show();
    accessible::Announcements announcements;
    fill(form, {"", "", "", "1000"});
    clickCalculate(form);
    QTRY_COMPARE(announcements.spoken, QStringList{"Maximum Speed (km/h): 80"});
    fill(form, {"", "", "", "1000"});
    clickCalculate(form);
    QTRY_COMPARE(announcements.spoken, QStringList({"Maximum Speed (km/h): 80", "Maximum Speed (km/h): 80"}));
}

QTEST_MAIN(Form1CalculationTest)
#include "test_form1_calculation.moc"
