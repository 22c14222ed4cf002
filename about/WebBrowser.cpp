#include "about/WebBrowser.h"

#include "about/curl_library.h"
#include "about/html_title.h"
#ifdef Q_OS_WIN
#include "about/system_proxy.h"
#endif
#include "core/version_rules.h"

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <type_traits>
#include <utility>

namespace {

bool isLoadable(const QUrl &url)
{
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

// Only ever called once a load has libcurl.
const CurlLibrary &curl()
{
    return *curlLibrary();
}

QString failurePageFor(long status)
{
    return status == 404 ? version_check::NotFoundTitle.toString() : version_check::CannotDisplayTitle.toString();
}

bool isSuccess(long status)
{
    return status >= 200 && status <= 299;
}

} // namespace

struct WebBrowser::Load
{
    CURL *easy = nullptr;
    QByteArray body;
    bool bodyFull = false;
    qsizetype answerHeaderBytes = 0;
    qsizetype loadHeaderBytes = 0;
    bool answerHasLocation = false;
    // The page, once the final answer's status has decided it before the end.
    std::optional<QString> page;

    long status() const
    {
        long status = 0;
        curl().easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        return status;
    }

    // Called by libcurl once per header line of every answer (redirects
    // included); returning less than it was given ends the load.
    static size_t onHeaderLine(char *data, size_t size, size_t count, void *self)
    {
        Load &load = *static_cast<Load *>(self);
        const QByteArrayView line(data, qsizetype(size * count));
        if (line.startsWith("HTTP/")) {
            load.answerHeaderBytes = 0;
            load.answerHasLocation = false;
        }
        load.answerHeaderBytes += line.size();
        load.loadHeaderBytes += line.size();
        if (load.answerHeaderBytes > HeaderLimit || load.loadHeaderBytes > LoadHeaderLimit)
            return 0;
        if (line.size() >= 9 && line.first(9).compare("location:", Qt::CaseInsensitive) == 0)
            load.answerHasLocation = true;
        if (line == "\r\n" || line == "\n") {
            // The header is complete: a final error status decides the page
            // now, without waiting for a body that may never end.
            const long status = load.status();
            const bool followed = status / 100 == 3 && load.answerHasLocation;
            if (status >= 200 && !followed && !isSuccess(status)) {
                load.page = failurePageFor(status);
                return 0;
            }
        }
        return line.size();
    }

    // Called by libcurl with the decoded document as it arrives.
    static size_t onBody(char *data, size_t size, size_t count, void *self)
    {
        Load &load = *static_cast<Load *>(self);
        const long status = load.status();
        if (!isSuccess(status)) {
            load.page = failurePageFor(status);
            return 0;
        }
        const qsizetype length = qsizetype(size * count);
        load.body.append(data, std::min(length, BodyLimit - load.body.size()));
        if (load.body.size() < BodyLimit)
            return size_t(length);
        load.bodyFull = true; // the rest is never read
        return 0;
    }

    QString pageTitle(CURLcode result) const
    {
        if (page)
            return *page;
        if (!bodyFull && result != CURLE_OK)
            return version_check::CannotDisplayTitle.toString();
        if (!isSuccess(status()))
            return failurePageFor(status());
        const char *contentType = nullptr;
        curl().easy_getinfo(easy, CURLINFO_CONTENT_TYPE, &contentType);
        return htmlDocumentTitle(body, QByteArray(contentType));
    }
};

// Like any plain widget it takes no keyboard focus: out of sight, it must
// not take the focus away from CLOSE.
WebBrowser::WebBrowser(QWidget *parent) : QWidget(parent), curlTimer_(new QTimer(this))
{
    curlTimer_->setSingleShot(true);
    curlTimer_->setTimerType(Qt::PreciseTimer);
    connect(curlTimer_, &QTimer::timeout, this, [this] { drive(CURL_SOCKET_TIMEOUT, 0); });
}

WebBrowser::~WebBrowser()
{
    Stop();
}

void WebBrowser::Navigate(const QString &address)
{
    const QUrl url(address);
    if (loading_ && url == loadingUrl_)
        return;
    Stop();
    loading_ = true;
    loadingUrl_ = url;

    auto load = std::make_unique<Load>();
    if (isLoadable(url) && startCurl())
        load->easy = curl().easy_init();
    if (!load->easy) {
        // A host-less address would go to a proxy as it is, so it is refused
        // here, and reported from the event loop like any other page.
        const QStringView title = isLoadable(url) ? version_check::CannotDisplayTitle : version_check::NavigationCanceledTitle;
        QMetaObject::invokeMethod(
            this,
            [this, load = loadNumber_, title = title.toString()] {
                if (load == loadNumber_)
                    finishLoad(title);
            },
            Qt::QueuedConnection);
        return;
    }

    CURL *easy = load->easy;
    curl().easy_setopt(easy, CURLOPT_URL, url.toEncoded().constData());
    curl().easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl().easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl().easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl().easy_setopt(easy, CURLOPT_MAXREDIRS, long(RedirectLimit));
    curl().easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    // Every encoding libcurl can decode; the body limit counts decoded bytes.
    curl().easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "");
    curl().easy_setopt(easy, CURLOPT_TIMEOUT_MS, long(timeLimit_.count()));
    QByteArray proxyAddress = proxy();
    QByteArray noProxy;
#ifdef Q_OS_WIN
    // Without a proxy of its own the view goes the way the user's Internet
    // settings say, as the system's own browser does.
    if (proxyAddress.isEmpty()) {
        const SystemProxy system = systemProxyFor(url);
        proxyAddress = system.proxy;
        noProxy = system.noProxy;
    }
#endif
    curl().easy_setopt(easy, CURLOPT_PROXY, proxyAddress.constData());
    curl().easy_setopt(easy, CURLOPT_NOPROXY, noProxy.constData());
    curl().easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl().easy_setopt(easy, CURLOPT_NETRC, long(CURL_NETRC_IGNORED));
    // One connection per load, closed when the load ends.
    curl().easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
    curl().easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    // Dropping a load during a name lookup leaves the lookup's thread
    // behind instead of waiting for it.
    curl().easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
    curl().easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Load::onHeaderLine);
    curl().easy_setopt(easy, CURLOPT_HEADERDATA, load.get());
    curl().easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Load::onBody);
    curl().easy_setopt(easy, CURLOPT_WRITEDATA, load.get());
    load_ = std::move(load);
    // libcurl asks for its timer at once; the work starts in a later turn.
    curl().multi_add_handle(multi_, easy);
}

