// Load, close, link and version-check wiring of the About window.
#include "about/frmAbout.h"

#include "about/WebBrowser.h"
#include "about/version_check.h"
#include "core/version_rules.h"
#include "core/identity.h"
#include "forms/accessibility.h"
#include "forms/form_builder.h"
#include "forms/link_label.h"
#include "forms/readable_colours.h"
#include "forms/still_button.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <functional>

namespace {

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// Clicks on a control: a press and a release of the left button on it. The
// second press of a double-click starts no click, so a double-click is one.
class ClickWatcher : public QObject
{
public:
    ClickWatcher(QWidget *control, std::function<void()> clicked) : QObject(control), clicked_(std::move(clicked))
    {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            pressed_ = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            pressed_ = false;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            const auto *release = static_cast<QMouseEvent *>(event);
            const bool click = pressed_ && release->button() == Qt::LeftButton
                && static_cast<QWidget *>(watched)->rect().contains(release->position().toPoint());
            pressed_ = false;
            if (click)
                clicked_();
        }
        return false;
    }

private:
    std::function<void()> clicked_;
    bool pressed_ = false;
};

} // namespace

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    createControls();
    // CLOSE is the default button (Enter) and Esc rejects: both close,
    // whatever has the focus; Space opens the link when Tab has reached it.
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    // Pointer moves reach only the link and the window itself: Qt drops them
    // over controls that do not track the mouse, such as the other labels.
    setMouseTracking(true);
    Label1->setMouseTracking(true);
    Label1->installEventFilter(this);
    new ClickWatcher(Label1, [this] { Label1_Click(); });
    connect(Label1, &LinkLabel::activated, this, &frmAbout::Label1_Click);

    versionCheck_ = std::make_unique<VersionCheck>(*CheckVersion, *TimerCounter, *Timer1, *WebBrowser1);
    outcomeAnnouncer_ = new Announcer(this);
    connect(Timer1, &QTimer::timeout, this, [this] {
        versionCheck_->Timer1_Timer();
        statusChanged();
    });
    connect(WebBrowser1, &WebBrowser::DocumentComplete, this, [this] {
        versionCheck_->WebBrowser1_DocumentComplete();
        statusChanged();
    });

    Form_Load();
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + QString::fromLatin1(identity::applicationTitle));
    lblVersion->setText(QStringLiteral("Version ") + identity::localVersionText());
    fitCaption(lblVersion);
}

void frmAbout::statusChanged()
{
    fitCaption(CheckVersion);
    announceOutcome();
}

// Each outcome once as it comes on show (the tick after an outcome sees it
// again); the spinner's frames and the progress texts are not spoken.
void frmAbout::announceOutcome()
{
    const QString status = CheckVersion->text();
    if (version_check::isProgressText(status)) {
        announcedOutcome_.clear();
        return;
    }
    if (status == announcedOutcome_)
        return;
    announcedOutcome_ = status;
    outcomeAnnouncer_->announce(status);
}

void frmAbout::done(int result)
{
    Timer1->stop();
    WebBrowser1->Stop();
    QDialog::done(result);
}

// Some window managers minimise the About window without the main window,
// which it keeps from taking input: minimised, the About window closes, so
// that the main window is never left blocked by a window out of sight.
void frmAbout::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        QTimer::singleShot(0, this, &QDialog::reject);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label1 && event->type() == QEvent::MouseMove)
        Label1_MouseMove();
    return QDialog::eventFilter(watched, event);
}

// Only the bare background counts: inside the window, with no control under
// the pointer (the link passes its own moves on to the window as well).
void frmAbout::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    if (!childAt(position) && rect().contains(position))
        Form_MouseMove();
    QDialog::mouseMoveEvent(event);
}

void frmAbout::Form_MouseMove()
{
    setTextColour(Label1, readable::linkColour(palette(), false));
}

void frmAbout::Label1_MouseMove()
{
    setTextColour(Label1, readable::linkColour(palette(), true));
}

void frmAbout::Label1_Click()
{
    // Whether a browser opened is not reported, as on any desktop link.
    QDesktopServices::openUrl(QUrl(version_check::homePageAddress()));
}
