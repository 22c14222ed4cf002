// CALCULATE: the radius boxes in, the maximum speed out.
#include "main_window/Form1.h"

#include "main_window/curve_speed.h"
#include "main_window/number_rules.h"

#include <QLineEdit>
#include <QRadioButton>

void Form1::Command1_Click()
{
    // "Left Outer Radius" being exactly empty chooses one radius; anything
    // else in it, blanks included, chooses the three radii.
    const bool threeRadii = !Text1[0]->text().isEmpty();

    // Everything is read before any box is emptied: emptying runs the boxes'
    // change handling, which may empty "Single Radius".
    double leftOuter = 0, rightOuter = 0, inner = 0, single = 0;
    if (threeRadii) {
        leftOuter = ReadNumber(Text1[0]->text());
        rightOuter = ReadNumber(Text1[1]->text());
        inner = ReadNumber(Text1[2]->text());
    } else {
        single = ReadNumber(Text1[4]->text());
    }
    Text1[0]->setText(QString());
    Text1[1]->setText(QString());
    Text1[2]->setText(QString());
    if (threeRadii)
        Text1[0]->setFocus(Qt::OtherFocusReason);

    if (Option2[0]->isChecked()) {
        leftOuter *= MetresPerFoot;
        rightOuter *= MetresPerFoot;
        inner *= MetresPerFoot;
        single *= MetresPerFoot;
    }
    double speed = threeRadii ? threeRadiusSpeed(leftOuter, rightOuter, inner) : singleRadiusSpeed(single);
    if (!Option3[0]->isChecked())
        speed *= KmPerMile;

    // A radius outside the formula's domain (negative, or too large for a
    // double) gives no speed: the box is emptied rather than left showing
    // the answer to an earlier question.
    Text1[3]->setText(FormatWhole(speed));
}
