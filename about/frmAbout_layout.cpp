// The About window's controls, laid out from one table.
#include "about/frmAbout.h"

#include "about/WebBrowser.h"
#include "core/version_rules.h"
#include "core/identity.h"
#include "forms/accessibility.h"
#include "forms/form_builder.h"
#include "forms/link_label.h"
#include "forms/readable_colours.h"
#include "forms/still_button.h"
#include "resources/pictures.h"

#include <QLabel>
#include <QTimer>

namespace {

enum class Kind { Timer, Button, Browser, Label, Link, Picture, Line };

enum Look : unsigned {
    Plain = 0,
    Centred = 1u << 0,
    Large = 1u << 1, // Arial 9.75 pt instead of the window's 8.25 pt
    Bold = 1u << 2,
    Underlined = 1u << 3,
};

enum class Colour { System, Black, Blue, Grey, White };

} // namespace

template <> struct BuiltClass<Kind::Timer> { using type = QTimer; };
template <> struct BuiltClass<Kind::Button> { using type = StillButton; };
template <> struct BuiltClass<Kind::Browser> { using type = WebBrowser; };
template <> struct BuiltClass<Kind::Label> { using type = QLabel; };
template <> struct BuiltClass<Kind::Link> { using type = LinkLabel; };
template <> struct BuiltClass<Kind::Picture> { using type = QLabel; };
template <> struct BuiltClass<Kind::Line> { using type = QWidget; };

