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

// The request line and headers of a plain GET.
QByteArray requestFor(const QUrl& url) {
    QByteArray path = url.path(QUrl::FullyEncoded).toLatin1();
    if (path.isEmpty())
        path = "/";
    if (url.hasQuery())
        path += '?' + url.query(QUrl::FullyEncoded).toLatin1();
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (url.port() > 0)
        host += ':' + QByteArray::number(url.port());
    return "GET " + path + " HTTP/1.1\r\nHost: " + host +
           "\r\nUser-Agent: HTTP Generic\r\nAccept-Encoding: identity\r\n"
           "Connection: close\r\n\r\n";
}

// One request on one connection, read as it arrives: the head within its
// limit, then the body (chunked, with a length, or to the end of the
// connection) within its own.
class Exchange {
public:
    Exchange(const HttpLimits& limits, QByteArray& body) : limits_(limits), body_(body) {
        socket_.setReadBufferSize(64 * 1024);
    }

    Step run(const QUrl& url, QTimer& deadline, QUrl& redirect) {
        QObject::connect(&socket_, &QTcpSocket::connected, &loop_,
                         [this, &url] { socket_.write(requestFor(url)); });
        QObject::connect(&socket_, &QTcpSocket::readyRead, &loop_, [this] { take(); });
        QObject::connect(&socket_, &QTcpSocket::disconnected, &loop_, [this] { ended(); });
        QObject::connect(&socket_, &QTcpSocket::errorOccurred, &loop_,
                         [this](QAbstractSocket::SocketError error) {
                             if (error != QAbstractSocket::RemoteHostClosedError)
                                 fail(socket_.errorString());
                         });
        QObject::connect(&deadline, &QTimer::timeout, &loop_, [this, &deadline] {
            fail(QStringLiteral("no answer within %1 s").arg(deadline.interval() / 1000.0));
        });
        QObject::connect(cancelDownloads(), &DownloadCanceller::cancel, &loop_,
                         [this] { fail(QStringLiteral("cancelled")); });
        socket_.connectToHost(url.host(), static_cast<quint16>(url.port(80)));
        loop_.exec();
        socket_.abort();
        if (failed_ || !answer_) {
            if (why_.isEmpty())
                why_ = answer_ ? QStringLiteral("the server answered HTTP %1").arg(answer_->status)
                               : QStringLiteral("the server's answer could not be read");
            return Step::Failed;
        }
        if (answer_->status == 200)
            return Step::Body;
        redirect = url.resolved(QUrl::fromEncoded(answer_->location));
        return Step::Redirect;
    }

private:
    void fail(const QString& why) {
        if (why_.isEmpty())
            why_ = why;
        failed_ = true;
        loop_.quit();
    }

public:
    // Why the exchange failed.
    [[nodiscard]] const QString& why() const { return why_; }

private:
    // The head, once whole; false while it is still coming or when the
    // exchange is over.
    bool head() {
        raw_ += socket_.read(limits_.maxHeaderBytes + 4 - raw_.size());
        const qsizetype end = raw_.indexOf("\r\n\r\n");
        if (end < 0) {
            if (raw_.size() > limits_.maxHeaderBytes)
                fail(QStringLiteral("the server's answer could not be read"));
            return false;
        }
        answer_ = readHead(raw_.left(end));
        raw_.remove(0, end + 4);
        if (!answer_ || answer_->status != 200) {
            complete_ = answer_ && answer_->status >= 300 && answer_->status < 400;
            failed_ = !complete_;
            loop_.quit();
            return false;
        }
        return true;
    }

    void take() {
        if (!answer_ && !head())
            return;
        raw_ += socket_.read(limits_.maxBytes + 1024 - raw_.size());
        if (answer_->chunked) {
            if (!chunks_.feed(raw_, body_))
                return fail(QStringLiteral("the server's answer could not be read"));
            complete_ = chunks_.done();
        } else {
            body_ += raw_;
            raw_.clear();
            complete_ = answer_->contentLength >= 0 && body_.size() >= answer_->contentLength;
        }
        if (body_.size() >= limits_.maxBytes) {
            body_.truncate(limits_.maxBytes);
            complete_ = true;
        }
        if (complete_)
            loop_.quit();
    }

    void ended() {
        take();
        // Without a length or chunks the body ends with the connection.
        if (answer_ && answer_->status == 200 && !answer_->chunked && answer_->contentLength < 0)
            complete_ = true;
        if (!complete_ && why_.isEmpty())
            why_ = answer_ && answer_->status == 200
                       ? QStringLiteral("the answer broke off")
                       : QStringLiteral("the server closed the connection without an answer");
        if (!complete_)
            failed_ = true;
        loop_.quit();
    }

    const HttpLimits& limits_;
    QByteArray& body_;
    QTcpSocket socket_;
    QEventLoop loop_;
    bool failed_ = false;
    bool complete_ = false;
    QString why_;
    QByteArray raw_;
    std::optional<Answer> answer_;
    ChunkDecoder chunks_;
};

// One request on one connection; `body` gets the answer's body.
Step exchange(const QUrl& url, const HttpLimits& limits, QTimer& deadline, QByteArray& body,
              QUrl& redirect, QString& why) {
    Exchange exchange(limits, body);
    const Step step = exchange.run(url, deadline, redirect);
    why = exchange.why();
    return step;
}

} // namespace

std::optional<QByteArray> httpGet(const QUrl& url, const HttpLimits& limits, QString* why) {
    QString reason;
    const auto failed = [&why, &reason](const QString& because) {
        if (why)
            *why = because.isEmpty() ? reason : because;
        return std::nullopt;
    };
    if (url.scheme() != QLatin1String("http") || url.host().isEmpty())
        return failed(QStringLiteral("not an http address"));
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(limits.timeoutMs);
    QUrl at = url;
    for (int redirects = 0; redirects <= limits.maxRedirects; ++redirects) {
        QByteArray body;
        QUrl next;
        switch (exchange(at, limits, deadline, body, next, reason)) {
        case Step::Body:
            return body;
        case Step::Failed:
            return failed({});
        case Step::Redirect:
            if (next.scheme() != at.scheme() || next.host() != at.host() ||
                next.port(80) != at.port(80))
                return failed(QStringLiteral("the server sent the request to another site"));
            at = next;
            break;
        }
    }
    return failed(QStringLiteral("too many redirects"));
}

} // namespace tarrow::support