std::optional<QString> WebBrowser::DocumentTitle() const
{
    return title_;
}

void WebBrowser::Stop()
{
    ++loadNumber_;
    loading_ = false;
    if (const std::unique_ptr<Load> load = std::exchange(load_, nullptr)) {
        if (load->easy) {
            curl().multi_remove_handle(multi_, load->easy);
            curl().easy_cleanup(load->easy);
        }
    }
    // Between loads not even libcurl's own wake-up sockets stay open.
    if (void *multi = std::exchange(multi_, nullptr))
        curl().multi_cleanup(multi);
    curlTimer_->stop();
    for (const auto &[socket, notifiers] : std::exchange(sockets_, {})) {
        for (QSocketNotifier *notifier : {notifiers.first, notifiers.second}) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
}

bool WebBrowser::startCurl()
{
    if (!curlLibrary())
        return false;
    multi_ = curl().multi_init();
    if (!multi_)
        return false;
    curl().multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &WebBrowser::onSocket);
    curl().multi_setopt(multi_, CURLMOPT_SOCKETDATA, this);
    curl().multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &WebBrowser::onTimer);
    curl().multi_setopt(multi_, CURLMOPT_TIMERDATA, this);
    return true;
}

QByteArray &WebBrowser::proxy()
{
    static QByteArray address;
    return address;
}

void WebBrowser::setProxy(const QByteArray &address)
{
    proxy() = address;
}

void WebBrowser::setTimeLimit(std::chrono::milliseconds limit)
{
    timeLimit_ = limit;
}

int WebBrowser::onSocket(void *, CurlSocket socket, int what, void *view, void *)
{
    static_assert(std::is_same_v<CurlSocket, curl_socket_t>);
    static_cast<WebBrowser *>(view)->watchSocket(socket, what);
    return 0;
}

int WebBrowser::onTimer(void *, long milliseconds, void *view)
{
    QTimer *timer = static_cast<WebBrowser *>(view)->curlTimer_;
    if (milliseconds < 0)
        timer->stop();
    else
        timer->start(int(std::min(milliseconds, long(std::numeric_limits<int>::max()))));
    return 0;
}

void WebBrowser::watchSocket(CurlSocket socket, int what)
{
    if (what == CURL_POLL_REMOVE) {
        const auto watched = sockets_.find(socket);
        if (watched == sockets_.end())
            return;
        // Possibly called from inside one of these notifiers' own signal.
        for (QSocketNotifier *notifier : {watched->second.first, watched->second.second}) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
        sockets_.erase(watched);
        return;
    }
    auto &[reader, writer] = sockets_[socket];
    if (!reader) {
        reader = new QSocketNotifier(socket, QSocketNotifier::Read, this);
        writer = new QSocketNotifier(socket, QSocketNotifier::Write, this);
        connect(reader, &QSocketNotifier::activated, this, [this, socket] { drive(socket, CURL_CSELECT_IN); });
        connect(writer, &QSocketNotifier::activated, this, [this, socket] { drive(socket, CURL_CSELECT_OUT); });
    }
    reader->setEnabled(what == CURL_POLL_IN || what == CURL_POLL_INOUT);
    writer->setEnabled(what == CURL_POLL_OUT || what == CURL_POLL_INOUT);
}

void WebBrowser::drive(CurlSocket socket, int readiness)
{
    if (!multi_)
        return;
    int running = 0;
    curl().multi_socket_action(multi_, socket, readiness, &running);
    int waiting = 0;
    while (const CURLMsg *message = curl().multi_info_read(multi_, &waiting)) {
        if (message->msg == CURLMSG_DONE && load_ && message->easy_handle == load_->easy) {
            finishLoad(load_->pageTitle(message->data.result));
            return;
        }
    }
}

void WebBrowser::finishLoad(const QString &title)
{
    Stop(); // the load is done with, or cut off at a limit
    title_ = title;
    emit DocumentComplete();
}
