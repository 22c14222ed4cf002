// CALCULATE: the radius boxes in, the maximum speed out.
#include "main_window/Form1.h"

#include "core/curve_speed.h"
#include "forms/accessibility.h"
#include "forms/text_box.h"

#include <QLabel>
#include <QRadioButton>

void Form1::Command1_Click()
{
    // Everything is read before any box is emptied: emptying runs the boxes'
    // change handling, which may empty "Single Radius".
    const QString leftOuter = Text1[0]->text(), rightOuter = Text1[1]->text(), inner = Text1[2]->text(),
                  single = Text1[4]->text();
    const RadiusTexts radii{leftOuter, rightOuter, inner, single};
    const CalculationUnits units{Option2[0]->isChecked(), Option3[0]->isChecked()};

    Text1[0]->setText(QString());
    Text1[1]->setText(QString());
    Text1[2]->setText(QString());
    if (usesThreeRadii(radii))
        Text1[0]->setFocus(Qt::OtherFocusReason);
    Text1[3]->setText(calculatedSpeedText(radii, units));
    announceResult();
}

// Spoken also when the same result comes again: the user asked for it.
void Form1::announceResult()
{
    if (!Text1[3]->text().isEmpty())
        resultAnnouncer->announce(Label1[3]->text() + QStringLiteral(": ") + Text1[3]->text());
}
