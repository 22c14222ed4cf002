#pragma once

#include "about/WebBrowser.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

// A small HTTP server on 127.0.0.1 that plays the maker's web site. The
// program reaches it as its HTTP proxy, so it asks for the real addresses
// ("GET http://www.<host>/KDM/KDM.ver") with no name lookup, and nothing
// ever leaves the machine.
struct HttpAnswer
{
    int status = 200;
    QByteArray body{};
    QList<QByteArray> headers{}; // extra header lines, "Name: value"
    std::chrono::milliseconds delay{0};
    qsizetype sendOnly = -1; // write only this much of the body, then fall silent
    bool silent = false; // take the request and never answer

    // A hostile answer: `raw` at once, as it is (no status line or headers of
    // the server's own), then the pieces `more` gives until it gives none,
    // written `chunk` bytes (0: all there is) every `pace`, then a close, or a
    // connection reset when `reset` is set.
    QByteArray raw{};
    std::function<QByteArray()> more{};
    qsizetype chunk = 0;
    std::chrono::milliseconds pace{0};
    bool reset = false;
    // As a proxy, the answer to the CONNECT for the https site (where this
    // answer may redirect): 404 when there is none.
    std::shared_ptr<HttpAnswer> tunnel{};

    bool hostile() const { return !raw.isEmpty() || more || chunk > 0 || pace.count() > 0 || reset; }
};

class LoopbackHttpServer : public QObject
{
public:
    LoopbackHttpServer()
    {
        if (!server_.listen(QHostAddress::LocalHost))
            qFatal("the test server cannot listen on 127.0.0.1");
        connect(&server_, &QTcpServer::newConnection, this, &LoopbackHttpServer::accept);
        hostileSockets_->moveToThread(&hostileWriter_);
        hostileWriter_.start();
    }

    ~LoopbackHttpServer() override
    {
        hostileSockets_->deleteLater(); // with the sockets still there
        hostileWriter_.quit();
        hostileWriter_.wait();
    }

    // Sends all of the program's HTTP traffic here.
    void useAsProxy() const
    {
        WebBrowser::setProxy("http://127.0.0.1:" + QByteArray::number(server_.serverPort()));
    }

    // A loopback port with nobody listening: connections to it are refused.
    static void useClosedPortAsProxy()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        const quint16 port = probe.serverPort();
        probe.close();
        WebBrowser::setProxy("http://127.0.0.1:" + QByteArray::number(port));
    }

    // What to send for an absolute address; anything else gets a 404.
    void setAnswer(const QString &address, const HttpAnswer &answer) { answers_.insert(address.toLatin1(), answer); }
    // A small HTML page with this title, sent after `delay`.
    void setPage(const QString &address, const QByteArray &title, std::chrono::milliseconds delay = {})
    {
        setAnswer(address, HttpAnswer{.body = page(title), .delay = delay});
    }
    void clear()
    {
        answers_.clear();
        requests.clear();
        heads.clear();
        abandoned = 0;
    }

    static QByteArray page(const QByteArray &title)
    {
        return "<html><head><title>" + title + "</title></head><body>Version file</body></html>";
    }

    // The addresses asked for, in order of arrival, and the requests' heads.
    QList<QByteArray> requests;
    QList<QByteArray> heads;
    // Connections not yet closed.
    int open = 0;
    // Connections the client closed before the answer was complete.
    int abandoned = 0;

private:
    void accept()
    {
        while (QTcpSocket *socket = server_.nextPendingConnection()) {
            ++open;
            auto buffer = std::make_shared<QByteArray>();
            auto complete = std::make_shared<bool>(false);
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer, complete] {
                *buffer += socket->readAll();
                const qsizetype end = buffer->indexOf("\r\n\r\n");
                if (end < 0 || socket->property("answered").toBool())
                    return;
                socket->setProperty("answered", true);
                const QByteArray target = buffer->left(buffer->indexOf("\r\n")).split(' ').value(1);
                requests << target;
                heads << buffer->left(end);
                const HttpAnswer answer = answers_.value(target, HttpAnswer{404, "<html><head><title>Nothing</title></head></html>"});
                if (answer.silent)
                    return;
                QTimer::singleShot(answer.delay, socket, [this, socket, answer, complete] {
                    answer.hostile() ? sendFromWriter(socket, answer, complete) : send(socket, answer, complete);
                });
            });
            connect(socket, &QTcpSocket::bytesWritten, socket, [socket, complete] {
                if (socket->property("sentAll").toBool() && socket->bytesToWrite() == 0)
                    *complete = true;
            });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket, complete] {
                --open;
                if (!*complete)
                    ++abandoned;
                socket->deleteLater();
            });
