#include "settings/settings_file.h"

#include "main_window/number_rules.h"
#include "main_window/window_placement.h"

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
    return QDir::currentPath() + QDir::separator() + QStringLiteral("KDM.cfg");
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
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(SettingsReadLimit);
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

bool writeSettingsFile(const QString &path, const QByteArray &content)
{
    // A file that nobody may write to was made so on purpose; even where the
    // user could replace it, it is left as it is.
    const QFileInfo existing(path);
    if (existing.isFile() && !(existing.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)))
        return false;

    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(content);
    return file.commit();
}
