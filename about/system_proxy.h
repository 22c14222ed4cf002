#pragma once

#include <QByteArray>
#include <QString>

class QUrl;

// Windows only: the proxy that the user's Internet settings give a request,
// as libcurl takes it: "host:port", or empty for a direct connection.

// What the settings' proxy list ("host:port", or per scheme
// "http=host:port;https=host:port") and bypass list ("*.example.com;
// intranet;10.*;<local>") mean for a request of `url`. The bypass list is
// matched as the system's own browser matches it, which libcurl's no_proxy
// cannot express: an entry is the whole name, where `*` stands for any
// characters ("intranet" is that name only, "*.example.com" the names below
// example.com), and <local> is every name without a dot.
QByteArray proxyFromSettings(const QString &proxyList, const QString &bypassList, const QUrl &url);

// The proxy that the user's Internet settings name for `url`. Proxy
// auto-configuration scripts are not run.
QByteArray systemProxyFor(const QUrl &url);
