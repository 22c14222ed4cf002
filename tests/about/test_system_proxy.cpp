// Windows only: what the user's Internet settings' proxy and bypass lists
// mean for the version check's request.
#include "about/system_proxy.h"

#include <QTest>
#include <QUrl>

class SystemProxyTest : public QObject
{
    Q_OBJECT

private slots:
    void proxyFromSettings_data();
    void proxyFromSettings();
};

void SystemProxyTest::proxyFromSettings_data()
{
    QTest::addColumn<QString>("proxyList");
    QTest::addColumn<QString>("bypassList");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("proxy");
    QTest::addColumn<QByteArray>("noProxy");

    const QString version = QStringLiteral("http://www.quorvel.example/KDM/KDM.ver");
    QTest::newRow("no proxy") << "" << "" << version << QByteArray() << QByteArray();
    QTest::newRow("one for every scheme") << "proxy:8080" << "" << version << QByteArray("proxy:8080") << QByteArray();
    QTest::newRow("per scheme: http") << "http=web:80;https=secure:443" << "" << version << QByteArray("web:80") << QByteArray();
    QTest::newRow("per scheme: https") << "HTTP=web:80 HTTPS=secure:443" << ""
                                       << "https://www.quorvel.example/" << QByteArray("secure:443") << QByteArray();
    QTest::newRow("per scheme, none for http") << "https=secure:443;ftp=files:21" << "" << version << QByteArray() << QByteArray();
    QTest::newRow("bypass list as libcurl's")
        << "proxy:8080" << "*.example.com; intranet;10.*;192.168.*.*;<-loopback>;*.corp.*" << version << QByteArray("proxy:8080")
        << QByteArray(".example.com,intranet,10.0.0.0/8,192.168.0.0/16");
    QTest::newRow("<local> for a name with a dot") << "proxy:8080" << "<local>" << version << QByteArray("proxy:8080") << QByteArray();
    QTest::newRow("<local> for a name without") << "proxy:8080" << "<local>" << "http://updates/KDM.ver" << QByteArray() << QByteArray();
}

void SystemProxyTest::proxyFromSettings()
{
    QFETCH(QString, proxyList);
    QFETCH(QString, bypassList);
    QFETCH(QString, address);
    QFETCH(QByteArray, proxy);
    QFETCH(QByteArray, noProxy);

    const SystemProxy route = ::proxyFromSettings(proxyList, bypassList, QUrl(address));
    QCOMPARE(route.proxy, proxy);
    QCOMPARE(route.noProxy, noProxy);
}

QTEST_GUILESS_MAIN(SystemProxyTest)
#include "test_system_proxy.moc"
