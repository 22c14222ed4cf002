#include "about/system_proxy.h"

#include <QRegularExpression>
#include <QUrl>
#include <algorithm>
#include <windows.h>
#include <winhttp.h>

namespace {

const QRegularExpression listSeparators(QStringLiteral("[;\\s]+"));

QStringList entries(const QString &list)
{
    return list.split(listSeparators, Qt::SkipEmptyParts);
}

// Whether a bypass entry names `host`: names without a dot for <local>,
// otherwise the whole name, `*` standing for any characters.
bool bypasses(const QString &entry, const QString &host)
{
    if (entry.compare(u"<local>", Qt::CaseInsensitive) == 0)
        return !host.contains(u'.');
    return QRegularExpression::fromWildcard(entry, Qt::CaseInsensitive).match(host).hasMatch();
}

QString takeOwnership(LPWSTR text)
{
    if (!text)
        return {};
    const QString copy = QString::fromWCharArray(text);
    GlobalFree(text);
    return copy;
}

} // namespace

QByteArray proxyFromSettings(const QString &proxyList, const QString &bypassList, const QUrl &url)
{
    QString proxy;
    for (const QString &entry : entries(proxyList)) {
        const qsizetype equals = entry.indexOf(u'=');
        if (equals < 0 && proxy.isEmpty())
            proxy = entry; // the same proxy for every scheme
        else if (equals > 0 && entry.first(equals).compare(url.scheme(), Qt::CaseInsensitive) == 0)
            proxy = entry.mid(equals + 1);
    }
    const QStringList bypass = entries(bypassList);
    if (std::any_of(bypass.begin(), bypass.end(), [&url](const QString &entry) { return bypasses(entry, url.host()); }))
        return {};
    return proxy.toUtf8();
}

QByteArray systemProxyFor(const QUrl &url)
{
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG settings{};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&settings))
        return {};
    takeOwnership(settings.lpszAutoConfigUrl);
    const QString proxyList = takeOwnership(settings.lpszProxy);
    const QString bypassList = takeOwnership(settings.lpszProxyBypass);
    return proxyFromSettings(proxyList, bypassList, url);
}
