#include "support/httpget.h"

#include "support/updatecheck.h"

#include <QEventLoop>
#include <QList>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace tarrow::support {

namespace {

// The body of a chunked answer, decoded as its bytes arrive.
class ChunkDecoder {
public:
    // Moves what it can from raw into body; false when the framing is broken.
    bool feed(QByteArray& raw, QByteArray& body) {
        while (state_ != State::Done && !raw.isEmpty()) {
            switch (state_) {
            case State::Size: {
                const qsizetype end = raw.indexOf("\r\n");
                if (end < 0)
                    return raw.size() < 1024; // a size line is short
                bool ok = false;
                remaining_ = raw.left(end).split(';').constFirst().trimmed().toLongLong(&ok, 16);
                if (!ok || remaining_ < 0)
                    return false;
                raw.remove(0, end + 2);
                state_ = remaining_ == 0 ? State::Done : State::Data;
                break;
            }
            case State::Data: {
                const auto n = static_cast<qsizetype>(std::min<qint64>(remaining_, raw.size()));
                body += raw.left(n);
                raw.remove(0, n);
                remaining_ -= n;
                if (remaining_ == 0)
                    state_ = State::DataEnd;
                break;
            }
            case State::DataEnd:
                if (raw.size() < 2)
                    return true;
                if (!raw.startsWith("\r\n"))
                    return false;
                raw.remove(0, 2);
                state_ = State::Size;
                break;
            case State::Done:
                break;
            }
        }
        return true;
    }
    [[nodiscard]] bool done() const { return state_ == State::Done; }

private:
    enum class State { Size, Data, DataEnd, Done };
    State state_ = State::Size;
    qint64 remaining_ = 0;
};

struct Answer {
    int status = 0;
    QByteArray location;
    qint64 contentLength = -1;
    bool chunked = false;
};

std::optional<Answer> readHead(const QByteArray& head) {
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> statusLine = lines.constFirst().trimmed().split(' ');
    if (statusLine.size() < 2 || !statusLine[0].startsWith("HTTP/1."))
        return std::nullopt;
    Answer answer;
    answer.status = statusLine[1].toInt();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon < 0)
            continue;
        const QByteArray name = lines[i].left(colon).trimmed().toLower();
        const QByteArray value = lines[i].mid(colon + 1).trimmed();
        if (name == "content-length")
            answer.contentLength = value.toLongLong();
        else if (name == "transfer-encoding")
            answer.chunked = value.toLower().contains("chunked");
        else if (name == "location")
            answer.location = value;
    }
    return answer;
}

enum class Step { Body, Redirect, Failed };

// One request on one connection; `body` gets the answer's body.
Step exchange(const QUrl& url, const HttpLimits& limits, QTimer& deadline, QByteArray& body,
              QUrl& redirect) {
    QTcpSocket socket;
    socket.setReadBufferSize(64 * 1024);
    QEventLoop loop;
    bool failed = false;
    bool complete = false;
    QByteArray raw;
    std::optional<Answer> answer;
    ChunkDecoder chunks;
    const auto fail = [&] {
        failed = true;
        loop.quit();
    };
    const auto take = [&] {
        if (!answer) {
            raw += socket.read(limits.maxHeaderBytes + 4 - raw.size());
            const qsizetype end = raw.indexOf("\r\n\r\n");
            if (end < 0) {
                if (raw.size() > limits.maxHeaderBytes)
                    fail();
                return;
            }
            answer = readHead(raw.left(end));
            raw.remove(0, end + 4);
            if (!answer || answer->status != 200) {
                complete = answer && answer->status >= 300 && answer->status < 400;
                failed = !complete;
                loop.quit();
                return;
            }
        }
        raw += socket.read(limits.maxBytes + 1024 - raw.size());
        if (answer->chunked) {
            if (!chunks.feed(raw, body))
                return fail();
            complete = chunks.done();
        } else {
            body += raw;
            raw.clear();
            complete = answer->contentLength >= 0 && body.size() >= answer->contentLength;
        }
        if (body.size() >= limits.maxBytes) {
            body.truncate(limits.maxBytes);
            complete = true;
        }
        if (complete)
            loop.quit();
    };
    QObject::connect(&socket, &QTcpSocket::connected, &loop, [&] {
        QByteArray path = url.path(QUrl::FullyEncoded).toLatin1();
        if (path.isEmpty())
            path = "/";
        if (url.hasQuery())
            path += '?' + url.query(QUrl::FullyEncoded).toLatin1();
        QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
        if (url.port() > 0)
            host += ':' + QByteArray::number(url.port());
        socket.write("GET " + path + " HTTP/1.1\r\nHost: " + host +
                     "\r\nUser-Agent: HTTP Generic\r\nAccept-Encoding: identity\r\n"
                     "Connection: close\r\n\r\n");
    });
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, take);
    QObject::connect(&socket, &QTcpSocket::disconnected, &loop, [&] {
        take();
        // Without a length or chunks the body ends with the connection.
        if (answer && answer->status == 200 && !answer->chunked && answer->contentLength < 0)
            complete = true;
        if (!complete)
            failed = true;
        loop.quit();
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop,
                     [&](QAbstractSocket::SocketError error) {
                         if (error != QAbstractSocket::RemoteHostClosedError)
                             fail();
                     });
    QObject::connect(&deadline, &QTimer::timeout, &loop, fail);
    QObject::connect(cancelDownloads(), &DownloadCanceller::cancel, &loop, fail);
    socket.connectToHost(url.host(), static_cast<quint16>(url.port(80)));
    loop.exec();
    socket.abort();
    if (failed || !answer)
        return Step::Failed;
    if (answer->status == 200)
        return Step::Body;
    redirect = url.resolved(QUrl::fromEncoded(answer->location));
    return Step::Redirect;
}

} // namespace

std::optional<QByteArray> httpGet(const QUrl& url, const HttpLimits& limits) {
    if (url.scheme() != QLatin1String("http") || url.host().isEmpty())
        return std::nullopt;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(limits.timeoutMs);
    QUrl at = url;
    for (int redirects = 0; redirects <= limits.maxRedirects; ++redirects) {
        QByteArray body;
        QUrl next;
        switch (exchange(at, limits, deadline, body, next)) {
        case Step::Body:
            return body;
        case Step::Failed:
            return std::nullopt;
        case Step::Redirect:
            if (next.scheme() != at.scheme() || next.host() != at.host() ||
                next.port(80) != at.port(80))
                return std::nullopt;
            at = next;
            break;
        }
    }
    return std::nullopt;
}

} // namespace tarrow::support
