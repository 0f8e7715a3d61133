#pragma once

#include <QString>

#include <optional>

class QTextStream;

namespace tarrow::app {

// The options of `tarrow erlang` as given (absent: not given).
struct ErlangArguments {
    std::optional<QString> ports;
    std::optional<QString> gos;
    std::optional<QString> erlangs;
    std::optional<QString> carried;
    std::optional<QString> retryShare;
    bool json = false;
};

// The sizing arithmetic without logs: exactly one question per run, answered
// as "label: value" lines or one JSON object. Returns the exit code (2 for
// bad usage, with one line on err).
[[nodiscard]] int runErlang(const ErlangArguments& arguments, QTextStream& out, QTextStream& err);

} // namespace tarrow::app
