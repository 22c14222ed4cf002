// The browser view against a web site of the test's own on loopback, and the
// title it reads from a document.
#include "about/WebBrowser.h"
#include "about/curl_library.h"
#include "about/html_title.h"
#include "about/version_check.h"
#include "core/version_rules.h"
#include "loopback_http_server.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdarg>
#include <memory>

using namespace std::chrono_literals;
using namespace version_check;

namespace {

const QString versionFile = versionFileAddress();
const QByteArray versionTarget = versionFile.toLatin1();
const QString movedFile = QString(versionFile).replace(QStringLiteral("KDM.ver"), QStringLiteral("moved.ver"));

QByteArray padded(qsizetype size)
{
    return QByteArray(size, 'x').prepend("<p>").append("</p>");
}

// `piece` again and again, `count` times: a server that never stops, bounded.
std::function<QByteArray()> repeated(const QByteArray &piece, int count)
{
    auto left = std::make_shared<int>(count);
    return [piece, left] { return (*left)-- > 0 ? piece : QByteArray(); };
}

QByteArray chunk(const QByteArray &data)
{
    return QByteArray::number(data.size(), 16) + "\r\n" + data + "\r\n";
}

QByteArray chunkedHead(int status = 200)
{
    return "HTTP/1.1 " + QByteArray::number(status) + " Test\r\nContent-Type: text/html\r\nTransfer-Encoding: chunked\r\n\r\n";
}

// A whole page sent in chunks of `size` bytes.
QByteArray chunkedPage(const QByteArray &body, qsizetype size)
{
    QByteArray answer = chunkedHead();
    for (qsizetype at = 0; at < body.size(); at += size)
        answer += chunk(body.mid(at, size));
    return answer + "0\r\n\r\n";
}

// A gzip stream of `text` and then about a gigabyte of zeros, made as it is
// sent: one fixed-Huffman deflate block of 258-byte copies, 13 bits each.
std::function<QByteArray()> gzipBomb(const QByteArray &text)
{
    struct Bits
    {
        QByteArray out;
        quint32 bits = 0;
        int count = 0;
        void put(quint32 value, int width) // least significant bit first
        {
            bits |= value << count;
            for (count += width; count >= 8; count -= 8, bits >>= 8)
                out += char(bits & 0xff);
        }
        void code(quint32 value, int width) // Huffman codes: most significant bit first
        {
            quint32 reversed = 0;
            for (int i = 0; i < width; ++i)
                reversed |= ((value >> i) & 1) << (width - 1 - i);
            put(reversed, width);
        }
    };
    auto bits = std::make_shared<Bits>();
    bits->out = QByteArray::fromHex("1f8b0800000000000003");
    bits->put(0, 1); // not the last block
    bits->put(1, 2); // fixed Huffman codes
    for (const char c : text + '\0')
        bits->code(0x30 + quint8(c), 8); // literals below 144
    auto pieces = std::make_shared<int>(100);
    return [bits, pieces] {
        if ((*pieces)-- <= 0)
            return QByteArray();
        for (int i = 0; i < 40000; ++i) { // about 10 MB inflated
            bits->code(0xc5, 8); // length 258
            bits->code(0, 5); // distance 1
        }
        return std::exchange(bits->out, QByteArray());
    };
}

// `data` as a zlib stream, the "deflate" content coding.
QByteArray deflated(const QByteArray &data)
{
    return qCompress(data).sliced(4); // without Qt's length in front
}

// `data` (less than 64 KiB) as a gzip stream of one stored block.
QByteArray gzipped(const QByteArray &data)
{
    quint32 crc = 0xffffffff;
    for (const char c : data) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320 & (0u - (crc & 1)));
    }
    crc = ~crc;
    const auto littleEndian = [](quint32 value, int bytes) {
        QByteArray out;
        for (int i = 0; i < bytes; ++i)
            out += char((value >> (8 * i)) & 0xff);
        return out;
    };
    const auto length = quint32(data.size());
    return QByteArray::fromHex("1f8b080000000000000301") + littleEndian(length, 2) + littleEndian(~length, 2) + data
        + littleEndian(crc, 4) + littleEndian(length, 4);
}

// `data` (less than 64 KiB) as a zstd frame of one raw block.
QByteArray zstdStored(const QByteArray &data)
{
    const auto header = quint32(data.size()) << 3 | 1; // the last block, raw
    return QByteArray::fromHex("28b52ffd0030") + char(header & 0xff) + char(header >> 8 & 0xff) + char(header >> 16) + data;
}

// The loaded libcurl's setopt, except that it refuses `option`.
struct Refusing
{
    static inline const CurlLibrary *library = nullptr;
    static inline CURLoption option{};

