#pragma once

#include <QString>

#include <utility>

namespace tarrow::platform {

// The outcome of an operation that can fail: success, or a failure carrying the
// text that tells the user what went wrong.
class [[nodiscard]] Result {
public:
    Result() = default; // success
    [[nodiscard]] static Result failure(QString error) {
        Result r;
        r.failed_ = true;
        r.error_ = std::move(error);
        return r;
    }

    [[nodiscard]] bool ok() const { return !failed_; }
    [[nodiscard]] const QString& error() const { return error_; }

private:
    bool failed_ = false;
    QString error_;
};

} // namespace tarrow::platform
