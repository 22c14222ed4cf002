#include "forms/link_label.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {

class AccessibleLink : public QAccessibleWidget
{
public:
    explicit AccessibleLink(LinkLabel *link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override
    {
        QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty())
            text = static_cast<const LinkLabel *>(widget())->text();
        return text;
    }

    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            static_cast<LinkLabel *>(widget())->activate();
        else
            QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface *accessibleLink(const QString &className, QObject *object)
{
    if (className == QLatin1String("LinkLabel") && object && object->isWidgetType())
        return new AccessibleLink(static_cast<LinkLabel *>(object));
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    static const bool installed = (QAccessible::installFactory(accessibleLink), true);
    (void)installed;
    // The keyboard's way in; a click opens the link without taking the focus.
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::activate()
{
    emit activated();
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && event->modifiers() == Qt::NoModifier) {
        activate();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect ring;
    ring.initFrom(this);
    ring.backgroundColor = palette().color(backgroundRole());
    const QRect textArea = style()->itemTextRect(fontMetrics(), contentsRect(), int(alignment()), isEnabled(), text());
    ring.rect = textArea.adjusted(-2, 0, 2, 0).intersected(rect());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, ring);
}