    static CURLcode easy_setopt(CURL *easy, CURLoption chosen, ...)
    {
        if (chosen == option)
            return CURLE_UNKNOWN_OPTION;
        va_list arguments;
        // An enumeration before the "...", as in libcurl's own declaration.
#ifdef __clang__
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wvarargs"
#endif
        va_start(arguments, chosen);
#ifdef __clang__
#pragma clang diagnostic pop
#endif
        CURLcode result = CURLE_OK;
        if (chosen < CURLOPTTYPE_OBJECTPOINT)
            result = library->easy_setopt(easy, chosen, va_arg(arguments, long));
        else if (chosen >= CURLOPTTYPE_OFF_T && chosen < CURLOPTTYPE_BLOB)
            result = library->easy_setopt(easy, chosen, va_arg(arguments, curl_off_t));
        else // strings, data and functions, all passed as pointers
            result = library->easy_setopt(easy, chosen, va_arg(arguments, void *));
        va_end(arguments);
        return result;
    }
};

// VmRSS or VmHWM of this process, in KiB.
qint64 memoryKiB(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Starts VmHWM afresh from the current VmRSS.
void resetPeakMemory()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

} // namespace

Q_DECLARE_METATYPE(HttpAnswer)

class WebBrowserTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void htmlTitle_data();
    void htmlTitle();
    void styleSheetsAreNotRead();

    void noDocumentBeforeTheFirstLoad();
    void answers_data();
    void answers();
    void unloadableAddresses_data();
    void unloadableAddresses();
    void refusedConnection();
    void stalledTransfer();
    void slowAnswer();
    void longDocumentIsCutWithoutWaitingForTheRest();
    void redirects_data();
    void redirects();
    void hostileServers_data();
    void hostileServers();
    void sameAddressJoinsTheLoadInFlight();
    void otherAddressReplacesTheLoadInFlight();
    void replacedRefusalIsNeverReported();
    void eachFinishedLoadIsReported();
    void stopDropsTheLoadSilently();
    void destroyedWhileLoading();
    void stopDuringNameLookup();

private:
    // Navigates and waits for the one notification of the load.
    QString load(WebBrowser &view, const QString &address);

    LoopbackHttpServer server_;
};

void WebBrowserTest::initTestCase()
{
    server_.useAsProxy();
}

void WebBrowserTest::init()
{
    server_.clear();
    server_.useAsProxy();
}

QString WebBrowserTest::load(WebBrowser &view, const QString &address)
{
    QSignalSpy completed(&view, &WebBrowser::DocumentComplete);
    view.Navigate(address);
    [&] { QCOMPARE(completed.size(), 0); }(); // never from inside Navigate
    if (!completed.wait(10000))
        return QStringLiteral("(no notification)");
    QTest::qWait(50); // room for a second, wrong notification
    if (completed.size() != 1)
        return QStringLiteral("(%1 notifications)").arg(completed.size());
    return view.DocumentTitle().value_or(QStringLiteral("(no document)"));
}

void WebBrowserTest::htmlTitle_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << QByteArray("<html><head><title>2012.0831.2343</title></head></html>") << QByteArray()
                           << "2012.0831.2343";
    QTest::newRow("white space collapsed and trimmed")
        << QByteArray("<title>\n\t 2013.0101.0000 \r\n  beta\f</title>") << QByteArray() << "2013.0101.0000 beta";
    QTest::newRow("white space collapsed beside a lone surrogate")
        << QByteArray("\xff\xfe<\0t\0i\0t\0l\0e\0>\0 \0a\0\t\0 \0\x00\xd8<\0/\0t\0i\0t\0l\0e\0>\0", 42) << QByteArray()
        << QStringLiteral("a ") + QChar(0xd800);
    QTest::newRow("no-break spaces kept") << QByteArray("<title>&nbsp;a&#160;b&nbsp;</title>") << QByteArray()
                                          << QString::fromUtf8("\u00a0a\u00a0b\u00a0");
    QTest::newRow("entities decoded") << QByteArray("<title>&lt;img src=&quot;x.png&quot;&gt; &amp; &#x41;&#66;</title>")
                                      << QByteArray() << "<img src=\"x.png\"> & AB";
    QTest::newRow("upper-case element") << QByteArray("<HTML><HEAD><TITLE>Upper</TITLE></HEAD></HTML>") << QByteArray()
                                        << "Upper";
    QTest::newRow("no title") << QByteArray("<html><body>2012.0831.2343</body></html>") << QByteArray() << "";
    QTest::newRow("not HTML at all") << QByteArray("2012.0831.2343\n") << QByteArray("text/plain") << "";
    QTest::newRow("empty document") << QByteArray() << QByteArray() << "";
    QTest::newRow("markup in the title is text") << QByteArray("<title>2013<img src=x>.0101</title><title>2</title>") << QByteArray()
                                                 << "2013<img src=x>.0101";
    QTest::newRow("end tag in any case, attributes")
        << QByteArray("<script>t='<title>no</title>'</script><TITLE lang=\"a>b\">&lt;b&gt; x</tItLe >") << QByteArray() << "<b> x";
    QTest::newRow("title without end tag") << QByteArray("<title>2013.0101.0000 <p>") << QByteArray() << "2013.0101.0000 <p>";
    QTest::newRow("not a title element") << QByteArray("<titles>a</titles><title>b</title>") << QByteArray() << "b";
    QTest::newRow("title in a comment") << QByteArray("<!-- <title>old</title> --><title>new</title>") << QByteArray()
                                        << "new";
    QTest::newRow("charset from the header") << QByteArray("<title>caf\xe9</title>")
                                             << QByteArray("text/html; charset=ISO-8859-1") << QString::fromUtf8("café");
    QTest::newRow("charset from the document") << QByteArray("<meta charset=\"ISO-8859-1\"><title>caf\xe9</title>")
                                               << QByteArray("text/html") << QString::fromUtf8("café");
    QTest::newRow("UTF-8 otherwise") << QByteArray("<title>caf\xc3\xa9</title>") << QByteArray("text/html")
                                     << QString::fromUtf8("café");
}

