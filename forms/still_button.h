#pragma once

#include <QPushButton>

// A push button drawn without the style's endless animations: Windows' own
// style pulses a default button for as long as its window is active, 30
// repaints a second, where the system's own buttons have stood still since
// Windows 8. It looks as the style draws the button's state at rest.
class StillButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};
