#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

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

#ifdef Q_OS_UNIX
// Runs `action` while no file may grow beyond `bytes`, as under a quota or a
// ulimit, and returns its result. The signal that the limit raises is
// ignored, so a write that goes too far fails instead of ending the test.
template <typename Action>
auto withFileSizeLimit(rlim_t bytes, Action action)
{
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limited{bytes, previous.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
    const auto result = action();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    return result;
}
#endif

} // namespace files
