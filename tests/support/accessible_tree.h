#pragma once

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QStringList>
#include <QWidget>

// The windows as a screen reader reads them, in process, through QAccessible.
namespace accessible {

// The interface of the control with that object name, found by walking the
// window's accessible tree from the top as a screen reader does; nullptr
// when the tree does not hold it.
inline QAccessibleInterface *find(QWidget *window, const QString &name)
{
    QList<QAccessibleInterface *> pending{QAccessible::queryAccessibleInterface(window)};
    while (!pending.isEmpty()) {
        QAccessibleInterface *node = pending.takeFirst();
        if (node->object() && node->object()->objectName() == name)
            return node;
        for (int index = 0; index < node->childCount(); ++index) {
            if (QAccessibleInterface *child = node->child(index))
                pending << child;
        }
    }
    return nullptr;
}

// The states a screen reader reports, as bits to compare in one go.
enum StateBit : unsigned { Disabled = 1, ReadOnly = 2, Checked = 4, Focusable = 8, Invisible = 16, Editable = 32 };

inline unsigned stateBits(const QAccessible::State &state)
{
    return (state.disabled ? Disabled : 0u) | (state.readOnly ? ReadOnly : 0u) | (state.checked ? Checked : 0u)
        | (state.focusable ? Focusable : 0u) | (state.invisible ? Invisible : 0u) | (state.editable ? Editable : 0u);
}

inline QString name(QObject *control)
{
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

// What a screen reader is told to speak: the name of each notification as it
// appears. Qt tells assistive technology that an object appeared when the
// widget is shown; this watches the same moment in every widget, since
// offscreen Qt passes no accessibility events on.
class Announcements : public QObject
{
public:
    Announcements() { qApp->installEventFilter(this); }

    QStringList spoken;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(watched);
            if (shown && shown->role() == QAccessible::Notification)
                spoken << shown->text(QAccessible::Name);
        }
        return false;
    }
};

} // namespace accessible
