#include "forms/form_builder.h"

#include "resources/pictures.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
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

} // namespace

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
