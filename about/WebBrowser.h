#pragma once

#include "about/browser_view.h"

#include <QUrl>
#include <QWidget>
#include <chrono>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

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
//    connection, unknown host, refused or reset connection, a stalled
//    transfer, too many redirects, any other HTTP error status).
class WebBrowser : public QWidget, public BrowserView
{
    Q_OBJECT

public:
    // Only this much of a document is read; the rest is never fetched.
    static constexpr qsizetype BodyLimit = 64 * 1024;
    static constexpr int RedirectLimit = 5;
    // Long enough for a slow server. Short enough that a stalled request made
    // by the version check's first tick fails before the check's own
    // ten-second limit, so a late failure page cannot follow its outcome.
    static constexpr std::chrono::milliseconds DefaultStallTimeout{8000};

    explicit WebBrowser(QWidget *parent = nullptr);
    ~WebBrowser() override;

    // Returns at once. The address already loading is joined, not restarted;
    // any other address replaces the load in flight.
    void Navigate(const QString &address) override;
    std::optional<QString> DocumentTitle() const override;

    // Drops the load in flight, if any, without a notification.
    void Stop();

    // How long a load may receive nothing before it fails (for later loads).
    void setStallTimeout(std::chrono::milliseconds timeout);

signals:
    void DocumentComplete();

private:
    void onReadyRead();
    void onFinished();
    // The page the reply gives: a failure page for its status, or else the
    // title of what has been read of the document, up to the limit.
    QString pageTitle() const;
    void finishLoad(const QString &title);

    QNetworkAccessManager *network_ = nullptr;
    QNetworkReply *reply_ = nullptr;
    QUrl loadingUrl_;
    bool loading_ = false;
    // Changes whenever a load is dropped, so that its late refusal is too.
    quint64 loadNumber_ = 0;
    std::optional<QString> title_;
    std::chrono::milliseconds stallTimeout_ = DefaultStallTimeout;
};
