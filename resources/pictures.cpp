#include "resources/pictures.h"

#include <QDir>
#include <QImageReader>
#include <algorithm>

namespace pictures {

QIcon programIcon()
{
    const QDir directory(QStringLiteral(":/icon"));
    QList<std::pair<QSize, QString>> files;
    for (const QString &name : directory.entryList(QDir::Files)) {
        const QString path = directory.filePath(name);
        // Only the header is read here; Qt loads a size when it is asked for.
        files.append({QImageReader(path).size(), path});
    }
    std::sort(files.begin(), files.end(),
              [](const auto &a, const auto &b) { return a.first.width() < b.first.width(); });
    QIcon icon;
    for (const auto &[size, path] : files)
        icon.addFile(path, size);
    return icon;
}

QPixmap sharpPixmap(const QString &path, QSize size, qreal devicePixelRatio)
{
    QString twice = path;
    twice.insert(path.lastIndexOf(u'.'), QStringLiteral("@2x"));
    QIcon picture;
    picture.addFile(path, size);
    picture.addFile(twice, size * 2);
    return picture.pixmap(size, devicePixelRatio);
}

} // namespace pictures
