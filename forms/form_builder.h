#pragma once

#include "core/twips.h"

#include <QFont>
#include <QObject>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

// The window member that holds a control built from a window's table, so
// that each control is named once, in its row, and never looked up again.
class ControlSlot
{
public:
    template <typename Control>
    ControlSlot(Control *&member) // NOLINT(google-explicit-constructor): rows read like the layout
        : assign_([&member](QObject *control) { member = qobject_cast<Control *>(control); })
    {
    }

    void store(QObject *control) const { assign_(control); }

private:
    std::function<void(QObject *)> assign_;
};

// Builds a window's controls from its table, in row order (later rows lie on
// top of earlier ones). Each row gives a name, optionally the name of its
// container (nullptr or none: the client area), Left, Top, Width and Height in twips from the
// container's corner, a tab index (-1: none) and the member it goes into;
// `create(row, container)` makes the control of the row's kind. Controls
// that cannot take the focus by Tab stay out of the tab chain.
template <typename Row, std::size_t Count, typename Create>
void buildControls(QWidget *client, const Row (&rows)[Count], Create create)
{
    std::vector<std::pair<int, QWidget *>> tabChain;
    for (const Row &row : rows) {
        QWidget *container = client;
        if constexpr (requires { row.container; }) {
            if (row.container)
                container = client->findChild<QWidget *>(QString::fromLatin1(row.container));
        }
        QObject *control = create(row, container);
        control->setObjectName(QString::fromLatin1(row.name));
        row.slot.store(control);
        auto *widget = qobject_cast<QWidget *>(control);
        if (!widget)
            continue; // a timer: no place on screen
        widget->setGeometry(pixelsFromTwips(row.left), pixelsFromTwips(row.top), pixelsFromTwips(row.width),
                            pixelsFromTwips(row.height));
        if (row.tabIndex >= 0 && (widget->focusPolicy() & Qt::TabFocus))
            tabChain.emplace_back(row.tabIndex, widget);
    }
    std::stable_sort(tabChain.begin(), tabChain.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabChain.size(); ++i)
        QWidget::setTabOrder(tabChain[i - 1].second, tabChain[i].second);
}

// The font of every window of the program: Arial 8.25 pt.
QFont windowFont();

// The face every window of the program shares: its font and the program's
// icon.
void setWindowFace(QWidget *window);
