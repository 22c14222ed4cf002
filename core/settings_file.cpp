#include "core/settings_file.h"

#include "core/number_rules.h"
#include "core/window_placement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <charconv>
#include <cmath>

bool FileExists(const QString &Pathname, std::int16_t Attrib)
{
    const QFileInfo info(Pathname);
    if (info.isDir())
        return Attrib & DirectoryAttribute;
    if (!info.isFile())
        return false;
    return !info.isHidden() || (Attrib & HiddenAttribute);
}

QString settingsFilePath()
{
    // Without a current directory (it was removed) the path would fall back
    // to the root folder, which is not where the program was started.
    const QString directory = QDir::currentPath();
    if (directory.isEmpty())
        return {};
    return directory + QStringLiteral("/KDM.cfg"); // Qt's separator on every system
}

std::vector<SettingsEntry> generalSettings(const QByteArray &content)
{
    // Each byte is one character, so no byte sequence can break the reading.
    const QString text = QString::fromLatin1(content);
    std::vector<SettingsEntry> entries;
    bool inGeneral = false;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\r', start);
        if (end < 0)
            end = text.size();
        const QStringView line = QStringView(text).mid(start, end - start);
        start = end + 1;
        if (start < text.size() && text[start] == u'\n')
            ++start;

        if (line == u"[GENERAL SETTINGS]") {
            inGeneral = true;
        } else if (inGeneral) {
            const qsizetype equals = line.indexOf(u'=');
            if (equals >= 0)
                entries.push_back({line.left(equals).toString(), line.mid(equals + 1).toString()});
        }
    }
    return entries;
}

QByteArray readSettingsFile(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    QByteArray content = file.read(SettingsReadLimit + 1);
    if (content.size() > SettingsReadLimit) {
        // The file goes on beyond the cap: its last line read may be cut
        // short, so only lines that end within the cap count.
        content.truncate(SettingsReadLimit);
        content.truncate(content.lastIndexOf('\r') + 1);
    }
    return content;
}

std::optional<float> positionFromText(const QString &value)
{
    const double twips = ReadNumber(value);
    if (!std::isfinite(twips) || std::abs(twips) > MaxWindowCoordinateTwips)
        return std::nullopt;
    return float(twips);
}

QString formatPosition(float twips)
{
    // As C's "%.7G", but independent of the locale.
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, double(twips + 0.0f), std::chars_format::general, 7);
    return QString::fromLatin1(text, end - text).toUpper();
}

QByteArray settingsFileContent(const QString &unitCode, float left, float top)
{
    const QString lines = QStringLiteral("[GENERAL SETTINGS]\r\n") + QStringLiteral("Units=") + unitCode + QStringLiteral("\r\n")
        + QStringLiteral("LeftPosition=") + formatPosition(left) + QStringLiteral("\r\n") + QStringLiteral("TopPosition=")
        + formatPosition(top) + QStringLiteral("\r\n");
    return lines.toLatin1();
}

namespace {

// Rewrites the file itself, for a folder that takes no new file. Nothing is
// emptied first: the new bytes go over the old ones, and when not all of
// them can be written the old bytes go back over them, so the old file
// stays as it was.
bool rewriteInPlace(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    const qint64 oldSize = file.size();
    const QByteArray overwritten = file.read(content.size());
    if (overwritten.size() != qMin(oldSize, qint64(content.size())) || !file.seek(0))
        return false;
    if (file.write(content) != content.size()) {
        file.seek(0);
        file.write(overwritten);
        file.resize(oldSize);
        return false;
    }
    return file.resize(content.size());
}

} // namespace

bool writeSettingsFile(const QString &path, const QByteArray &content)
{
    if (path.isEmpty())
        return false;
    // Only an ordinary file (or a link to one) is ever read, so nothing else
    // of that name (a folder, pipe, socket or device) is replaced either.
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isFile())
        return false;
    // A file that nobody may write to was made so on purpose; even where the
    // user could replace it, it is left as it is.
    if (existing.isFile() && !(existing.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)))
        return false;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return existing.isFile() && rewriteInPlace(path, content);
    // Writes are buffered, so a full disk or a size limit shows only here;
    // a short temporary file must never be renamed over the old one.
    if (file.write(content) != content.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
