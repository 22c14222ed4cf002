#pragma once

#include <QByteArray>
#include <QString>

class QUrl;

// Windows only: the way the user's Internet settings send a request, as
// libcurl takes it.
struct SystemProxy
{
    // "host:port" of the proxy, or empty for a direct connection.
    QByteArray proxy;
    // The hosts that bypass the proxy, as libcurl's comma-separated list.
    QByteArray noProxy;
};

// What the settings' proxy list ("host:port", or per scheme
// "http=host:port;https=host:port") and bypass list ("*.example.com;
// 10.*;<local>") mean for a request of `url`.
SystemProxy proxyFromSettings(const QString &proxyList, const QString &bypassList, const QUrl &url);

// The proxy that the user's Internet settings name for `url`. Proxy
// auto-configuration scripts are not run.
SystemProxy systemProxyFor(const QUrl &url);
