#pragma once

#include <QString>

// Who the program is: the one place that names it, its maker and its version.
namespace identity {

inline constexpr const char *applicationTitle = "Ferrox SpdCalc";
inline constexpr const char *productName = "Ferrox Speed Calculator";
inline constexpr const char *programFileName = "FerroxSpdCalc";
inline constexpr const char *companyName = "Quorvel Software";
inline constexpr const char *fileDescription = "Calculate Max Speed of a Curve for Ferrox";
inline constexpr const char *fileComment = "This utility is for SIMULATOR USE ONLY";

inline constexpr int versionMajor = 2012;
inline constexpr int versionMinor = 831;
inline constexpr int versionRevision = 2343;

// Host name of the maker's web site, chosen when the program is configured.
inline constexpr const char *webHost = FERROX_WEB_HOST;

// Each version field with at least four digits, joined by ".": 2012.0831.2343.
inline QString localVersionText()
{
    const auto field = [](int value) { return QStringLiteral("%1").arg(value, 4, 10, QLatin1Char('0')); };
    return field(versionMajor) + u'.' + field(versionMinor) + u'.' + field(versionRevision);
}

} // namespace identity
