#pragma once

#include "forms/text_box.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

// The main window's controls, found by the names of its layout.
namespace form1 {

template <typename Control = QWidget>
Control *control(const QWidget &form, const QString &name)
{
    auto *found = form.findChild<Control *>(name);
    if (!found)
        qFatal("no control named %s", qPrintable(name));
    return found;
}

inline TextBox *text1(const QWidget &form, int index)
{
    return control<TextBox>(form, QStringLiteral("Text1(%1)").arg(index));
}

inline QLabel *label1(const QWidget &form, int index)
{
    return control<QLabel>(form, QStringLiteral("Label1(%1)").arg(index));
}

inline QRadioButton *option(const QWidget &form, int array, int index)
{
    return control<QRadioButton>(form, QStringLiteral("Option%1(%2)").arg(array).arg(index));
}

inline QGroupBox *frame(const QWidget &form, const char *name)
{
    return control<QGroupBox>(form, QString::fromLatin1(name));
}

// Clicks that take a window in state "M" to the unit state named by its
// code, as a user would: the unit mode, then (for "IM") distance Imperial.
inline void chooseUnits(const QWidget &form, const QString &code)
{
    if (code == QLatin1String("I")) {
        QTest::mouseClick(option(form, 1, 1), Qt::LeftButton);
    } else if (code == QLatin1String("MI") || code == QLatin1String("IM")) {
        QTest::mouseClick(option(form, 1, 0), Qt::LeftButton);
        if (code == QLatin1String("IM"))
            QTest::mouseClick(option(form, 2, 0), Qt::LeftButton);
    }
}

inline void clickCalculate(const QWidget &form)
{
    QTest::mouseClick(control<QPushButton>(form, QStringLiteral("Command1")), Qt::LeftButton);
}

} // namespace form1
