#include "forms/form_builder.h"

#include "resources/pictures.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace {

// The smallest a caption is shrunk to, still readable.
constexpr qreal SmallestCaptionPoints = 6.0;

// Measured with the caption's font alone: a word-wrapped label's own
// heightForWidth() asks for the label to be painted again.
bool showsWholeCaption(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        if (label->text().isEmpty())
            return true;
        const QFontMetrics metrics(label->font());
        // Some faces draw the underline below their descent.
        const int underline = label->font().underline() ? metrics.ascent() + metrics.underlinePos() + metrics.lineWidth() : 0;
        const QRect needed = label->wordWrap()
            ? metrics.boundingRect(QRect(0, 0, label->width(), QWIDGETSIZE_MAX), int(label->alignment()) | Qt::TextWordWrap,
                                   label->text())
            : QRect(0, 0, metrics.horizontalAdvance(label->text()), metrics.height());
        return needed.width() <= label->width() && std::max(needed.height(), underline) <= label->height();
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->sizeHint().width() <= button->width();
    return true;
}

// Fits a caption whenever its font, size or style changes, and when asked to
// after its text has changed: from the size it was given, so that a caption
// shrunk for a long text grows back for a shorter one.
class CaptionFitter : public QObject
{
public:
    explicit CaptionFitter(QWidget *control) : QObject(control), control_(control), givenPoints_(control->font().pointSizeF())
    {
        control->installEventFilter(this);
        fit();
    }

    void fit()
    {
        const QScopedValueRollback fitting(fitting_, true);
        QFont font = control_->font();
        font.setPointSizeF(givenPoints_);
        control_->setFont(font);
        while (!showsWholeCaption(control_) && font.pointSizeF() - 0.25 >= SmallestCaptionPoints) {
            font.setPointSizeF(font.pointSizeF() - 0.25);
            control_->setFont(font);
        }
        fittedPoints_ = font.pointSizeF();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (fitting_)
            return false;
        switch (event->type()) {
        case QEvent::FontChange:
            // A size of its own, or another face from the window at the size
            // it was fitted to.
            if (control_->font().pointSizeF() != fittedPoints_)
                givenPoints_ = control_->font().pointSizeF();
            fit();
            break;
        case QEvent::StyleChange:
        case QEvent::Resize:
            fit();
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget *control_;
    qreal givenPoints_;
    qreal fittedPoints_ = 0;
    bool fitting_ = false;
};

// A maximise or full-screen request may come from the window manager's menu,
// a pager, a tool or Qt's own title bar on Wayland. The window takes the state
// it is given, and once it has shown itself in it, asks for its normal state
// back; once the window system reports the normal state, the window has its
// one size again, whether or not it was resized meanwhile.
class NormalStateKeeper : public QObject
{
public:
    explicit NormalStateKeeper(QWidget *window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Show:
            if (!fixed_.isValid()) {
                fixed_ = window_->minimumSize();
                connect(window_->windowHandle(), &QWindow::windowStateChanged, this, &NormalStateKeeper::stateChanged);
            }
            break;
        // The window system's word on the state; the window's own
        // (`windowHandle()->windowStates()`) changes as soon as anybody asks.
        case QEvent::WindowStateChange:
            stateChanged(window_->windowState());
            break;
        // Drawn in the state it was given, the window asks for the normal
        // state: a compositor takes the way back only from a state the window
        // has shown. Elsewhere it asks also after a request the window
        // manager refused without a word, so that the next one counts.
        case QEvent::Paint:
            if (refusing_ && (window_->windowHandle()->windowStates() & refused)
                && (!takesGivenSize() || (window_->windowState() & refused)))
                QTimer::singleShot(0, this, [this] {
                    if (window_->windowHandle()->windowStates() & refused)
                        window_->windowHandle()->setWindowStates(Qt::WindowNoState);
                });
            break;
        default:
            break;
        }
        return false;
    }

private:
    static constexpr Qt::WindowStates refused = Qt::WindowMaximized | Qt::WindowFullScreen;

    // A Wayland compositor makes a maximised window take the size it gives,
    // and ends a program whose window keeps another: there the window lets go
    // of its size until it is back.
    static bool takesGivenSize() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

    void stateChanged(Qt::WindowStates states)
    {
        if (states & refused)
            refuse();
        else
            keepFixedSizeOnceNormal();
    }

    void refuse()
    {
        refusing_ = true;
        if (takesGivenSize() && !lettingGo_) {
            lettingGo_ = true;
            // A layout that fixes the window's size would take it back at once.
            if (window_->layout()) {
                constraint_ = window_->layout()->sizeConstraint();
                window_->layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
            }
            window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
        window_->update();
    }

    // Normal both in the window system's word and the window's own: a request
    // refused outright, or the way back granted.
    void keepFixedSizeOnceNormal()
    {
        const Qt::WindowStates away = refused | Qt::WindowMinimized;
        if (!refusing_ || (window_->windowState() & away) || (window_->windowHandle()->windowStates() & away))
            return;
        refusing_ = false;
        if (lettingGo_) {
            lettingGo_ = false;
            window_->setMaximumSize(fixed_);
            if (window_->layout())
                window_->layout()->setSizeConstraint(constraint_);
        }
        window_->resize(fixed_);
    }

    QWidget *window_;
    QSize fixed_;
    QLayout::SizeConstraint constraint_ = QLayout::SetDefaultConstraint;
    bool refusing_ = false;
    bool lettingGo_ = false;
};

} // namespace

void keepNormalState(QWidget *window)
{
    window->installEventFilter(new NormalStateKeeper(window));
}

void keepCaptionWhole(QWidget *control)
{
    if (qobject_cast<QLabel *>(control) || qobject_cast<QAbstractButton *>(control))
        new CaptionFitter(control);
}

void fitCaption(QWidget *control)
{
    if (auto *fitter = control->findChild<CaptionFitter *>(QString(), Qt::FindDirectChildrenOnly))
        fitter->fit();
}

QFont windowFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    return font;
}

void setWindowFace(QWidget *window)
{
    window->setFont(windowFont());
    window->setWindowIcon(pictures::programIcon());
}
