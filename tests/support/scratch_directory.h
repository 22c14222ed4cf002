#pragma once

#include <QDir>
#include <QTemporaryDir>

// A fresh, empty working directory for one test; the previous one comes back
// when it goes. The test checks isValid() before it relies on it.
class ScratchDirectory
{
public:
    ScratchDirectory()
        : previous_(QDir::currentPath()), valid_(directory_.isValid() && QDir::setCurrent(directory_.path()))
    {
    }
    ~ScratchDirectory() { QDir::setCurrent(previous_); }

    bool isValid() const { return valid_; }
    QString path() const { return directory_.path(); }
    QString filePath(const QString &name) const { return directory_.filePath(name); }

private:
    QString previous_;
    QTemporaryDir directory_;
    bool valid_;
};