void WebBrowserTest::htmlTitle()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, contentType);
    QFETCH(QString, expected);
    QCOMPARE(htmlDocumentTitle(body, contentType), expected);
}

// A page that names a local file as its style sheet must not make the
// program read it (think of a device that never ends).
void WebBrowserTest::styleSheetsAreNotRead()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    QFile sheet(directory.filePath("sheet.css"));
    QVERIFY(sheet.open(QIODevice::WriteOnly));
    sheet.write("p { color: red }");
    // An access time older than the last change is updated by any read.
    const QDateTime longAgo = QDateTime::currentDateTime().addDays(-2).addMSecs(-QTime::currentTime().msec());
    QVERIFY(sheet.setFileTime(longAgo, QFileDevice::FileAccessTime));
    sheet.close();
    const QString url = QUrl::fromLocalFile(sheet.fileName()).toString();

    const QByteArray page = "<html><head><link rel=\"stylesheet\" href=\"" + url.toUtf8() + "\"><style>@import url(" + url.toUtf8()
        + ");</style><title>2012.0831.2343</title></head></html>";
    QCOMPARE(htmlDocumentTitle(page, "text/html"), QStringLiteral("2012.0831.2343"));
    QCOMPARE(QFileInfo(sheet.fileName()).fileTime(QFileDevice::FileAccessTime), longAgo);
}

void WebBrowserTest::noDocumentBeforeTheFirstLoad()
{
    WebBrowser view;
    QVERIFY(!view.DocumentTitle());
}

void WebBrowserTest::answers_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QString>("expectedTitle");

    const QByteArray none;
    QTest::newRow("current") << 200 << LoopbackHttpServer::page("2012.0831.2343") << none << "2012.0831.2343";
    QTest::newRow("newer") << 200 << LoopbackHttpServer::page("2013.0101.0000") << none << "2013.0101.0000";
    QTest::newRow("older") << 200 << LoopbackHttpServer::page("2012.0831.2342") << none << "2012.0831.2342";
    QTest::newRow("markup and entities") << 200 << LoopbackHttpServer::page(" 2013.0101.0000\n&amp; &lt;b&gt;beta&lt;/b&gt; ")
                                         << none << "2013.0101.0000 & <b>beta</b>";
    QTest::newRow("no title") << 200 << QByteArray("<html><body>2012.0831.2343</body></html>") << none << "";
    QTest::newRow("served as plain text") << 200 << QByteArray("<title>2012.0831.2343</title>")
                                          << QByteArray("Content-Type: text/plain") << "2012.0831.2343";
    QTest::newRow("404") << 404 << LoopbackHttpServer::page("Server's own page") << none << NotFoundTitle.toString();
    QTest::newRow("410") << 410 << LoopbackHttpServer::page("Gone") << none << CannotDisplayTitle.toString();
    QTest::newRow("500") << 500 << LoopbackHttpServer::page("Oops") << none << CannotDisplayTitle.toString();
    QTest::newRow("503") << 503 << QByteArray() << none << CannotDisplayTitle.toString();
    QTest::newRow("5 MB document") << 200 << LoopbackHttpServer::page("2013.0101.0000") + padded(5 * 1024 * 1024) << none
                                   << "2013.0101.0000";
    QTest::newRow("title beyond the first 64 KiB is not read")
        << 200 << padded(WebBrowser::BodyLimit) + LoopbackHttpServer::page("2013.0101.0000") << none << "";
    QTest::newRow("404 with a long page") << 404 << padded(1024 * 1024) << none << NotFoundTitle.toString();
}

