#include "forms/form_builder.h"

#include "resources/pictures.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
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

// A maximise request has left when the window learns of it, and the
// compositor answers it with the size to take. So the window lets go of its
// fixed size at once, takes the size it is given, asks for its normal state
// back once it has been given the other one, and is fixed to its size again
// once it has it back.
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
                connect(window_->windowHandle(), &QWindow::windowStateChanged, this, &NormalStateKeeper::letGo);
            }
            break;
        case QEvent::WindowStateChange:
            askForNormal_ = lettingGo_ && (window_->windowState() & refused);
            break;
        case QEvent::Paint:
            // Once drawn in the state it was given: a compositor takes the
            // way back only from a state the window has shown.
            if (askForNormal_) {
                askForNormal_ = false;
                QTimer::singleShot(0, this, [this] { window_->windowHandle()->setWindowStates(Qt::WindowNoState); });
            }
            break;
        case QEvent::Resize:
            if (lettingGo_ && window_->windowHandle()->windowStates() == Qt::WindowNoState && window_->size() == fixed_) {
                lettingGo_ = false;
                window_->setMaximumSize(fixed_);
                if (window_->layout())
                    window_->layout()->setSizeConstraint(constraint_);
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    static constexpr Qt::WindowStates refused = Qt::WindowMaximized | Qt::WindowFullScreen;

    void letGo(Qt::WindowState state)
    {
        if (!(refused & state) || lettingGo_)
            return;
        lettingGo_ = true;
        // A layout that fixes the window's size would take it back at once.
        if (window_->layout()) {
            constraint_ = window_->layout()->sizeConstraint();
            window_->layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        }
        window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }

    QWidget *window_;
    QSize fixed_;
    QLayout::SizeConstraint constraint_ = QLayout::SetDefaultConstraint;
    bool lettingGo_ = false;
    bool askForNormal_ = false;
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
