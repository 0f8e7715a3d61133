#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

namespace tarrow::support {

struct HttpLimits {
    int timeoutMs = 15000;     // for the whole exchange, redirects included
    qint64 maxBytes = 1 << 20; // of the body; more is not read
    qint64 maxHeaderBytes = 1 << 16;
    int maxRedirects = 5;
};

// A plain HTTP GET that no server can stretch: the whole exchange ends at the
// time limit, headers and body are capped (the body's first maxBytes are
// kept), nothing is buffered beyond what is read, and a redirect is followed
// only within the same scheme, host and port. Nothing when the answer is not
// 200 or the exchange fails, and then why in `why` (no answer in time, refused,
// the HTTP status, ...); needs a running Qt core application. cancel() ends
// it early as a failure.
[[nodiscard]] std::optional<QByteArray> httpGet(const QUrl& url, const HttpLimits& limits,
                                                QString* why = nullptr);

} // namespace tarrow::support
