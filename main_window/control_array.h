#pragma once

#include <QString>
#include <QWidget>
#include <array>

// The members of a control array, found under `container` by the names the
// layout tables give them: "Text1(0)", "Text1(1)", ...
template <typename Control, std::size_t Count>
void collectControlArray(std::array<Control *, Count> &members, const QWidget *container, const char *arrayName)
{
    for (std::size_t index = 0; index < Count; ++index)
        members[index] = container->findChild<Control *>(QStringLiteral("%1(%2)").arg(QLatin1String(arrayName)).arg(index));
}
