#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Small files written and read by the tests, "KDM.cfg" in the working
// directory unless another path is named.
namespace files {

// Whether the whole content was written; the test checks it, so that a
// failed setup stops the test.
[[nodiscard]] inline bool write(const QByteArray &content, const QString &path = QStringLiteral("KDM.cfg"))
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

inline QByteArray read(const QString &path = QStringLiteral("KDM.cfg"))
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no readable file>");
}

} // namespace files
