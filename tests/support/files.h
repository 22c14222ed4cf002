#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// Small files written and read by the tests, "KDM.cfg" in the working
// directory unless another path is named.
namespace files {

inline void write(const QByteArray &content, const QString &path = QStringLiteral("KDM.cfg"))
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(content), qint64(content.size()));
}

inline QByteArray read(const QString &path = QStringLiteral("KDM.cfg"))
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no readable file>");
}

} // namespace files
