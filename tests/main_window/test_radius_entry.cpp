// The radius boxes under real key events and clicks.
#include "main_window/Form1.h"
#include "support/form1_controls.h"
#include "support/scratch_directory.h"

#include <QApplication>

using namespace form1;

class RadiusEntryTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typingEmptiesTheOtherGroup();
    void resultChangesEmptyNothing();
    void anyCharacterCanBeTyped();
    void focusSelectsTheWholeText_data();
    void focusSelectsTheWholeText();
    void enterWalksThreeRadiiAndCalculates();
    void enterInSingleRadiusCalculatesAndEmptiesIt();
    void keypadEnterActsLikeReturn();
    void enterInInnerRadiusWithoutLeftOuter();
    void enterInResultBoxDoesNothing();
    void emptyingAnEmptyBoxRunsNothing();

private:
    QWidget *focused() const { return QApplication::focusWidget(); }
    void type(const QString &text) { QTest::keyClicks(focused(), text); }
    void press(Qt::Key key) { QTest::keyClick(focused(), key); }

    std::unique_ptr<ScratchDirectory> directory_;
    std::unique_ptr<Form1> form_;
};

void RadiusEntryTest::init()
{
    directory_ = std::make_unique<ScratchDirectory>();
    QVERIFY(directory_->isValid());
    form_ = std::make_unique<Form1>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void RadiusEntryTest::cleanup()
{
    form_.reset();
    directory_.reset();
}

void RadiusEntryTest::typingEmptiesTheOtherGroup()
{
    Form1 &form = *form_;
    text1(form, 4)->setFocus();
    type("300");
    text1(form, 1)->setFocus();
    type("5");
    QCOMPARE(text1(form, 4)->text(), QString());
    QCOMPARE(text1(form, 1)->text(), QStringLiteral("5"));

    text1(form, 0)->setFocus();
    type("630");
    text1(form, 2)->setFocus();
    type("1300");
    text1(form, 4)->setFocus();
    type("7");
    for (int index : {0, 1, 2})
        QCOMPARE(text1(form, index)->text(), QString());
    QCOMPARE(text1(form, 4)->text(), QStringLiteral("7"));
}

void RadiusEntryTest::resultChangesEmptyNothing()
{
    Form1 &form = *form_;
    text1(form, 0)->setFocus();
    type("630");
    text1(form, 3)->setText("80");
    QTest::mouseClick(option(form, 1, 1), Qt::LeftButton); // converts the result
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("50"));
    QCOMPARE(text1(form, 0)->text(), QStringLiteral("630"));
}

void RadiusEntryTest::anyCharacterCanBeTyped()
{
    Form1 &form = *form_;
    text1(form, 4)->setFocus();
    type("1,5 m/s");
    QCOMPARE(text1(form, 4)->text(), QStringLiteral("1,5 m/s"));
    press(Qt::Key_Return);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("3")); // 1 m, km/h
}

void RadiusEntryTest::focusSelectsTheWholeText_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Tab") << "tab";
    QTest::newRow("program") << "program";
    QTest::newRow("mouse click") << "mouse";
}

void RadiusEntryTest::focusSelectsTheWholeText()
{
    QFETCH(QString, how);
    Form1 &form = *form_;
    text1(form, 1)->setText("1000");
    if (how == "tab") {
        press(Qt::Key_Tab);
    } else if (how == "program") {
        press(Qt::Key_Return); // Enter in Left Outer Radius moves the focus on
    } else {
        QTest::mouseClick(text1(form, 1), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::qWait(1); // the selection is made again once the click is done
    }
    QCOMPARE(focused(), text1(form, 1));
    QCOMPARE(text1(form, 1)->selectedText(), QStringLiteral("1000"));
    type("2");
    QCOMPARE(text1(form, 1)->text(), QStringLiteral("2"));
}

void RadiusEntryTest::enterWalksThreeRadiiAndCalculates()
{
    Form1 &form = *form_;
    QCOMPARE(focused(), text1(form, 0));
    type("630");
    press(Qt::Key_Return);
    QCOMPARE(focused(), text1(form, 1));
    type("630");
    press(Qt::Key_Return);
    QCOMPARE(focused(), text1(form, 2));
    type("1300");
    press(Qt::Key_Return);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
    for (int index : {0, 1, 2, 4})
        QCOMPARE(text1(form, index)->text(), QString());
    QCOMPARE(focused(), text1(form, 0));
}

void RadiusEntryTest::enterInSingleRadiusCalculatesAndEmptiesIt()
{
    Form1 &form = *form_;
    text1(form, 4)->setFocus();
    type("1000");
    press(Qt::Key_Return);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
    QCOMPARE(text1(form, 4)->text(), QString());
    QCOMPARE(focused(), text1(form, 4));
    type("2000");
    press(Qt::Key_Return);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("114"));
}

void RadiusEntryTest::keypadEnterActsLikeReturn()
{
    Form1 &form = *form_;
    text1(form, 4)->setFocus();
    type("1000");
    QTest::keyClick(focused(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
}

void RadiusEntryTest::enterInInnerRadiusWithoutLeftOuter()
{
    Form1 &form = *form_;
    text1(form, 1)->setFocus();
    type("600");
    text1(form, 2)->setFocus();
    type("1200");
    press(Qt::Key_Return);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("0"));
    QCOMPARE(text1(form, 1)->text(), QString());
    QCOMPARE(text1(form, 2)->text(), QString());
    QCOMPARE(focused(), text1(form, 2));
}

void RadiusEntryTest::enterInResultBoxDoesNothing()
{
    Form1 &form = *form_;
    text1(form, 3)->setText("80");
    text1(form, 4)->setText("1000");
    QTest::mouseClick(text1(form, 3), Qt::LeftButton);
    QCOMPARE(focused(), text1(form, 3));
    type("12");
    press(Qt::Key_Return);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
    QCOMPARE(text1(form, 4)->text(), QStringLiteral("1000"));
    QCOMPARE(focused(), text1(form, 3));
}

// Setting an empty box to empty is no change: a click on CALCULATE in
// single-radius mode leaves "Single Radius" as it is.
void RadiusEntryTest::emptyingAnEmptyBoxRunsNothing()
{
    Form1 &form = *form_;
    text1(form, 4)->setFocus();
    type("1000");
    clickCalculate(form);
    QCOMPARE(text1(form, 3)->text(), QStringLiteral("80"));
    QCOMPARE(text1(form, 4)->text(), QStringLiteral("1000"));
}

QTEST_MAIN(RadiusEntryTest)
#include "test_radius_entry.moc"
