#include "forms/form_builder.h"

#include "resources/pictures.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace {

// The smallest a caption is shrunk to, still readable.
constexpr qreal SmallestCaptionPoints = 6.0;

bool showsWholeCaption(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        if (label->text().isEmpty())
            return true;
        const QFontMetrics metrics(label->font());
        // Some faces draw the underline below their descent.
        const int underline = label->font().underline() ? metrics.ascent() + metrics.underlinePos() + metrics.lineWidth() : 0;
        const int height = label->wordWrap() ? label->heightForWidth(label->width()) : metrics.height();
        const int width = label->wordWrap() ? 0 : metrics.horizontalAdvance(label->text());
        return width <= label->width() && std::max(height, underline) <= label->height();
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->sizeHint().width() <= button->width();
    return true;
}

void shrinkUntilWhole(QWidget *control)
{
    QFont font = control->font();
    while (!showsWholeCaption(control) && font.pointSizeF() - 0.25 >= SmallestCaptionPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
        control->setFont(font);
    }
}

// Captions change without an event of their own; every change repaints.
class CaptionFitter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            shrinkUntilWhole(static_cast<QWidget *>(watched));
        return false;
    }
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
    if (!qobject_cast<QLabel *>(control) && !qobject_cast<QAbstractButton *>(control))
        return;
    shrinkUntilWhole(control);
    control->installEventFilter(new CaptionFitter(control));
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
