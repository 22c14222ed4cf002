// The radius boxes while the user types: one group at a time, whole text
// selected on focus, Enter walking the boxes and calculating.
#include "main_window/Form1.h"

#include "forms/text_box.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>

namespace {
constexpr char16_t Enter = 13;

// The mouse, the Tab key (either way) and the program give a box the focus.
// The window becoming active again, a closed menu and the menu bar only hand
// back the focus it had, and leave its caret and selection as they were.
bool receivesTheFocus(Qt::FocusReason reason)
{
    return reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
        || reason == Qt::OtherFocusReason;
}

} // namespace

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    const auto box = std::find(Text1.begin(), Text1.end(), watched);
    if (box == Text1.end())
        return QMainWindow::eventFilter(watched, event);
    const auto index = std::int16_t(box - Text1.begin());

    if (event->type() == QEvent::FocusIn && receivesTheFocus(static_cast<QFocusEvent *>(event)->reason())) {
        Text1_GotFocus(index);
        // The mouse press that gave the focus goes on to place the cursor,
        // which clears the selection: select again once it has.
        if (static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason)
            QTimer::singleShot(0, *box, [this, index] { Text1_GotFocus(index); });
    } else if (event->type() == QEvent::KeyPress) {
        // Every character key, Enter included; none is held back.
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        for (QChar character : typed)
            Text1_KeyPress(index, character.unicode());
    }
    return false;
}

void Form1::Text1_Change(std::int16_t index)
{
    if (ChangingText)
        return;
    if (index >= 0 && index <= 2) {
        ChangingText = true;
        Text1[4]->setText(QString());
        ChangingText = false;
    } else if (index == 4) {
        ChangingText = true;
        Text1[0]->setText(QString());
        Text1[1]->setText(QString());
        Text1[2]->setText(QString());
        ChangingText = false;
    }
}

void Form1::Text1_GotFocus(std::int16_t index)
{
    TextBox *box = Text1[index];
    box->setSelection(0, int(box->text().size()));
}

void Form1::Text1_KeyPress(std::int16_t index, char16_t keyCode)
{
    if (keyCode != Enter)
        return;
    switch (index) {
    case 0:
    case 1:
        Text1[index + 1]->setFocus(Qt::OtherFocusReason);
        break;
    case 2:
        Command1_Click();
        break;
    case 4:
        Command1_Click();
        Text1[4]->setText(QString());
        break;
    default: // the result box
        break;
    }
}
