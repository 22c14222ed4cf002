// The unit buttons: mode, distance and speed kept consistent, the captions
// showing the units, and the shown speed converted in place.
#include "main_window/Form1.h"

#include "core/curve_speed.h"
#include "forms/accessibility.h"
#include "forms/form_builder.h"
#include "forms/text_box.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

QString Form1::unitCode() const
{
    if (Option1[1]->isChecked())
        return QStringLiteral("I");
    if (Option1[2]->isChecked())
        return QStringLiteral("M");
    return Option2[0]->isChecked() ? QStringLiteral("IM") : QStringLiteral("MI");
}

// Each selection is an ordinary one: when it changes the selection, the unit
// handlers run and set the other buttons, the captions and the sub-frames.
void Form1::selectUnits(QStringView code)
{
    if (code == u"I") {
        Option1[1]->setChecked(true);
    } else if (code == u"M") {
        Option1[2]->setChecked(true);
    } else if (code == u"IM") {
        Option1[0]->setChecked(true);
        Option2[0]->setChecked(true);
        Option3[1]->setChecked(true);
    } else if (code == u"MI") {
        Option1[0]->setChecked(true);
        Option2[1]->setChecked(true);
        Option3[0]->setChecked(true);
    }
}

void Form1::Option1_Click(std::int16_t index)
{
    if (index == 0) {
        // "Both" always starts with metric distance and imperial speed.
        fraDistance->setEnabled(true);
        Option2[1]->setChecked(true);
        Option3[0]->setChecked(true);
        fraSpeed->setEnabled(true);
        return;
    }
    // Distance first: selecting it forces the speed to the opposite system,
    // which the speed selection then puts right.
    if (Option1[1]->isChecked()) {
        Option2[0]->setChecked(true);
        Option3[0]->setChecked(true);
    }
    if (Option1[2]->isChecked()) {
        Option2[1]->setChecked(true);
        Option3[1]->setChecked(true);
    }
    fraDistance->setEnabled(false);
    fraSpeed->setEnabled(false);
}

void Form1::Option2_Click(std::int16_t index)
{
    if (index == 0) {
        Frame1->setTitle(QStringLiteral("CURVE RADIUS (ft)"));
        Option3[1]->setChecked(true);
    } else {
        Frame1->setTitle(QStringLiteral("CURVE RADIUS (m)"));
        Option3[0]->setChecked(true);
    }
}

// The shown whole number is converted, not the speed recalculated: the radii
// may already be gone.
void Form1::Option3_Click(std::int16_t index)
{
    const bool metric = index == 1;
    Label1[3]->setText(metric ? QStringLiteral("Maximum Speed (km/h)") : QStringLiteral("Maximum Speed (mi/h)"));
    fitCaption(Label1[3]);
    notifyNameChanged(Text1[3]); // the result box is named by that label
    Text1[3]->setText(convertedSpeedText(Text1[3]->text(), metric));
    announceResult();
    if (Option1[0]->isChecked())
        Option2[metric ? 0 : 1]->setChecked(true);
}
