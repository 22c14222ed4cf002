#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// The settings file "KDM.cfg": its place, its format, and how it is read and
// replaced. Nothing here knows about windows.

// File attributes that a search admits besides ordinary files.
enum FileAttribute : std::int16_t {
    HiddenAttribute = 2,
    DirectoryAttribute = 16,
};

// Whether Pathname names an ordinary file, or a directory or hidden file that
// Attrib admits. Devices, pipes and sockets are never found.
bool FileExists(const QString &Pathname, std::int16_t Attrib);

// "KDM.cfg" in the current working directory, built afresh at each call.
// Empty when there is no current working directory (it was removed): then
// there is no settings file to read or write.
QString settingsFilePath();

// One "key=value" line of the general section, split at its first "=";
// neither side is trimmed.
struct SettingsEntry
{
    QString key;
    QString value;
};

// The key lines that follow the exact header line "[GENERAL SETTINGS]", in
// file order. Lines end at CR or CR LF (a bare LF is part of the line); a last
// line without an end counts. Lines without "=" carry no key and are skipped.
std::vector<SettingsEntry> generalSettings(const QByteArray &content);

// The settings file's bytes as far as they are read: nothing that we write
// comes near this size, and only the start of a larger file is read, so that
// start-up stays instant. A line that runs on beyond the cap is left out, cut
// as it is. Empty when the file cannot be opened.
inline constexpr qint64 SettingsReadLimit = 1 << 20;
QByteArray readSettingsFile(const QString &path);

// A window position read from the file, in twips, or nothing when the value
// is not finite or lies beyond what the window system can place.
std::optional<float> positionFromText(const QString &value);

// A position in general notation with up to 7 significant digits, always
// with a period: "1500", "-120", "7147.5", "1.234568E+07".
QString formatPosition(float twips);

// The whole file: header, units and both positions, each line ended by CR LF.
QByteArray settingsFileContent(const QString &unitCode, float left, float top);

// Replaces the file with `content` so that it is never left half written: a
// temporary file renamed over it, or, where the folder allows no new file but
// the file itself is writable, the file rewritten in place. A save that
// cannot write every byte (a full disk, a file-size limit) leaves the old
// file byte for byte. A file without any write permission is left alone, and
// so is anything of that name that is not an ordinary file (or a link to
// one). Returns whether the content was stored.
bool writeSettingsFile(const QString &path, const QByteArray &content);
