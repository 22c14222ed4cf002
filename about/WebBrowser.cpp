#include "about/WebBrowser.h"

#include "about/html_title.h"
#include "about/version_rules.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <utility>

namespace {

bool isLoadable(const QUrl &url)
{
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

} // namespace

// Like any plain widget it takes no keyboard focus: out of sight, it must
// not take the focus away from CLOSE.
WebBrowser::WebBrowser(QWidget *parent) : QWidget(parent), network_(new QNetworkAccessManager(this))
{
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

    if (!isLoadable(url)) {
        // Qt would try a host-less address (and send it to a proxy), so it is
        // refused here, and reported from the event loop like any other page.
        QMetaObject::invokeMethod(
            this,
            [this, load = loadNumber_] {
                if (load == loadNumber_)
                    finishLoad(version_check::NavigationCanceledTitle.toString());
            },
            Qt::QueuedConnection);
        return;
    }

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(RedirectLimit);
    request.setTransferTimeout(int(stallTimeout_.count()));
    reply_ = network_->get(request);
    // Qt stops reading the socket once this much waits unread, so one byte
    // over the limit is all that is ever held of a larger document.
    reply_->setReadBufferSize(BodyLimit + 1);
    connect(reply_, &QNetworkReply::readyRead, this, &WebBrowser::onReadyRead);
    connect(reply_, &QNetworkReply::finished, this, &WebBrowser::onFinished);
}

std::optional<QString> WebBrowser::DocumentTitle() const
{
    return title_;
}

void WebBrowser::Stop()
{
    ++loadNumber_;
    loading_ = false;
    if (QNetworkReply *reply = std::exchange(reply_, nullptr)) {
        // Disconnected first: abort() would otherwise report a failure.
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void WebBrowser::setStallTimeout(std::chrono::milliseconds timeout)
{
    stallTimeout_ = timeout;
}

void WebBrowser::onReadyRead()
{
    if (reply_->bytesAvailable() > BodyLimit)
        finishLoad(pageTitle());
}

void WebBrowser::onFinished()
{
    finishLoad(pageTitle());
}

QString WebBrowser::pageTitle() const
{
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 404)
        return version_check::NotFoundTitle.toString();
    if (reply_->error() != QNetworkReply::NoError || status < 200 || status > 299)
        return version_check::CannotDisplayTitle.toString();
    return htmlDocumentTitle(reply_->read(BodyLimit), reply_->rawHeader("Content-Type"));
}

void WebBrowser::finishLoad(const QString &title)
{
    Stop(); // the reply is done with, or cut off at the limit
    title_ = title;
    emit DocumentComplete();
}
