#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>
#include <utility>

namespace tarrow::testing {

// A web server on 127.0.0.1 inside the test: every request gets the same
// answer, or none at all when silent.
class LocalHttpServer : public QTcpServer {
public:
    QByteArray body;
    int status = 200;
    QByteArray extraHeaders; // each ending in CR LF
    QByteArray rawAnswer;    // when set, written as it is instead
    bool silent = false;
    int requests = 0;

    LocalHttpServer() {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (!socket->readAll().contains("\r\n\r\n"))
                        return;
                    ++requests;
                    if (silent)
                        return;
                    if (!rawAnswer.isEmpty()) {
                        socket->write(rawAnswer);
                        socket->disconnectFromHost();
                        return;
                    }
                    socket->write("HTTP/1.1 " + QByteArray::number(status) + " X\r\n" +
                                  extraHeaders +
                                  "Content-Length: " + QByteArray::number(body.size()) +
                                  "\r\nConnection: close\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    [[nodiscard]] QString origin() const {
        return QStringLiteral("http://127.0.0.1:%1").arg(serverPort());
    }
};

} // namespace tarrow::testing

namespace tarrow::testing {

// A web server on a thread of its own that answers one request by writing
// `head` and then `more` again and again, as fast as the client takes it,
// until the client goes: an endless body or endless headers.
class EndlessHttpServer {
public:
    EndlessHttpServer(QByteArray head, QByteArray more)
        : head_(std::move(head)), more_(std::move(more).repeated(64)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(listener_, 1);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~EndlessHttpServer() {
        ::shutdown(listener_, SHUT_RDWR);
        ::close(listener_);
        thread_.join();
    }
    EndlessHttpServer(const EndlessHttpServer&) = delete;
    EndlessHttpServer& operator=(const EndlessHttpServer&) = delete;

    [[nodiscard]] QString origin() const {
        return QStringLiteral("http://127.0.0.1:%1").arg(port_);
    }

private:
    void serve() {
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0)
            return;
        char request[4096];
        (void)::recv(client, request, sizeof request, 0);
        bool open = ::send(client, head_.constData(), static_cast<std::size_t>(head_.size()),
                           MSG_NOSIGNAL) > 0;
        while (open)
            open = ::send(client, more_.constData(), static_cast<std::size_t>(more_.size()),
                          MSG_NOSIGNAL) > 0;
        ::close(client);
    }

    QByteArray head_;
    QByteArray more_;
    int listener_ = -1;
    quint16 port_ = 0;
    std::thread thread_;
};

} // namespace tarrow::testing
