#pragma once

#include "reports/capacity/capacityoutput.h"
#include "reports/history/historysummary.h"

#include <QList>
#include <QStringList>

#include <vector>

namespace tarrow::reports {

// One line per day: its date, busy hour, peak and all-ports-busy time.
[[nodiscard]] QStringList historyDayLines(const std::vector<HistoryDay>& days);
// The across-day figures, in the order the command line prints them.
[[nodiscard]] QList<VerdictLine> historyVerdict(const HistorySummary& summary);

} // namespace tarrow::reports
