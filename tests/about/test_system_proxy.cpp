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
    QTest::addColumn<QByteArray>("proxy"); // empty: a direct connection

    const QString version = QStringLiteral("http://www.quorvel.example/KDM/KDM.ver");
    const QByteArray proxy = "proxy:8080";
    QTest::newRow("no proxy") << "" << "" << version << QByteArray();
    QTest::newRow("one for every scheme") << "proxy:8080" << "" << version << proxy;
    QTest::newRow("per scheme: http") << "http=web:80;https=secure:443" << "" << version << QByteArray("web:80");
    QTest::newRow("per scheme: https") << "HTTP=web:80 HTTPS=secure:443" << "" << "https://www.quorvel.example/" << QByteArray("secure:443");
    QTest::newRow("per scheme, none for http") << "https=secure:443;ftp=files:21" << "" << version << QByteArray();
    // The bypass list as the system's own browser matches it.
    QTest::newRow("bypassed: the name, in any case") << "proxy:8080" << "intranet;WWW.Quorvel.Example" << version << QByteArray();
    QTest::newRow("not bypassed: a name below a name") << "proxy:8080" << "quorvel.example" << version << proxy;
    QTest::newRow("bypassed: a name below *.name") << "proxy:8080" << "*.example" << version << QByteArray();
    QTest::newRow("not bypassed: the name of *.name") << "proxy:8080" << "*.quorvel.example"
                                                      << "http://quorvel.example/KDM/KDM.ver" << proxy;
    QTest::newRow("bypassed: an address range") << "proxy:8080" << "10.*; 192.168.*.*" << "http://192.168.1.20/KDM/KDM.ver"
                                                << QByteArray();
    QTest::newRow("not bypassed: other entries") << "proxy:8080" << "*.example.com; quorvel;10.*;<-loopback>;*.corp.*" << version
                                                 << proxy;
    QTest::newRow("<local> for a name with a dot") << "proxy:8080" << "<local>" << version << proxy;
    QTest::newRow("<local> for a name without") << "proxy:8080" << "<local>" << "http://updates/KDM.ver" << QByteArray();
}

void SystemProxyTest::proxyFromSettings()
{
    QFETCH(QString, proxyList);
    QFETCH(QString, bypassList);
    QFETCH(QString, address);
    QFETCH(QByteArray, proxy);

    QCOMPARE(::proxyFromSettings(proxyList, bypassList, QUrl(address)), proxy);
}

QTEST_GUILESS_MAIN(SystemProxyTest)
#include "test_system_proxy.moc"