void WebBrowserTest::answers()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, header);
    QFETCH(QString, expectedTitle);

    HttpAnswer answer{status, body};
    if (!header.isEmpty())
        answer.headers << header;
    server_.setAnswer(versionFile, answer);
    WebBrowser view;
    QCOMPARE(load(view, versionFile), expectedTitle);
    QCOMPARE(server_.requests, QList<QByteArray>{versionTarget});
}

void WebBrowserTest::unloadableAddresses_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("start address") << "http:///";
    QTest::newRow("no host") << "http://";
    QTest::newRow("not a web address") << "ftp://www.quorvel.example/KDM/KDM.ver";
    QTest::newRow("local file") << "file:///etc/hostname";
    QTest::newRow("relative") << "KDM.ver";
    QTest::newRow("empty") << "";
}

// Refused by the view itself, reported later like any page, and never sent.
void WebBrowserTest::unloadableAddresses()
{
    QFETCH(QString, address);
    WebBrowser view;
    QCOMPARE(load(view, address), NavigationCanceledTitle.toString());
    QVERIFY(server_.requests.isEmpty());
}

void WebBrowserTest::refusedConnection()
{
    LoopbackHttpServer::useClosedPortAsProxy();
    WebBrowser view;
    QCOMPARE(load(view, versionFile), CannotDisplayTitle.toString());
}

void WebBrowserTest::stalledTransfer()
{
    server_.setAnswer(versionFile, HttpAnswer{.silent = true});
    WebBrowser view;
    view.setTimeLimit(300ms);
    QCOMPARE(load(view, versionFile), CannotDisplayTitle.toString());
    QTRY_COMPARE(server_.abandoned, 1);
}

// Slower than the version check's one-second tick, well within the stall limit.
void WebBrowserTest::slowAnswer()
{
    server_.setPage(versionFile, "2013.0101.0000", 2500ms);
    WebBrowser view;
    QCOMPARE(load(view, versionFile), QStringLiteral("2013.0101.0000"));
}

// A document announced as 5 MB of which 100 KiB arrive: what the view reads
// is there, so it finishes without waiting for a rest that never comes.
void WebBrowserTest::longDocumentIsCutWithoutWaitingForTheRest()
{
    const QByteArray body = LoopbackHttpServer::page("2013.0101.0000") + padded(5 * 1024 * 1024);
    server_.setAnswer(versionFile, HttpAnswer{.body = body, .sendOnly = 100 * 1024});
    WebBrowser view;
    view.setTimeLimit(60s);
    QCOMPARE(load(view, versionFile), QStringLiteral("2013.0101.0000"));
    QTRY_COMPARE(server_.abandoned, 1);
}

void WebBrowserTest::redirects_data()
{
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("expectedTitle");
    QTest::newRow("to another file") << movedFile << "2013.0101.0000";
    QTest::newRow("relative") << "/KDM/moved.ver" << "2013.0101.0000";
}

void WebBrowserTest::redirects()
{
    QFETCH(QString, location);
    QFETCH(QString, expectedTitle);
    server_.setAnswer(versionFile, HttpAnswer{.status = 302, .headers = {"Location: " + location.toLatin1()}});
    server_.setPage(movedFile, "2013.0101.0000");
    WebBrowser view;
    QCOMPARE(load(view, versionFile), expectedTitle);
    // A few hops at most (Qt may retry one on a fresh connection), far from
    // Qt's own limit of 50.
    QVERIFY(server_.requests.size() <= 2 * (1 + WebBrowser::RedirectLimit));
}

