// The main window's controls, laid out from one table.
#include "main_window/Form1.h"

#include "core/identity.h"
#include "forms/accessibility.h"
#include "forms/form_builder.h"
#include "forms/text_box.h"
#include "forms/titled_frame.h"

#include <QAction>
#include <QButtonGroup>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace {

enum class Kind { Frame, Label, TextBox, Button, Option, Line };

enum Initial : unsigned {
    Plain = 0,
    RightAligned = 1u << 0,
    Centred = 1u << 1,
    Selected = 1u << 2,
    Disabled = 1u << 3,
    ReadOnly = 1u << 4,
};

} // namespace

template <> struct BuiltClass<Kind::Frame> { using type = QGroupBox; };
template <> struct BuiltClass<Kind::Label> { using type = QLabel; };
template <> struct BuiltClass<Kind::TextBox> { using type = TextBox; };
template <> struct BuiltClass<Kind::Button> { using type = QPushButton; };
template <> struct BuiltClass<Kind::Option> { using type = QRadioButton; };
template <> struct BuiltClass<Kind::Line> { using type = QWidget; };

namespace {

struct ControlRow
{
    const char *name;
    KindAndMember<Kind> made;
    QGroupBox *const *container; // nullptr: the window's client area
    int left, top, width, height; // twips; a line runs from (left, top) over its width, height is its thickness
    int tabIndex; // -1: outside the tab order
    const char *caption;
    unsigned initial;
};

constexpr int clientWidth = 4815;
constexpr int clientHeight = 3015;

QWidget *createControl(const ControlRow &row, QWidget *container)
{
    const QString caption = QString::fromLatin1(row.caption);
    QWidget *control = nullptr;
    switch (row.made.kind) {
    case Kind::Frame:
        control = new TitledFrame(caption, container);
        // A frame inside a frame would otherwise be announced by the outer
        // frame's title; the inner titles never change.
        if (qobject_cast<QGroupBox *>(container))
            control->setAccessibleName(caption);
        break;
    case Kind::Label: {
        auto *label = new QLabel(caption, container);
        label->setTextFormat(Qt::PlainText);
        const Qt::Alignment horizontal = row.initial & RightAligned ? Qt::AlignRight
            : row.initial & Centred                                ? Qt::AlignHCenter
                                                                   : Qt::AlignLeft;
        label->setAlignment(horizontal | Qt::AlignVCenter);
        control = label;
        break;
    }
    case Kind::TextBox: {
        auto *box = new TextBox(container);
        box->setAlignment(Qt::AlignCenter);
        // The old system face where it is installed; elsewhere the boxes keep
        // the window's face. Asking for a missing face would cost start-up a
        // font fallback search of its own.
        // (The installed families are listed once; hasFamily would ask
        // fontconfig to resolve the name as an alias for every box.)
        static const bool oldFaceInstalled = QFontDatabase::families().contains(QStringLiteral("MS Sans Serif"));
        if (oldFaceInstalled) {
            QFont font = box->font();
            font.setFamily(QStringLiteral("MS Sans Serif"));
            box->setFont(font);
        }
        if (row.initial & ReadOnly) {
            box->setReadOnly(true);
            box->setFocusPolicy(Qt::ClickFocus); // not a tab stop
        }
        control = box;
        break;
    }
    case Kind::Button: {
        auto *button = new QPushButton(caption, container);
        button->setAutoDefault(false);
        control = button;
        break;
    }
    case Kind::Option: {
        auto *option = new QRadioButton(caption, container);
        option->setChecked(row.initial & Selected);
        control = option;
        break;
    }
    case Kind::Line:
        // Filled, not stroked: a one-pixel stroke is clipped away at some
        // fractional scales (125 %).
        control = new QWidget(container);
        control->setAutoFillBackground(true);
        control->setBackgroundRole(QPalette::WindowText);
        break;
    }
    if (row.initial & Disabled)
        control->setEnabled(false);
    return control;
}

// The Tab key enters an option group at its selected button only; the arrow
// keys move within the group.
void keepTabStopOnSelected(const QButtonGroup *group)
{
    for (QAbstractButton *button : group->buttons()) {
        const Qt::FocusPolicy policy = button->focusPolicy();
        button->setFocusPolicy(button->isChecked() ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                                   : Qt::FocusPolicy(policy & ~Qt::TabFocus));
    }
}

template <std::size_t Count>
QButtonGroup *optionGroup(const std::array<QRadioButton *, Count> &options, QObject *owner)
{
    auto *group = new QButtonGroup(owner);
    for (std::size_t index = 0; index < Count; ++index)
        group->addButton(options[index], static_cast<int>(index));
    // Qt moves the tab stop itself whenever the selection changes.
    keepTabStopOnSelected(group);
    return group;
}

} // namespace

