#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>

namespace tarrow::testing {

// A web server on 127.0.0.1 inside the test: every request gets the same
// answer, or none at all when silent.
class LocalHttpServer : public QTcpServer {
public:
    QByteArray body;
    int status = 200;
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
                    socket->write("HTTP/1.1 " + QByteArray::number(status) +
                                  " X\r\nContent-Length: " + QByteArray::number(body.size()) +
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