// Whatever a server sends, the load ends by its limits with memory growing
// less than the bound, and its connection is closed within a second.
void WebBrowserTest::hostileServers_data()
{
    QTest::addColumn<HttpAnswer>("answer");
    QTest::addColumn<int>("timeLimit"); // ms; 0: the whole version check, with the view's own limit
    QTest::addColumn<QString>("expected"); // the title, or the check's outcome
    QTest::addColumn<int>("deadline"); // ms
    QTest::addColumn<int>("memoryBound"); // MiB
    QTest::addColumn<int>("refusedOption"); // a libcurl setting that fails, or 0

    const QString cannotDisplay = CannotDisplayTitle.toString();
    const QByteArray page = LoopbackHttpServer::page("2013.0101.0000");
    const QByteArray longPage = page + padded(200 * 1000);
    const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(page.size()) + "\r\n\r\n";
    const auto flood = [](const QByteArray &raw, const QByteArray &piece) {
        return HttpAnswer{.raw = raw, .more = repeated(piece, 1024 * 1024 * 1024 / int(piece.size()))};
    };
    const auto redirect = [](const QByteArray &location) { return HttpAnswer{.status = 302, .headers = {"Location: " + location}}; };

    QTest::newRow("endless status line") << flood("HTTP/1.1 200 ", QByteArray(64 * 1024, 'x')) << 2000 << cannotDisplay << 2000 << 20 << 0;
    QTest::newRow("endless header block")
        << flood("HTTP/1.1 200 OK\r\n", QByteArray("X-Filler: " + QByteArray(54, 'a') + "\r\n").repeated(1024)) << 2000
        << cannotDisplay << 2000 << 20 << 0;
    QTest::newRow("endless chunked body") << flood(chunkedHead() + chunk(page), chunk(QByteArray(16 * 1024, 'x'))) << 2000
                                          << "2013.0101.0000" << 2000 << 20 << 0;
    QTest::newRow("endless chunked 404") << flood(chunkedHead(404), chunk(QByteArray(1000, 'x'))) << 2000
                                         << NotFoundTitle.toString() << 2000 << 20 << 0;
    for (const int size : {1000, 2048, 16000, 32768})
        QTest::addRow("200 KB chunked in %d-byte chunks", size)
            << HttpAnswer{.raw = chunkedPage(longPage, size)} << int(WebBrowser::DefaultTimeLimit.count()) << "2013.0101.0000"
            << 2000 << 20 << 0;
    QTest::newRow("gzip bomb") << HttpAnswer{.raw = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Encoding: gzip\r\n\r\n",
                                             .more = gzipBomb(page)}
                               << 2000 << "2013.0101.0000" << 2000 << 20 << 0;
    QTest::newRow("headers one byte a second") << HttpAnswer{.more = repeated(head + page, 1), .chunk = 1, .pace = 1000ms} << 1500 << cannotDisplay
                                               << 2500 << 20 << 0;
    QTest::newRow("reset mid-body") << HttpAnswer{.raw = head + page.left(40), .reset = true} << 2000 << cannotDisplay << 2000 << 20 << 0;
    QTest::newRow("not HTTP") << HttpAnswer{.raw = "SSH-2.0-OpenSSH_9.2\r\n"} << 2000 << cannotDisplay << 2000 << 20 << 0;
    QTest::newRow("401 asking for credentials")
        << HttpAnswer{.status = 401, .body = page, .headers = {"WWW-Authenticate: Basic realm=\"x\""}} << 2000 << cannotDisplay
        << 2000 << 20 << 0;
    QTest::newRow("redirect loop") << redirect(versionTarget) << 2000 << cannotDisplay << 2000 << 20 << 0;
    QTest::newRow("redirect to a local file") << redirect("file:///etc/hostname") << 2000 << cannotDisplay << 2000 << 20 << 0;
    QTest::newRow("redirect to https, nobody there") << redirect("https://www.quorvel.example/KDM/KDM.ver") << 2000 << cannotDisplay
                                                     << 2000 << 20 << 0;
    QTest::newRow("redirect with a blank Location, its body held back")
        << HttpAnswer{.status = 302, .body = page, .headers = {"Location: \t"}, .sendOnly = 0} << int(WebBrowser::DefaultTimeLimit.count())
        << cannotDisplay << 1000 << 20 << 0;
    // A proxy that sends the check on to the https site and answers its
    // CONNECT there endlessly. libcurl reads that answer byte by byte, and
    // the event loop must never wait 50 ms for it.
    const auto tunnelAnswered = [&redirect](const HttpAnswer &tunnel) {
        HttpAnswer answer = redirect("https://www.quorvel.example/KDM/KDM.ver");
        answer.tunnel = std::make_shared<HttpAnswer>(tunnel);
        return answer;
    };
    const QByteArray refusal = "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic realm=\"proxy\"\r\n";
    const QByteArray refusalLength = refusal + "Content-Length: 1000000000000\r\n\r\n";
    const QByteArray block(64 * 1024, 'x');
    QTest::newRow("407 to CONNECT, endless body") << tunnelAnswered({.raw = refusalLength, .more = repeated(block, 256)}) << 0
                                                  << unreachableText() << 10500 << 20 << 0;
    QTest::newRow("407 to CONNECT, endless chunked body")
        << tunnelAnswered({.raw = refusal + "Transfer-Encoding: chunked\r\n\r\n", .more = repeated(chunk(block), 256)}) << 0
        << unreachableText() << 10500 << 20 << 0;
    QTest::newRow("200 to CONNECT, endless header block")
        << tunnelAnswered(flood("HTTP/1.1 200 Connection established\r\n", QByteArray("X-Filler: " + QByteArray(54, 'a') + "\r\n").repeated(1024)))
        << 0 << unreachableText() << 10500 << 20 << 0;
    QTest::newRow("407 to CONNECT, 2 MB/s")
        << tunnelAnswered({.raw = refusalLength, .more = repeated(block, 256), .chunk = 20000, .pace = 10ms}) << 0 << unreachableText()
        << 10500 << 20 << 0;
    QTest::newRow("right-to-left override in the title")
        << HttpAnswer{.body = LoopbackHttpServer::page("2013\xe2\x80\xae.0101")} << 2000 << QString::fromUtf8("2013\u202E.0101")
        << 2000 << 20 << 0;
    QTest::newRow("markup in the title") << HttpAnswer{.body = LoopbackHttpServer::page("2013<img src=x>.0101")} << 2000
                                         << "2013<img src=x>.0101" << 2000 << 20 << 0;
    // A byte of the document every half second never stalls; the reset comes
    // after 13 s. The
    // load's own time limit ends it before the check's ten ticks.
    QTest::newRow("trickle, then a reset after 13 s")
        << HttpAnswer{.raw = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n",
                      .more = repeated(QByteArray(26, 'x'), 1),
                      .chunk = 1,
                      .pace = 500ms,
                      .reset = true}
        << 0 << unreachableText()
        << 10500 << 20 << 0;
    // One time limit for the whole load, its redirects together.
    QTest::newRow("slow redirect to a file that never comes")
        << HttpAnswer{.status = 302, .headers = {"Location: /KDM/moved.ver"}, .delay = 1000ms} << 1500 << cannotDisplay << 2000
        << 20 << 0;
    QTest::newRow("deflate inside deflate")
        << HttpAnswer{.body = deflated(deflated(page)), .headers = {"Content-Encoding: deflate, deflate"}} << 2000 << cannotDisplay
        << 2000 << 20 << 0;
    QTest::newRow("gzip inside gzip")
        << HttpAnswer{.body = gzipped(gzipped(page)), .headers = {"Content-Encoding: gzip", "Content-Encoding: gzip"}} << 2000
        << cannotDisplay << 2000 << 20 << 0;
    // Transfer codings count with content codings: one layer of gzip at most.
    const auto codedPage = [](const QByteArray &codings, const QByteArray &body) {
        return HttpAnswer{.raw = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n" + codings + "\r\n" + chunk(body) + "0\r\n\r\n"};
    };
    QTest::newRow("gzip as transfer coding")
        << codedPage("Transfer-Encoding: gzip, chunked\r\n", gzipped(page)) << 2000 << "2013.0101.0000" << 2000 << 20 << 0;
    QTest::newRow("zstd four times as transfer coding")
        << codedPage("Transfer-Encoding: zstd, zstd, zstd, zstd, chunked\r\n", zstdStored(zstdStored(zstdStored(zstdStored(page)))))
        << 2000 << cannotDisplay << 2000 << 20 << 0;
    QTest::newRow("gzip four times as transfer coding, on two lines")
        << codedPage("Transfer-Encoding: gzip, gzip\r\nTransfer-Encoding: gzip, gzip, chunked\r\n", gzipped(gzipped(gzipped(gzipped(page)))))
        << 2000 << cannotDisplay << 2000 << 20 << 0;
    QTest::newRow("gzip as content and as transfer coding")
        << codedPage("Content-Encoding: gzip\r\nTransfer-Encoding: gzip, chunked\r\n", gzipped(gzipped(page))) << 2000 << cannotDisplay
        << 2000 << 20 << 0;
    // Bytes that are neither header nor document count as well.
    QTest::newRow("chunk extension without end") << flood(chunkedHead() + "10;ext=", QByteArray(64 * 1024, 'a')) << 4000
                                                 << cannotDisplay << 1500 << 20 << 0;
    QTest::newRow("redirect with an endless body")
        << flood("HTTP/1.1 301 Moved\r\nLocation: /KDM/moved.ver\r\nContent-Length: 100000000000\r\n\r\n", QByteArray(64 * 1024, 'x'))
        << 4000 << cannotDisplay << 1500 << 20 << 0;
    QTest::newRow("redirect with an endless chunked body")
        << flood("HTTP/1.1 302 Found\r\nLocation: /KDM/moved.ver\r\nTransfer-Encoding: chunked\r\n\r\n", chunk(QByteArray(16 * 1024, 'x')))
        << 4000 << cannotDisplay << 1500 << 20 << 0;
    QTest::newRow("endless 100 Continue answers") << flood({}, QByteArray("HTTP/1.1 100 Continue\r\n\r\n").repeated(1000)) << 4000
                                                  << cannotDisplay << 1500 << 20 << 0;
    QTest::newRow("two different lengths")
        << HttpAnswer{.raw = head.first(head.size() - 2) + "Content-Length: 5\r\n\r\n" + page} << 2000 << cannotDisplay << 2000 << 20 << 0;
    // Only the status line at the start of an answer starts a new one.
    QTest::newRow("header lines that start with HTTP/")
        << HttpAnswer{.raw = head.first(17) + QByteArray("HTTP/1.1-Filler: " + QByteArray(60, 'a') + "\r\n").repeated(1000) + head.sliced(17) + page}
        << 2000 << cannotDisplay << 2000 << 20 << 0;
    // The title's end lies beyond the cap, inside the chunk that crosses it.
    QTest::newRow("last chunk crosses the 64 KiB cap")
        << HttpAnswer{.raw = chunkedPage(padded(WebBrowser::BodyLimit - 33) + page, 1000)} << 2000 << "2013.01" << 2000 << 20 << 0;
    QTest::newRow("title of 32,000 accents")
        << HttpAnswer{.body = LoopbackHttpServer::page("2013.0101.0000 a" + QByteArray("\xcc\x81").repeated(32000))} << 0
        << QString::fromUtf8("Version 2013.0101.0000 \u2026 is available") << 3000 << 20 << 0;
    // As an older libcurl refuses a setting it does not know.
    QTest::newRow("libcurl refuses a limit") << HttpAnswer{.body = page} << 0 << unreachableText() << 3000 << 20
                                             << int(CURLOPT_REDIR_PROTOCOLS_STR);
}

void WebBrowserTest::hostileServers()
{
    QFETCH(HttpAnswer, answer);
    QFETCH(int, timeLimit);
    QFETCH(QString, expected);
    QFETCH(int, deadline);
    QFETCH(int, memoryBound);
    QFETCH(int, refusedOption);

    const CurlLibrary *const loaded = curlLibrary();
    QVERIFY(loaded);
    CurlLibrary refusing = *loaded;
    if (refusedOption != 0) {
        Refusing::library = loaded;
        Refusing::option = CURLoption(refusedOption);
        refusing.easy_setopt = &Refusing::easy_setopt;
        replaceCurlLibrary(&refusing);
    }
    const auto restore = qScopeGuard([loaded] { replaceCurlLibrary(loaded); });

    server_.setAnswer(versionFile, answer);
    server_.setAnswer(movedFile, HttpAnswer{.silent = true}); // where redirects lead
    if (answer.tunnel)
        server_.setAnswer(QStringLiteral("www.quorvel.example:443"), *answer.tunnel);
    const qint64 before = memoryKiB("VmRSS");
    resetPeakMemory();
    // The longest time the event loop was held, as a timer sees it.
    QElapsedTimer sinceTick;
    qint64 longestStall = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    connect(&ticker, &QTimer::timeout, &ticker, [&] { longestStall = std::max(longestStall, sinceTick.restart()); });
    sinceTick.start();
    ticker.start(5);
    {
        WebBrowser view;
        if (timeLimit > 0) {
            QSignalSpy completed(&view, &WebBrowser::DocumentComplete);
            view.setTimeLimit(std::chrono::milliseconds(timeLimit));
            view.Navigate(versionFile);
            QVERIFY(completed.wait(deadline));
            QCOMPARE(view.DocumentTitle(), expected);
        } else {
            // The About window's check, on its real one-second timer.
            QLabel CheckVersion(connectingText()), TimerCounter;
            QTimer Timer1;
            Timer1.setInterval(1000);
            VersionCheck check(CheckVersion, TimerCounter, Timer1, view);
            connect(&Timer1, &QTimer::timeout, &view, [&check] { check.Timer1_Timer(); });
            connect(&view, &WebBrowser::DocumentComplete, &view, [&check] { check.WebBrowser1_DocumentComplete(); });
            view.Navigate(QStringLiteral("http:///"));
            Timer1.start();
            QTRY_COMPARE_WITH_TIMEOUT(CheckVersion.text(), expected, deadline);
            // The tick after an outcome stops the timer; the outcome stays.
            QTRY_VERIFY_WITH_TIMEOUT(!Timer1.isActive(), 1100);
            QCOMPARE(CheckVersion.text(), expected);
        }
        // Nothing left open: no late page can follow.
        QTRY_COMPARE_WITH_TIMEOUT(server_.open, 0, 1000);
    }
    const qint64 growth = memoryKiB("VmHWM") - before;
    QVERIFY2(growth < memoryBound * 1024, qPrintable(QStringLiteral("memory grew by %1 KiB").arg(growth)));
    // libcurl reads a proxy's answer to CONNECT inside one call.
    if (answer.tunnel)
        QVERIFY2(longestStall < 50, qPrintable(QStringLiteral("the event loop was held for %1 ms").arg(longestStall)));
    for (const QByteArray &head : std::as_const(server_.heads))
        QVERIFY(!head.toLower().contains("authorization:"));
}

// The version check asks again every second while a slow answer is on its
// way: the load in flight is joined, not restarted.
void WebBrowserTest::sameAddressJoinsTheLoadInFlight()
{
    server_.setPage(versionFile, "2013.0101.0000", 300ms);
    WebBrowser view;
    QSignalSpy completed(&view, &WebBrowser::DocumentComplete);
    view.Navigate(versionFile);
    QTRY_COMPARE(server_.requests.size(), 1);
    view.Navigate(versionFile);
    view.Navigate(versionFile);
    QVERIFY(completed.wait(5000));
    QTest::qWait(400);
    QCOMPARE(completed.size(), 1);
    QCOMPARE(view.DocumentTitle(), QStringLiteral("2013.0101.0000"));
    QCOMPARE(server_.requests.size(), 1);
    QCOMPARE(server_.abandoned, 0);
}

void WebBrowserTest::otherAddressReplacesTheLoadInFlight()
{
    const QString other = QStringLiteral("http://www.quorvel.example/KDM/other.ver");
    server_.setPage(versionFile, "2013.0101.0000", 300ms);
    server_.setPage(other, "other");
    WebBrowser view;
    QSignalSpy completed(&view, &WebBrowser::DocumentComplete);
    view.Navigate(versionFile);
    QTRY_COMPARE(server_.requests.size(), 1);
    view.Navigate(other);
    QVERIFY(completed.wait(5000));
    QTest::qWait(500); // past the first answer's delay
    QCOMPARE(completed.size(), 1);
    QCOMPARE(view.DocumentTitle(), QStringLiteral("other"));
    QCOMPARE(server_.abandoned, 1);
}

// The start address's refusal must not end a check that has moved on.
void WebBrowserTest::replacedRefusalIsNeverReported()
{
    server_.setPage(versionFile, "2012.0831.2343");
    WebBrowser view;
    QSignalSpy completed(&view, &WebBrowser::DocumentComplete);
    view.Navigate(QStringLiteral("http:///"));
    view.Navigate(versionFile);
    QVERIFY(completed.wait(5000));
    QTest::qWait(50);
    QCOMPARE(completed.size(), 1);
    QCOMPARE(view.DocumentTitle(), QStringLiteral("2012.0831.2343"));
}

void WebBrowserTest::eachFinishedLoadIsReported()
{
    server_.setPage(versionFile, "2012.0831.2343");
    WebBrowser view;
    QCOMPARE(load(view, versionFile), QStringLiteral("2012.0831.2343"));
    QCOMPARE(load(view, versionFile), QStringLiteral("2012.0831.2343"));
    QCOMPARE(server_.requests.size(), 2);
}

void WebBrowserTest::stopDropsTheLoadSilently()
{
    server_.setPage(versionFile, "2012.0831.2343", 200ms);
    WebBrowser view;
    QSignalSpy completed(&view, &WebBrowser::DocumentComplete);
    view.Navigate(versionFile);
    QTRY_COMPARE(server_.requests.size(), 1);
    view.Stop();
    QTRY_COMPARE(server_.abandoned, 1);
    QTest::qWait(300);
    QCOMPARE(completed.size(), 0);
    QVERIFY(!view.DocumentTitle());
}

void WebBrowserTest::destroyedWhileLoading()
{
    server_.setPage(versionFile, "2012.0831.2343", 200ms);
    auto view = std::make_unique<WebBrowser>();
    view->Navigate(versionFile);
    QTRY_COMPARE(server_.requests.size(), 1);
    view.reset();
    QTRY_COMPARE(server_.abandoned, 1);
    QTest::qWait(300); // the answer's time passes without a crash
}

// Closing the About window during a name lookup must not wait for it. Run
// with the slow lookup preloaded (see CMakeLists.txt); otherwise skipped, as
// it would ask a real name server.
void WebBrowserTest::stopDuringNameLookup()
{
    if (!qEnvironmentVariable("LD_PRELOAD").contains(QLatin1String("slow_name_lookup")))
        QSKIP("needs the slow name lookup preloaded");
    WebBrowser::setProxy({});
    WebBrowser view;
    QSignalSpy completed(&view, &WebBrowser::DocumentComplete);
    view.Navigate(versionFile);
    QTest::qWait(200);
    QElapsedTimer stopping;
    stopping.start();
    view.Stop();
    QVERIFY2(stopping.elapsed() < 1000, "Stop waited for the lookup");
    QCOMPARE(completed.size(), 0);
}

QTEST_MAIN(WebBrowserTest)
#include "test_web_browser.moc"
