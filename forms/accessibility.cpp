#include "forms/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTimer>

namespace {

const char *const keptOut = "keptOutOfAccessibility";

// A dialog as Qt presents it, less the children kept out.
class DialogWithoutHelpers : public QAccessibleWidget
{
public:
    explicit DialogWithoutHelpers(QWidget *dialog) : QAccessibleWidget(dialog, QAccessible::Dialog) {}

    int childCount() const override { return int(shownChildren().size()); }
    QAccessibleInterface *child(int index) const override { return shownChildren().value(index); }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return int(shownChildren().indexOf(const_cast<QAccessibleInterface *>(child)));
    }

private:
    QList<QAccessibleInterface *> shownChildren() const
    {
        QList<QAccessibleInterface *> children;
        for (int index = 0; index < QAccessibleWidget::childCount(); ++index) {
            QAccessibleInterface *child = QAccessibleWidget::child(index);
            if (child && !(child->object() && child->object()->property(keptOut).toBool()))
                children << child;
        }
        return children;
    }
};

QAccessibleInterface *formsInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("Announcer"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    if (className == QLatin1String("QDialog"))
        return new DialogWithoutHelpers(static_cast<QWidget *>(object));
    return nullptr;
}

void installFormsInterfaces()
{
    static const bool installed = (QAccessible::installFactory(formsInterface), true);
    Q_UNUSED(installed);
}

// Installed before the first announcer exists, so that no interface of an
// announcer can be made without it.
QWidget *withNotificationFactory(QWidget *window)
{
    installFormsInterfaces();
    return window;
}

} // namespace

void keepOutOfAccessibility(QWidget *helper)
{
    installFormsInterfaces();
    helper->setProperty(keptOut, true);
    helper->hide();
}

void notifyNameChanged(QWidget *control)
{
    QAccessibleEvent event(control, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

Announcer::Announcer(QWidget *window) : QWidget(withNotificationFactory(window))
{
    setObjectName(QStringLiteral("Announcer"));
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    pending_ = new QTimer(this);
    pending_->setSingleShot(true);
    pending_->setInterval(0);
    connect(pending_, &QTimer::timeout, this, &Announcer::appear);
}

void Announcer::announce(const QString &text)
{
    text_ = text.trimmed();
    if (text_.isEmpty())
        pending_->stop();
    else
        pending_->start();
}

void Announcer::appear()
{
    hide();
    setAccessibleName(text_);
    show();
}
