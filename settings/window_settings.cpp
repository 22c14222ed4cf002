#include "settings/window_settings.h"

#include "core/settings_file.h"

bool SettingsFileExists()
{
    return FileExists(settingsFilePath(), 0);
}

void ReadINI(UnitsAndPosition &window)
{
    for (const SettingsEntry &entry : generalSettings(readSettingsFile(settingsFilePath()))) {
        if (entry.key == u"Units") {
            window.selectUnits(entry.value);
        } else if (entry.key == u"LeftPosition") {
            if (const auto left = positionFromText(entry.value))
                window.setLeft(*left);
        } else if (entry.key == u"TopPosition") {
            if (const auto top = positionFromText(entry.value))
                window.setTop(*top);
        }
    }
}

void SaveINI(const UnitsAndPosition &window)
{
    writeSettingsFile(settingsFilePath(), settingsFileContent(window.unitCode(), window.Left(), window.Top()));
}