namespace {

struct ControlRow
{
    const char *name;
    KindAndMember<Kind> made;
    int left, top, width, height; // twips; a line runs from (left, top) over its width, height is its thickness
    int tabIndex; // -1: outside the tab order
    QString content; // caption, start address or picture
    unsigned look;
    Colour colour;
};

constexpr int clientWidth = 5775;
constexpr int clientHeight = 4335;
constexpr int timerInterval = 1000; // ms

// The fixed colours on a light window. On a dark one the texts take the
// theme's colours and the separator its shades, so that all stays readable.
QColor colourOf(Colour colour, const QPalette &palette)
{
    const bool dark = readable::isDark(palette.color(QPalette::Window));
    switch (colour) {
    case Colour::Black:
        return readable::textColour(QColor(0, 0, 0), palette, QPalette::WindowText);
    case Colour::Blue:
        return readable::linkColour(palette, false);
    case Colour::Grey:
        return dark ? palette.color(QPalette::Shadow) : QColor(128, 128, 128);
    case Colour::White:
        return dark ? palette.color(QPalette::Light) : QColor(255, 255, 255);
    case Colour::System:
        break;
    }
    return {};
}

QObject *createControl(const ControlRow &row, QWidget *window)
{
    if (row.made.kind == Kind::Timer) {
        auto *timer = new QTimer(window);
        timer->setInterval(timerInterval);
        timer->start();
        return timer;
    }

    QWidget *control = nullptr;
    switch (row.made.kind) {
    case Kind::Button:
        control = new StillButton(row.content, window);
        break;
    case Kind::Browser: {
        auto *browser = new WebBrowser(window);
        browser->Navigate(row.content);
        control = browser;
        break;
    }
    case Kind::Label:
    case Kind::Link: {
        auto *label = row.made.kind == Kind::Link ? new LinkLabel(row.content, window) : new QLabel(row.content, window);
        // Shown literally: some of these texts come from the network.
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment((row.look & Centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        control = label;
        break;
    }
    case Kind::Picture: {
        auto *picture = new QLabel(window);
        picture->setPixmap(pictures::sharpPixmap(
            row.content, QSize(pixelsFromTwips(row.width), pixelsFromTwips(row.height)), window->devicePixelRatio()));
        control = picture;
        break;
    }
    case Kind::Line:
        control = new QWidget(window);
        control->setAutoFillBackground(true);
        // A drawing, not a control: the pointer passes through to the window.
        control->setAttribute(Qt::WA_TransparentForMouseEvents);
        break;
    case Kind::Timer:
        break;
    }

    if (row.look & (Large | Bold | Underlined)) {
        QFont font = control->font();
        if (row.look & Large)
            font.setPointSizeF(9.75);
        font.setBold(row.look & Bold);
        font.setUnderline(row.look & Underlined);
        control->setFont(font);
    }
    if (row.colour != Colour::System) {
        QPalette palette = control->palette();
        palette.setColor(row.made.kind == Kind::Line ? QPalette::Window : QPalette::WindowText, colourOf(row.colour, palette));
        control->setPalette(palette);
    }
    return control;
}

} // namespace

void frmAbout::createControls()
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(pixelsFromTwips(clientWidth), pixelsFromTwips(clientHeight));
    setWindowFace(this);
    keepNormalState(this);

    const QString company = QString::fromLatin1(identity::companyName);
    // In creation order: later controls lie on top of earlier ones.
    const ControlRow rows[] = {
        // name          kind and member                        left  top width height tab content
        {"Timer1",        made<Kind::Timer>(Timer1),                0,    0,    0,    0, -1, {}, Plain, Colour::System},
        {"cmdOK",         made<Kind::Button>(cmdOK),             4440, 3840, 1200,  360,  0, QStringLiteral("CLOSE"), Plain, Colour::System},
        {"WebBrowser1",   made<Kind::Browser>(WebBrowser1),       120, 4440,  255,  255,  9, QStringLiteral("http:///"), Plain, Colour::System},
        {"TimerCounter",  made<Kind::Label>(TimerCounter),        480, 4440,  255,  255, 11, {}, Plain, Colour::System},
        {"Label3",        made<Kind::Label>(Label3),              120, 3120, 5535,  495, 10,
         QStringLiteral("    This utility is without warranty concerning errors in code. "
                        "It does NOT contain any form of malicious code."),
         Centred, Colour::System},
        {"CheckVersion",  made<Kind::Label>(CheckVersion),        120, 1920, 5535,  255,  8, version_check::connectingText(),
         Centred | Large | Bold, Colour::System},
        {"Label2(1)",     made<Kind::Label>(Label2[1]),           120, 3960, 2775,  255,  7,
         QStringLiteral("Copyright \u00A9 2012 ") + company, Plain, Colour::System},
        {"Label2(0)",     made<Kind::Label>(Label2[0]),           120, 3720, 2775,  255,  6,
         QStringLiteral("Written by ") + company, Plain, Colour::System},
        {"Label1",        made<Kind::Link>(Label1),              1320, 2280, 2895,  255,  5,
         QStringLiteral("Visit ") + company + QStringLiteral(" Website"), Centred | Large | Underlined, Colour::Blue},
        {"Image1",        made<Kind::Picture>(Image1),            120,  120,  960,  960, -1, QStringLiteral(":/derailed_locomotive.png"),
         Plain, Colour::System},
        {"Line1(1)",      made<Kind::Line>(Line1[1]),              90, 2685, 5564,   15, -1, {}, Plain, Colour::Grey},
        {"lblDescription",made<Kind::Label>(lblDescription),     1200,  960, 4485,  810,  1,
         QStringLiteral("Designed for use with Dovan's series of Ferrox, this utility calculates the maximum speed "
                        "around a curved section of track in accordance with Title 49, Part "
                        "213.9 of the Electronic Code of Federal Regulations."),
         Plain, Colour::Black},
        {"lblTitle",      made<Kind::Label>(lblTitle),           1200,  240, 3885,  240,  3, QString::fromLatin1(identity::productName),
         Large, Colour::Black},
        {"Line1(0)",      made<Kind::Line>(Line1[0]),             105, 2700, 5549,   30, -1, {}, Plain, Colour::White},
        {"lblVersion",    made<Kind::Label>(lblVersion),         1200,  480, 3885,  225,  4, {}, Large, Colour::System},
        {"lblDisclaimer", made<Kind::Label>(lblDisclaimer),       120, 2760, 5415,  225,  2,
         QStringLiteral("WARNING: This utility is for SIMULATOR USE ONLY"), Centred | Large | Bold | Underlined,
         Colour::Black},
    };

    buildControls(this, rows, createControl);

    Image1->setAccessibleName(QStringLiteral("Derailed locomotive"));
    keepOutOfAccessibility(WebBrowser1);
    keepOutOfAccessibility(TimerCounter);
}
