// The main window's settings: units and position restored from the settings
// file at start-up and written back at every close.
#include "main_window/Form1.h"

#include "settings/settings_file.h"

#include <QRadioButton>

// Each selection is an ordinary one: when it changes the selection, the unit
// handlers run and set the other buttons, the captions and the sub-frames.
void Form1::ReadINI()
{
    for (const SettingsEntry &entry : generalSettings(readSettingsFile(settingsFilePath()))) {
        if (entry.key == u"Units") {
            if (entry.value == u"I") {
                Option1[1]->setChecked(true);
            } else if (entry.value == u"M") {
                Option1[2]->setChecked(true);
            } else if (entry.value == u"IM") {
                Option1[0]->setChecked(true);
                Option2[0]->setChecked(true);
                Option3[1]->setChecked(true);
            } else if (entry.value == u"MI") {
                Option1[0]->setChecked(true);
                Option2[1]->setChecked(true);
                Option3[0]->setChecked(true);
            }
        } else if (entry.key == u"LeftPosition") {
            if (const auto left = positionFromText(entry.value))
                setLeft(*left);
        } else if (entry.key == u"TopPosition") {
            if (const auto top = positionFromText(entry.value))
                setTop(*top);
        }
    }
}

// A save that cannot be made leaves the old file as it was; the close goes on.
void Form1::SaveINI() const
{
    writeSettingsFile(settingsFilePath(), settingsFileContent(unitCode(), Left(), Top()));
}
