#pragma once

#include "reports/history/historysummary.h"

#include <QByteArray>

#include <optional>

namespace tarrow::reports {

// A day's figures as the History cache keeps them (nothing inside: the
// day's files hold no call), and back. Bytes of another format, cut short or
// with more after them decode to nothing at all.
[[nodiscard]] QByteArray encodeHistoryDay(const std::optional<HistoryDay>& day);
[[nodiscard]] std::optional<std::optional<HistoryDay>> decodeHistoryDay(const QByteArray& bytes);

} // namespace tarrow::reports
