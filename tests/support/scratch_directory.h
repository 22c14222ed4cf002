#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// A fresh, empty working directory for one test; the previous one comes back
// when it goes.
class ScratchDirectory
{
public:
    ScratchDirectory() : previous_(QDir::currentPath())
    {
        QVERIFY2(directory_.isValid(), "cannot create a temporary directory");
        QVERIFY(QDir::setCurrent(directory_.path()));
    }
    ~ScratchDirectory() { QDir::setCurrent(previous_); }

    QString path() const { return directory_.path(); }
    QString filePath(const QString &name) const { return directory_.filePath(name); }

private:
    QString previous_;
    QTemporaryDir directory_;
};
