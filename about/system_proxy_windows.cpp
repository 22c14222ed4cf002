#include "about/system_proxy.h"

#include <QRegularExpression>
#include <QUrl>
#include <windows.h>
#include <winhttp.h>

namespace {

const QRegularExpression listSeparators(QStringLiteral("[;\\s]+"));

QStringList entries(const QString &list)
{
    return list.split(listSeparators, Qt::SkipEmptyParts);
}

// One bypass entry as libcurl matches hosts: by name, then every name below
// it too, or by an address range. Empty when libcurl cannot express it.
QString noProxyEntry(QString entry)
{
    static const QRegularExpression addressPrefix(QStringLiteral("^((?:\\d{1,3}\\.){1,3})\\*(?:\\.\\*)*$"));
    if (const QRegularExpressionMatch prefix = addressPrefix.match(entry); prefix.hasMatch()) {
        // "10.*" is 10.0.0.0/8, "192.168.*" is 192.168.0.0/16.
        QStringList octets = prefix.captured(1).split(u'.', Qt::SkipEmptyParts);
        const qsizetype bits = octets.size() * 8;
        while (octets.size() < 4)
            octets.append(QStringLiteral("0"));
        return octets.join(u'.') + u'/' + QString::number(bits);
    }
    if (entry.startsWith(u'<'))
        return {}; // another of the settings' own words, such as <-loopback>
    if (entry.startsWith(u'*'))
        entry.remove(0, 1);
    if (entry.contains(u'*') || entry == u"." || entry.isEmpty())
        return {};
    return entry;
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

SystemProxy proxyFromSettings(const QString &proxyList, const QString &bypassList, const QUrl &url)
{
    QString proxy;
    for (const QString &entry : entries(proxyList)) {
        const qsizetype equals = entry.indexOf(u'=');
        if (equals < 0 && proxy.isEmpty())
            proxy = entry; // the same proxy for every scheme
        else if (equals > 0 && entry.first(equals).compare(url.scheme(), Qt::CaseInsensitive) == 0)
            proxy = entry.mid(equals + 1);
    }
    if (proxy.isEmpty())
        return {};

    QStringList noProxy;
    for (const QString &entry : entries(bypassList)) {
        // Names without a dot are the local network's.
        if (entry.compare(u"<local>", Qt::CaseInsensitive) == 0) {
            if (!url.host().contains(u'.'))
                return {};
        } else if (const QString host = noProxyEntry(entry); !host.isEmpty()) {
            noProxy.append(host);
        }
    }
    return {proxy.toUtf8(), noProxy.join(u',').toUtf8()};
}

SystemProxy systemProxyFor(const QUrl &url)
{
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG settings{};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&settings))
        return {};
    takeOwnership(settings.lpszAutoConfigUrl);
    const QString proxyList = takeOwnership(settings.lpszProxy);
    const QString bypassList = takeOwnership(settings.lpszProxyBypass);
    return proxyFromSettings(proxyList, bypassList, url);
}