#ifdef Q_OS_WIN
            // Wine tells a socket's notifiers of the client's close but not of
            // its reset, which a read or write of the socket itself finds.
            auto *watch = new QTimer(socket);
            connect(watch, &QTimer::timeout, socket, [socket] {
                if (socket->bytesToWrite() > 0)
                    socket->waitForBytesWritten(0);
                else
                    socket->waitForReadyRead(0);
            });
            watch->start(50);
#endif
        }
    }

    static void send(QTcpSocket *socket, const HttpAnswer &answer, const std::shared_ptr<bool> &complete)
    {
        QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + " Test\r\n";
        bool typed = false;
        for (const QByteArray &header : answer.headers) {
            head += header + "\r\n";
            typed = typed || header.toLower().startsWith("content-type:");
        }
        if (!typed)
            head += "Content-Type: text/html\r\n";
        head += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\nConnection: close\r\n\r\n";
        socket->write(head);
        if (answer.sendOnly >= 0) {
            socket->write(answer.body.left(answer.sendOnly));
            return;
        }
        socket->write(answer.body);
        socket->setProperty("sentAll", true);
        if (socket->bytesToWrite() == 0)
            *complete = true;
        socket->disconnectFromHost();
    }

    // A hostile answer is written by a thread of its own, so that a client
    // that holds this thread's event loop (as libcurl does while it reads a
    // proxy's refusal) cannot slow it down.
    void sendFromWriter(QTcpSocket *socket, const HttpAnswer &answer, const std::shared_ptr<bool> &complete)
    {
        socket->setParent(nullptr);
        socket->moveToThread(&hostileWriter_);
        QMetaObject::invokeMethod(socket, [this, socket, answer, complete] {
            socket->setParent(hostileSockets_);
            sendHostile(socket, answer, complete);
        });
    }

    // Writes as fast as the client reads (or at the answer's pace) until the
    // answer is out, the client has gone, or a minute has passed.
    static void sendHostile(QTcpSocket *socket, const HttpAnswer &answer, const std::shared_ptr<bool> &complete)
    {
        constexpr qsizetype backlog = 256 * 1024;
        auto *writer = new QTimer(socket);
        socket->write(answer.raw);
        auto pending = std::make_shared<QByteArray>();
        auto giveUp = std::make_shared<QDeadlineTimer>(std::chrono::minutes(1));
        writer->setInterval(answer.pace);
        QObject::connect(writer, &QTimer::timeout, socket, [=] {
            if (socket->state() != QAbstractSocket::ConnectedState || giveUp->hasExpired()) {
                writer->stop();
                return;
            }
            if (socket->bytesToWrite() > backlog)
                return;
            while (pending->isEmpty() && answer.more) {
                *pending = answer.more();
                if (pending->isEmpty())
                    break;
            }
            if (pending->isEmpty()) {
                writer->stop();
                *complete = true;
                if (answer.reset) {
                    const linger abort{1, 0};
                    // Windows takes the option as bytes, and its socket as SOCKET.
                    setsockopt(socket->socketDescriptor(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char *>(&abort), sizeof abort);
                    socket->abort();
                } else {
                    socket->disconnectFromHost();
                }
                return;
            }
            const qsizetype size = answer.chunk > 0 ? std::min(answer.chunk, pending->size()) : pending->size();
            socket->write(pending->left(size));
            pending->remove(0, size);
        });
        writer->start();
    }

    QTcpServer server_;
    QHash<QByteArray, HttpAnswer> answers_;
    QThread hostileWriter_;
    // The sockets of hostile answers, in the writer's thread.
    QObject *hostileSockets_ = new QObject;
};
