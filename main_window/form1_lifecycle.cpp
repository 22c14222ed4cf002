// Creation, load and unload of the main window, and its position in twips.
#include "main_window/Form1.h"

#include "core/twips.h"
#include "forms/text_box.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <cmath>
#include <vector>

namespace {

// A Wayland client can neither place its window nor learn where it stands.
bool platformKnowsWindowPositions()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

std::vector<TwipsRect> screensInTwips()
{
    std::vector<TwipsRect> screens;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        screens.push_back({float(area.x() * TwipsPerPixel), float(area.y() * TwipsPerPixel),
                           float(area.width() * TwipsPerPixel), float(area.height() * TwipsPerPixel)});
    }
    return screens;
}

} // namespace

Form1::Form1()
{
    createControls();
    connectHandlers();
    Form_Load();
}

void Form1::connectHandlers()
{
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(MenuAbout, &QAction::triggered, this, &Form1::MenuAbout_Click);
    for (std::int16_t index = 0; index < std::int16_t(Text1.size()); ++index) {
        connect(Text1[index], &TextBox::textChanged, this, [this, index] { Text1_Change(index); });
        Text1[index]->installEventFilter(this); // focus and key presses
    }
    // A handler runs whenever a button of its array becomes selected, by the
    // user or by code, and never when the selected button is selected again.
    const auto onSelected = [this](void (Form1::*handler)(std::int16_t)) {
        return [this, handler](int index, bool selected) {
            if (selected)
                (this->*handler)(std::int16_t(index));
        };
    };
    connect(option1Group, &QButtonGroup::idToggled, this, onSelected(&Form1::Option1_Click));
    connect(option2Group, &QButtonGroup::idToggled, this, onSelected(&Form1::Option2_Click));
    connect(option3Group, &QButtonGroup::idToggled, this, onSelected(&Form1::Option3_Click));
}

void Form1::Form_Load()
{
    adjustSize(); // the outer size is final from here on
    // With a settings file the window stands where the file puts it, or
    // where the window system places it when the file says nothing.
    if (SettingsFileExists()) {
        ReadINI(*this);
        keepReachable();
    } else {
        centreOnScreen();
        centreOnceFramed_ = true;
    }
    Text1[0]->setFocus(Qt::OtherFocusReason);
}

// The window manager's frame is known only once the window is shown, so the
// centring or the fitting onto a screen at load measured the window without
// it: do it once more on the real outer size as soon as the frame is there.
void Form1::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    placeOnceFramed();
}

void Form1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    placeOnceFramed();
}

void Form1::placeOnceFramed()
{
    if (!isVisible() || outerFrame().size() == size())
        return;
    if (centreOnceFramed_) {
        centreOnceFramed_ = false;
        centreOnScreen();
    }
    if (fitOnceFramed_) {
        fitOnceFramed_ = false;
        const TwipsPosition fitted = fittedOnNearestScreen({Left(), Top()}, Width(), Height(), screensInTwips());
        setLeft(fitted.left);
        setTop(fitted.top);
    }
}

// Every close saves, whether or not anything changed; it cannot be cancelled.
// While the About window is open the main window takes no input, and so no
// close either: a Wayland compositor's close reaches the window past Qt's
// modality. Ends from outside the windows close the About window first.
void Form1::closeEvent(QCloseEvent *event)
{
    if (QApplication::activeModalWidget()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void Form1::Form_Unload()
{
    SaveINI(*this);
}

// A position stored on a screen that is gone, or beyond an edge, would put
// the window where the user cannot reach it, and every close would store it
// again: it goes back onto the nearest screen.
void Form1::keepReachable()
{
    if (!platformKnowsWindowPositions())
        return;
    const TwipsPosition stored{Left(), Top()};
    const TwipsPosition shown = positionOnScreens(stored, Width(), Height(), screensInTwips());
    if (shown.left != stored.left)
        setLeft(shown.left);
    if (shown.top != stored.top)
        setTop(shown.top);
    fitOnceFramed_ = shown.left != stored.left || shown.top != stored.top;
}

void Form1::centreOnScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const TwipsPosition centre = centredPosition(float(screen.width() * TwipsPerPixel), float(screen.height() * TwipsPerPixel),
                                                 Width(), Height());
    setLeft(float(screen.x() * TwipsPerPixel) + centre.left);
    setTop(float(screen.y() * TwipsPerPixel) + centre.top);
}

// Where the platform cannot tell where the window is, the position given
// last (read from the settings file, or the centring) is reported, so that a
// Wayland session keeps the position the X11 sessions use.
float Form1::Left() const
{
    return !platformKnowsWindowPositions() || outerFrame().topLeft() == placedPixels_
        ? placedTwips_.left
        : float(outerFrame().x() * TwipsPerPixel);
}

float Form1::Top() const
{
    return !platformKnowsWindowPositions() || outerFrame().topLeft() == placedPixels_
        ? placedTwips_.top
        : float(outerFrame().y() * TwipsPerPixel);
}

void Form1::setLeft(float twips)
{
    placedTwips_ = {twips, Top()};
    placeWindow();
}

void Form1::setTop(float twips)
{
    placedTwips_ = {Left(), twips};
    placeWindow();
}

float Form1::Width() const
{
    return float(outerFrame().width() * TwipsPerPixel);
}

float Form1::Height() const
{
    return float(outerFrame().height() * TwipsPerPixel);
}

// The window and its frame. A window manager may tell the frame only after
// the window is shown, without moving it; the widget learns of it only at its
// next move, its window at once.
QRect Form1::outerFrame() const
{
    return isVisible() ? windowHandle()->frameGeometry() : frameGeometry();
}

// The window system places whole pixels; the twips given are kept so that
// Left and Top give them back unchanged while the window stays put.
void Form1::placeWindow()
{
    placedPixels_ = QPoint(int(std::lround(placedTwips_.left / TwipsPerPixel)),
                           int(std::lround(placedTwips_.top / TwipsPerPixel)));
    move(placedPixels_);
}
