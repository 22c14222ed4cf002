#include "about/WebBrowser.h"

#include "about/curl_library.h"
#include "about/html_title.h"
#ifdef Q_OS_WIN
#include "about/system_proxy.h"
#endif
#include "core/version_rules.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <optional>
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
    // The next header line starts an answer: at first, and after the header
    // of an interim answer or of a redirect that is followed.
    bool atAnswerStart = true;
    bool answerHasLocation = false;
    // The answer's Content-Length values, each once.
    QList<QByteArray> answerLengths;
    // Its content and transfer codings together.
    int answerGzipLayers = 0;
    bool answerHasOtherCoding = false;
    qsizetype bytesReceived = 0;
    // The call into libcurl under way: when it has run long enough, and how
    // often libcurl has called back in it.
    QDeadlineTimer callEnd;
    int callbacksInCall = 0;
    // The page, once the final answer's status has decided it before the end.
    std::optional<QString> page;

    long status() const
    {
        long status = 0;
        curl().easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        return status;
    }

    bool overBudget() const { return bytesReceived > ReceiveLimit; }

    void startAnswer()
    {
        answerHeaderBytes = 0;
        answerHasLocation = false;
        answerLengths.clear();
        answerGzipLayers = 0;
        answerHasOtherCoding = false;
    }

    // Notes what the answer's framing, coding and redirect headers say.
    void readHeaderLine(QByteArrayView line)
    {
        if (const std::optional<QByteArrayView> lengths = headerValue(line, "content-length")) {
            for (const QByteArray &length : lengths->toByteArray().split(',')) {
                bool number = false;
                const qulonglong value = length.trimmed().toULongLong(&number);
                const QByteArray normalised = number ? QByteArray::number(value) : length.trimmed();
                if (!answerLengths.contains(normalised))
                    answerLengths << normalised;
            }
        }
        // libcurl decodes what either header names, in any number of lines.
        const std::optional<QByteArrayView> transferCodings = headerValue(line, "transfer-encoding");
        if (const std::optional<QByteArrayView> codings = transferCodings ? transferCodings : headerValue(line, "content-encoding")) {
            for (const QByteArray &coding : codings->toByteArray().split(',')) {
                const QByteArray name = coding.trimmed().toLower();
                if (name == "gzip" || name == "x-gzip")
                    ++answerGzipLayers;
                else if (!name.isEmpty() && name != "identity" && !(transferCodings && name == "chunked"))
                    answerHasOtherCoding = true;
            }
        }
        // libcurl follows a Location that is not blank.
        if (const std::optional<QByteArrayView> location = headerValue(line, "location"); location && !location->trimmed().isEmpty())
            answerHasLocation = true;
    }

    // The value of a header line with this (lower-case) name, untrimmed.
    static std::optional<QByteArrayView> headerValue(QByteArrayView line, QByteArrayView name)
    {
        if (line.size() <= name.size() || line.at(name.size()) != ':'
            || line.first(name.size()).compare(name, Qt::CaseInsensitive) != 0)
            return std::nullopt;
        return line.sliced(name.size() + 1);
    }

    // Ends the load with the failure page; returned to libcurl, 0 ends it.
    size_t fail()
    {
        page = version_check::CannotDisplayTitle.toString();
        return 0;
    }

    // Called by libcurl once per header line of every answer (redirects and
    // trailers included); returning less than it was given ends the load.
    static size_t onHeaderLine(char *data, size_t size, size_t count, void *self)
    {
        Load &load = *static_cast<Load *>(self);
        const QByteArrayView line(data, qsizetype(size * count));
        if (load.overBudget())
            return load.fail();
        if (load.atAnswerStart && line.startsWith("HTTP/"))
            load.startAnswer();
        load.atAnswerStart = false;
        load.answerHeaderBytes += line.size();
        load.loadHeaderBytes += line.size();
        if (load.answerHeaderBytes > HeaderLimit || load.loadHeaderBytes > LoadHeaderLimit)
            return 0;
        load.readHeaderLine(line);
        if (line == "\r\n" || line == "\n") {
            const long status = load.status();
            const bool followed = status / 100 == 3 && load.answerHasLocation;
            load.atAnswerStart = status < 200 || followed;
            // Lengths that disagree leave the body's end unknown.
            if (load.answerLengths.size() > 1)
                return load.fail();
            // The header is complete: a final error status decides the page
            // now, without waiting for a body that may never end.
            if (status >= 200 && !followed && !isSuccess(status)) {
                load.page = failurePageFor(status);
                return 0;
            }
            // A version file needs no more than gzip; libcurl would decode
            // anything it knows, layer upon layer, inside one call.
            if (isSuccess(status) && (load.answerHasOtherCoding || load.answerGzipLayers > 1))
                return load.fail();
        }
        return line.size();
    }

    // Called by libcurl with the decoded document as it arrives.
    static size_t onBody(char *data, size_t size, size_t count, void *self)
    {
        Load &load = *static_cast<Load *>(self);
        if (load.overBudget())
            return load.fail();
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

    // Called by libcurl a few times in each call into it, and once for every
    // byte in one loop, which it runs for as long as bytes keep coming: the
    // reading of a proxy's answer to CONNECT, whose body it reads to the end
    // when the proxy asks for a password, and shows to nothing else. So each
    // call counts as a byte received; a refused tunnel ends the load at once
    // (libcurl would fail it, but only after that body), and so does a call
    // into libcurl that has gone round such a loop until its time is up.
    // Anything but 0 ends it.
    static int onProgress(void *self, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
    {
        Load &load = *static_cast<Load *>(self);
        ++load.bytesReceived;
        return load.overBudget() || load.tunnelRefused() || (++load.callbacksInCall > LoopCallbacks && load.callEnd.hasExpired());
    }

    // The proxy has answered the request for a tunnel with anything but
    // success: final, as libcurl offers a proxy's password (Basic, its only
    // scheme here) with the first request.
    bool tunnelRefused() const
    {
        long status = 0;
        curl().easy_getinfo(easy, CURLINFO_HTTP_CONNECTCODE, &status);
        return status != 0 && !isSuccess(status);
    }

    // Called by libcurl with everything it receives, as it arrives: the
    // only place that sees the bodies of redirects and chunk framing too.
    static int onTrace(CURL *, curl_infotype type, char *, size_t size, void *self)
    {
        if (type == CURLINFO_HEADER_IN || type == CURLINFO_DATA_IN)
            static_cast<Load *>(self)->bytesReceived += qsizetype(size);
        return 0;
    }

    QString pageTitle(CURLcode result) const
    {
        if (page)
            return *page;
        if (overBudget() || (!bodyFull && result != CURLE_OK))
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
WebBrowser::WebBrowser(QWidget *parent) : QWidget(parent), curlTimer_(new QTimer(this)), deadline_(new QTimer(this))
{
    curlTimer_->setSingleShot(true);
    curlTimer_->setTimerType(Qt::PreciseTimer);
    connect(curlTimer_, &QTimer::timeout, this, [this] { drive(CURL_SOCKET_TIMEOUT, 0); });
    deadline_->setSingleShot(true);
    connect(deadline_, &QTimer::timeout, this, [this] { finishLoad(version_check::CannotDisplayTitle.toString()); });
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
    // A host-less address would go to a proxy as it is, so it is refused
    // here, and reported from the event loop like any other page.
    if (!isLoadable(url)) {
        failLater(url, version_check::NavigationCanceledTitle);
        return;
    }
    if (!startLoad(url)) {
        Stop(); // never a load without every one of its limits
        failLater(url, version_check::CannotDisplayTitle);
        return;
    }
    loading_ = true;
    loadingUrl_ = url;
    deadline_->start(timeLimit_);
}

void WebBrowser::failLater(const QUrl &url, QStringView title)
{
    loading_ = true;
    loadingUrl_ = url;
    QMetaObject::invokeMethod(
        this,
        [this, load = loadNumber_, title = title.toString()] {
            if (load == loadNumber_)
                finishLoad(title);
        },
        Qt::QueuedConnection);
}

bool WebBrowser::startLoad(const QUrl &url)
{
    if (!curlLibrary())
        return false;
    multi_ = curl().multi_init();
    if (!multi_)
        return false;
    load_ = std::make_unique<Load>();
    CURL *easy = load_->easy = curl().easy_init();
    if (!easy)
        return false;
    const auto multiSet = [this](CURLMoption option, auto value) { return curl().multi_setopt(multi_, option, value) == CURLM_OK; };
    const auto set = [easy](CURLoption option, auto value) { return curl().easy_setopt(easy, option, value) == CURLE_OK; };
    std::optional<QByteArray> proxyAddress = proxy();
#ifdef Q_OS_WIN
    // Without a proxy of its own the view goes the way the user's Internet
    // settings say for the address, as the system's own browser does; its
    // redirects go the same way.
    if (!proxyAddress)
        proxyAddress = systemProxyFor(url);
#endif
    return multiSet(CURLMOPT_SOCKETFUNCTION, &WebBrowser::onSocket) && multiSet(CURLMOPT_SOCKETDATA, this)
        && multiSet(CURLMOPT_TIMERFUNCTION, &WebBrowser::onTimer) && multiSet(CURLMOPT_TIMERDATA, this)
        && set(CURLOPT_URL, url.toEncoded().constData()) && set(CURLOPT_PROTOCOLS_STR, "http,https")
        && set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https") && set(CURLOPT_FOLLOWLOCATION, 1L)
        && set(CURLOPT_MAXREDIRS, long(RedirectLimit)) && set(CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1))
        // Asked for and accepted: identity and one layer of gzip.
        && set(CURLOPT_ACCEPT_ENCODING, "gzip")
        && (!proxyAddress || (set(CURLOPT_PROXY, proxyAddress->constData()) && set(CURLOPT_NOPROXY, "")))
        && set(CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L) && set(CURLOPT_NETRC, long(CURL_NETRC_IGNORED))
        // One connection per load, closed when the load ends.
        && set(CURLOPT_FRESH_CONNECT, 1L) && set(CURLOPT_FORBID_REUSE, 1L)
        // Dropping a load during a name lookup leaves the lookup's thread
        // behind instead of waiting for it.
        && set(CURLOPT_QUICK_EXIT, 1L) && set(CURLOPT_HEADERFUNCTION, &Load::onHeaderLine)
        && set(CURLOPT_HEADERDATA, load_.get()) && set(CURLOPT_WRITEFUNCTION, &Load::onBody)
        && set(CURLOPT_WRITEDATA, load_.get())
        // The trace and the progress calls count all bytes received; they
        // write nothing.
        && set(CURLOPT_DEBUGFUNCTION, &Load::onTrace) && set(CURLOPT_DEBUGDATA, load_.get()) && set(CURLOPT_VERBOSE, 1L)
        && set(CURLOPT_XFERINFOFUNCTION, &Load::onProgress) && set(CURLOPT_XFERINFODATA, load_.get())
        && set(CURLOPT_NOPROGRESS, 0L)
        // libcurl asks for its timer at once; the work starts in a later turn.
        && curl().multi_add_handle(multi_, easy) == CURLM_OK;
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
    deadline_->stop();
    for (const auto &[socket, notifiers] : std::exchange(sockets_, {})) {
        for (QSocketNotifier *notifier : {notifiers.first, notifiers.second}) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
}

std::optional<QByteArray> &WebBrowser::proxy()
{
    static std::optional<QByteArray> address;
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
    if (!multi_ || !load_)
        return;
    load_->callEnd.setRemainingTime(CallLimit);
    load_->callbacksInCall = 0;
    int running = 0;
    curl().multi_socket_action(multi_, socket, readiness, &running);
    if (load_ && load_->overBudget()) {
        finishLoad(version_check::CannotDisplayTitle.toString());
        return;
    }
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