void Form1::createControls()
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromLatin1(identity::applicationTitle));
    setWindowFace(this);
    keepNormalState(this);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(pixelsFromTwips(clientWidth), pixelsFromTwips(clientHeight));
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    MenuAbout = menuBar()->addAction(QStringLiteral("&About"));
    MenuAbout->setObjectName(QStringLiteral("MenuAbout"));

    // Rows by container, top to bottom as on screen; creation follows the rows.
    const ControlRow rows[] = {
        // name         kind and member                   container     left   top  width height tab caption             initial
        {"Frame1",      made<Kind::Frame>(Frame1),        nullptr,       120,    0,  2775, 2895,  0, "CURVE RADIUS (m)",    Plain},
        {"Label1(0)",   made<Kind::Label>(Label1[0]),     &Frame1,       120,  240,  1815,  255,  6, "Left Outer Radius",   RightAligned},
        {"Text1(0)",    made<Kind::TextBox>(Text1[0]),    &Frame1,      2040,  240,   615,  285,  1, "",                    Plain},
        {"Label1(1)",   made<Kind::Label>(Label1[1]),     &Frame1,       120,  600,  1815,  255,  7, "Right Outer Radius",  RightAligned},
        {"Text1(1)",    made<Kind::TextBox>(Text1[1]),    &Frame1,      2040,  600,   615,  285,  2, "",                    Plain},
        {"Label1(2)",   made<Kind::Label>(Label1[2]),     &Frame1,       120,  960,  1815,  255,  8, "Inner Radius",        RightAligned},
        {"Text1(2)",    made<Kind::TextBox>(Text1[2]),    &Frame1,      2040,  960,   615,  285,  3, "",                    Plain},
        {"Label1(4)",   made<Kind::Label>(Label1[4]),     &Frame1,       120, 1320,  2535,  255, 11, "OR",                  Centred},
        {"Label1(5)",   made<Kind::Label>(Label1[5]),     &Frame1,       120, 1560,  1815,  255, 12, "Single Radius",       RightAligned},
        {"Text1(4)",    made<Kind::TextBox>(Text1[4]),    &Frame1,      2040, 1560,   615,  285,  4, "",                    Plain},
        {"Line1",       made<Kind::Line>(Line1),          &Frame1,       120, 1920,  2520,   15, -1, "",                    Plain},
        {"Command1",    made<Kind::Button>(Command1),     &Frame1,       120, 2040,  2535,  375,  5, "CALCULATE",           Plain},
        {"Label1(3)",   made<Kind::Label>(Label1[3]),     &Frame1,       120, 2520,  1815,  255,  9, "Maximum Speed (km/h)",RightAligned},
        {"Text1(3)",    made<Kind::TextBox>(Text1[3]),    &Frame1,      2040, 2520,   615,  285, 10, "",                    ReadOnly},
        {"Frame2",      made<Kind::Frame>(Frame2),        nullptr,      3000,    0,  1695, 2895, 13, "UNIT OF MEASURE",     Plain},
        {"Option1(0)",  made<Kind::Option>(Option1[0]),   &Frame2,       360,  240,   975,  255, 14, "Both",                Plain},
        {"Option1(1)",  made<Kind::Option>(Option1[1]),   &Frame2,       360,  480,   975,  255, 15, "Imperial",            Plain},
        {"Option1(2)",  made<Kind::Option>(Option1[2]),   &Frame2,       360,  720,   975,  255, 16, "Metric",              Selected},
        {"fraDistance", made<Kind::Frame>(fraDistance),   &Frame2,       240, 1080,  1215,  795, 17, "DISTANCE",            Disabled},
        {"Option2(0)",  made<Kind::Option>(Option2[0]),   &fraDistance,  120,  240,   975,  255, 18, "Imperial",            Plain},
        {"Option2(1)",  made<Kind::Option>(Option2[1]),   &fraDistance,  120,  480,   975,  255, 19, "Metric",              Selected},
        {"fraSpeed",    made<Kind::Frame>(fraSpeed),      &Frame2,       240, 1920,  1215,  795, 20, "SPEED",               Disabled},
        {"Option3(0)",  made<Kind::Option>(Option3[0]),   &fraSpeed,     120,  240,   975,  255, 21, "Imperial",            Plain},
        {"Option3(1)",  made<Kind::Option>(Option3[1]),   &fraSpeed,     120,  480,   975,  255, 22, "Metric",              Selected},
    };
    buildControls(client, rows, createControl);

    // Each box is announced by its label and labelled by it. The captions
    // hold no '&', so no label gains a keyboard shortcut.
    const std::pair<int, int> labelOfBox[] = {{0, 0}, {1, 1}, {2, 2}, {5, 4}, {3, 3}};
    for (const auto &[label, box] : labelOfBox)
        Label1[label]->setBuddy(Text1[box]);
    resultAnnouncer = new Announcer(client);

    // Each option array is its own exclusive group, whatever frame it sits in.
    option1Group = optionGroup(Option1, this);
    option2Group = optionGroup(Option2, this);
    option3Group = optionGroup(Option3, this);
}
