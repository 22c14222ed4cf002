#pragma once

#include "core/twips.h"

#include <QFont>
#include <QObject>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

// The class each kind of control in a window's table is built as; each window
// names its own, as in `template <> struct BuiltClass<Kind::Frame> { using type
// = QGroupBox; };`.
template <auto kind>
struct BuiltClass;

// A row's kind of control and the window member that holds the control, so
// that each control is named once, in its row, and never looked up again.
template <typename Kind>
struct KindAndMember
{
    Kind kind;
    std::function<void(QObject *)> store;
};

// `made<Kind::Label>(Label1)`: a member of another class than its kind is
// built as does not compile.
template <auto kind, typename Control>
KindAndMember<decltype(kind)> made(Control *&member)
{
    static_assert(std::is_same_v<typename BuiltClass<kind>::type, Control>,
                  "the member's class is not the class this kind of control is built as");
    return {kind, [&member](QObject *control) { member = qobject_cast<Control *>(control); }};
}

// The windows are laid out for Arial's metrics. Where a wider face stands in
// for Arial, a label or button whose caption would be cut shows it a little
// smaller instead: now, whenever its font, size or style changes, and at
// fitCaption.
void keepCaptionWhole(QWidget *control);

// Fits a caption kept whole again after the program has changed its text.
void fitCaption(QWidget *control);

// Builds a window's controls from its table, in row order (later rows lie on
// top of earlier ones). Each row gives a name, what it makes (`made`),
// optionally its container (a pointer to the member of an earlier row;
// nullptr or none: the client area), Left, Top, Width and Height in twips from
// the container's corner and a tab index (-1: none); `create(row, container)`
// makes the control of the row's kind. Controls that cannot take the focus by
// Tab stay out of the tab chain.
template <typename Row, std::size_t Count, typename Create>
void buildControls(QWidget *client, const Row (&rows)[Count], Create create)
{
    std::vector<std::pair<int, QWidget *>> tabChain;
    for (const Row &row : rows) {
        QWidget *container = client;
        if constexpr (requires { row.container; }) {
            if (row.container) {
                container = *row.container;
                if (!container)
                    qFatal("Control table: %s comes before its container", row.name);
            }
        }
        QObject *control = create(row, container);
        control->setObjectName(QString::fromLatin1(row.name));
        row.made.store(control);
        auto *widget = qobject_cast<QWidget *>(control);
        if (!widget)
            continue; // a timer: no place on screen
        widget->setGeometry(pixelsFromTwips(row.left), pixelsFromTwips(row.top), pixelsFromTwips(row.width),
                            pixelsFromTwips(row.height));
        keepCaptionWhole(widget);
        if (row.tabIndex >= 0 && (widget->focusPolicy() & Qt::TabFocus))
            tabChain.emplace_back(row.tabIndex, widget);
    }
    std::stable_sort(tabChain.begin(), tabChain.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabChain.size(); ++i)
        QWidget::setTabOrder(tabChain[i - 1].second, tabChain[i].second);
}

// The font of every window of the program: Arial 8.25 pt.
QFont windowFont();

// Keeps a window of fixed size in its normal state and at its size against
// maximise and full-screen requests from whatever asks, however often: Qt's
// own decorations on Wayland offer a maximise button whatever the window's
// flags, and window managers and tools send such requests too.
void keepNormalState(QWidget *window);

// The face every window of the program shares: its font and the program's
// icon.
void setWindowFace(QWidget *window);
