#pragma once

#include <QString>
#include <QStringView>

// What the settings file keeps of a window: its unit state and its position.
// The settings code sees the window only through this.
class UnitsAndPosition
{
public:
    // "M", "I", "MI" or "IM".
    virtual QString unitCode() const = 0;
    // Selects the buttons a stored unit code stands for, as a user would, so
    // that the unit handlers run; any other text selects nothing.
    virtual void selectUnits(QStringView code) = 0;

    // Outer frame position in twips, single precision.
    virtual float Left() const = 0;
    virtual float Top() const = 0;
    virtual void setLeft(float twips) = 0;
    virtual void setTop(float twips) = 0;

protected:
    ~UnitsAndPosition() = default;
};

// Whether "KDM.cfg" in the current working directory is an ordinary file.
bool SettingsFileExists();

// Applies the settings file's lines in order: units, left and top position.
void ReadINI(UnitsAndPosition &window);

// Writes the window's units and position to the settings file. A save that
// cannot be made leaves the old file as it was; the close goes on.
void SaveINI(const UnitsAndPosition &window);
