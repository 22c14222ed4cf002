#include "resources/pictures.h"

#include <QDir>
#include <QIconEngine>
#include <QPainter>
#include <QRegularExpression>
#include <iterator>
#include <map>

namespace {

// An icon drawn at several square sizes, each drawing read from its file
// only when a size is asked for: QIcon::addFile would decode every file at
// once, which cost start-up more than anything else the windows do.
class DrawnSizesEngine : public QIconEngine
{
public:
    explicit DrawnSizesEngine(std::map<int, QString> files) : files_(std::move(files)) {}

    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        if (files_.empty() || size.isEmpty())
            return {};
        // The smallest drawing at least as large as asked for, else the largest.
        auto file = files_.lower_bound(std::max(size.width(), size.height()));
        if (file == files_.end())
            file = std::prev(files_.end());
        QPixmap &drawn = drawings_[file->first];
        if (drawn.isNull())
            drawn.load(file->second);
        return drawn.size() == size ? drawn : drawn.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
        drawn.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, drawn);
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        if (files_.empty())
            return {};
        const int largest = std::prev(files_.end())->first;
        return size.boundedTo(QSize(largest, largest));
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const auto &file : files_)
            sizes.append(QSize(file.first, file.first));
        return sizes;
    }

    QIconEngine *clone() const override { return new DrawnSizesEngine(*this); }
    QString key() const override { return QStringLiteral("DrawnSizesEngine"); }

private:
    std::map<int, QString> files_; // by edge length in pixels
    std::map<int, QPixmap> drawings_;
};

} // namespace

namespace pictures {

QIcon programIcon()
{
    // "icon-16.png", "icon-22.png", ...: each name says its size.
    static const QRegularExpression sized(QStringLiteral("^icon-(\\d+)\\.png$"));
    const QDir directory(QStringLiteral(":/icon"));
    std::map<int, QString> files;
    for (const QString &name : directory.entryList(QDir::Files)) {
        if (const QRegularExpressionMatch match = sized.match(name); match.hasMatch())
            files.emplace(match.captured(1).toInt(), directory.filePath(name));
    }
    return QIcon(new DrawnSizesEngine(std::move(files)));
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
