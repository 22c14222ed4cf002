#pragma once

#include "about/browser_view.h"

#include <QUrl>
#include <QWidget>
#include <chrono>
#include <map>
#include <memory>
#include <optional>

class QSocketNotifier;
class QTimer;

// A minimal embedded browser view: it loads one address at a time over HTTP
// and knows the title of the document it loaded last. It shows nothing; the
// About window keeps it out of sight and only listens to it.
//
// Every load ends in exactly one DocumentComplete, always in a later turn of
// the event loop than the Navigate that started it, unless a newer Navigate,
// Stop or the view's destruction drops it first, silently. A failed load
// ends in a failure page with the titles of version_rules.h:
//  - "Navigation Canceled": an address that cannot be loaded at all (not a
//    valid http or https address with a host, such as "http:///");
//  - "HTTP 404 Not Found": the server has no such document;
//  - "Internet Explorer cannot display the webpage": anything else (no
//    connection, unknown host, refused or reset connection, the time limit,
//    too many redirects, a redirect without a usable Location, an oversized
//    header, more bytes than ReceiveLimit, conflicting lengths, content and
//    transfer codings other than chunked and one layer of gzip, any other
//    HTTP error status, a proxy that refuses a tunnel, a libcurl that keeps
//    reading inside one call for longer than CallLimit, a libcurl that
//    refuses one of the limits).
//
// Whatever a server sends, a load holds at most HeaderLimit bytes of each
// answer's header and BodyLimit bytes of the (decoded) document, receives at
// most ReceiveLimit bytes, and it ends by its time limit at the latest,
// redirects and all. A finished or dropped load leaves no connection open.
class WebBrowser : public QWidget, public BrowserView
{
    Q_OBJECT

public:
    // Only this much of a document is read; the load then ends with the
    // title of what it holds.
    static constexpr qsizetype BodyLimit = 64 * 1024;
    // Status line and header lines of one answer, and of all answers of a
    // load (its redirects included) together.
    static constexpr qsizetype HeaderLimit = 16 * 1024;
    static constexpr int RedirectLimit = 5;
    static constexpr qsizetype LoadHeaderLimit = (RedirectLimit + 1) * HeaderLimit;
    // Everything a load receives: headers, the bodies of redirects and of a
    // proxy's answers, chunk framing and all, before any decoding.
    static constexpr qsizetype ReceiveLimit = 1024 * 1024;
    // Long enough for a slow server. Short enough that a request made by the
    // version check's first tick has ended before the check's own ten-second
    // limit, so no failure page can follow the check's outcome.
    static constexpr std::chrono::milliseconds DefaultTimeLimit{8000};

    explicit WebBrowser(QWidget *parent = nullptr);
    ~WebBrowser() override;

    // Returns at once. The address already loading is joined, not restarted;
    // any other address replaces the load in flight.
    void Navigate(const QString &address) override;
    std::optional<QString> DocumentTitle() const override;

    // Drops the load in flight, if any, without a notification; its
    // connection is closed before this returns.
    void Stop();

    // How long a load may take from its Navigate to its end, all its
    // redirects together (for later loads).
    void setTimeLimit(std::chrono::milliseconds limit);

    // The proxy that every later load of every view goes through, written as
    // libcurl takes it ("http://127.0.0.1:8080"); empty for a direct
    // connection. Until it is set, loads use the desktop's proxy settings as
    // browsers do: on Windows the user's Internet settings; elsewhere libcurl
    // reads the conventional variables http_proxy, https_proxy, all_proxy and
    // no_proxy itself (the program reads none).
    static void setProxy(const QByteArray &address);

signals:
    void DocumentComplete();

private:
    struct Load;
    // libcurl's curl_socket_t, named without libcurl's header, which would
    // bring the system's socket headers to everything that includes this.
#ifdef Q_OS_WIN
    using CurlSocket = quintptr;
#else
    using CurlSocket = int;
#endif

    // How long one call into libcurl may go on reading byte by byte, the
    // event loop waiting, before the load ends. Such a loop calls back far
    // more often than LoopCallbacks; a call that takes one step after another
    // far less, so that a single slow step (a TLS handshake) is not cut short.
    static constexpr std::chrono::milliseconds CallLimit{20};
    static constexpr int LoopCallbacks = 64;

    // Set by setProxy; nothing until then.
    static std::optional<QByteArray> &proxy();

    // Sets up the load of `url` in libcurl with every limit; false when
    // libcurl is missing or refuses any of it (what it set up is then left
    // for Stop to clear).
    bool startLoad(const QUrl &url);
    // Ends the load of `url` with a failure page in a later turn of the
    // event loop, unless it is dropped first.
    void failLater(const QUrl &url, QStringView title);
    // libcurl's calls for the sockets and the timer it wants watched.
    static int onSocket(void *easy, CurlSocket socket, int what, void *view, void *);
    static int onTimer(void *multi, long milliseconds, void *view);
    void watchSocket(CurlSocket socket, int what);
    // Lets libcurl work on a socket that is ready (or on its timers) and
    // finishes the load when it is done.
    void drive(CurlSocket socket, int readiness);
    void finishLoad(const QString &title);

    // The load runs in libcurl's multi interface, driven from this thread's
    // event loop: no thread of its own, nothing to wait for. One per load.
    void *multi_ = nullptr;
    QTimer *curlTimer_ = nullptr;
    // The load's own time limit: libcurl's restarts with each redirect.
    QTimer *deadline_ = nullptr;
    std::map<CurlSocket, std::pair<QSocketNotifier *, QSocketNotifier *>> sockets_;
    std::unique_ptr<Load> load_;
    QUrl loadingUrl_;
    bool loading_ = false;
    // Changes whenever a load is dropped, so that its late refusal is too.
    quint64 loadNumber_ = 0;
    std::optional<QString> title_;
    std::chrono::milliseconds timeLimit_ = DefaultTimeLimit;
};
