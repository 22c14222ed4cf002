#pragma once

#include "core/window_placement.h"
#include "settings/window_settings.h"

#include <QMainWindow>
#include <QPoint>
#include <array>
#include <cstdint>

class Announcer;
class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class TextBox;
class QPushButton;
class QRadioButton;

// The calculator's main window. Its controls keep the names of the window
// layout; its behaviour is split by concern over the form1_*.cpp files.
class Form1 : public QMainWindow, public UnitsAndPosition
{
    Q_OBJECT

public:
    Form1();

    // Outer frame position and size in twips (single precision).
    float Left() const override;
    float Top() const override;
    void setLeft(float twips) override;
    void setTop(float twips) override;
    float Width() const;
    float Height() const;

    // The unit state named by its code: "M", "I", "MI" or "IM" (distance
    // system first, then speed; one letter when both agree).
    QString unitCode() const override;
    void selectUnits(QStringView code) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Layout
    void createControls();
    void connectHandlers();

    // Lifecycle
    void Form_Load();
    void Form_Unload();
    void MenuAbout_Click();
    void centreOnScreen();
    void keepReachable();
    QRect outerFrame() const;
    void placeOnceFramed();
    void placeWindow();

    // Calculation
    void Command1_Click();
    void announceResult();

    // Radius entry
    void Text1_Change(std::int16_t index);
    void Text1_GotFocus(std::int16_t index);
    void Text1_KeyPress(std::int16_t index, char16_t keyCode);

    // Unit selection
    void Option1_Click(std::int16_t index);
    void Option2_Click(std::int16_t index);
    void Option3_Click(std::int16_t index);

    std::array<TextBox *, 5> Text1{};
    std::array<QLabel *, 6> Label1{};
    std::array<QRadioButton *, 3> Option1{};
    std::array<QRadioButton *, 2> Option2{};
    std::array<QRadioButton *, 2> Option3{};
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QGroupBox *fraDistance = nullptr;
    QGroupBox *fraSpeed = nullptr;
    QPushButton *Command1 = nullptr;
    QWidget *Line1 = nullptr;
    QAction *MenuAbout = nullptr;
    QButtonGroup *option1Group = nullptr;
    QButtonGroup *option2Group = nullptr;
    QButtonGroup *option3Group = nullptr;
    // Speaks each new result, which appears away from the keyboard focus.
    Announcer *resultAnnouncer = nullptr;

    // True only while the change handling empties the other group of radius
    // boxes, so that it ignores the changes it makes itself.
    bool ChangingText = false;

    // The position last given in twips and the frame corner it was placed at:
    // while the window stays there, Left and Top report the twips exactly.
    TwipsPosition placedTwips_{0.0f, 0.0f};
    QPoint placedPixels_;
    // Centred, or fitted onto a screen, at load, before the window manager's
    // frame was known.
    bool centreOnceFramed_ = false;
    bool fitOnceFramed_ = false;
};
