#pragma once

#include "reports/minutetable.h"
#include "reports/summarytable.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace tarrow::store {
class WorkingDatabase;
}

namespace tarrow::reports {

// The two reports over the ports; they differ only in the rule for negative
// durations, what they store and their header.
enum class PerPortReport { CallDistribution, PortTimeUse };

// Chart series of the call types 1 to 5 (inbound, notification, MWI, TRAP,
// AMIS): series 1 inbound, 2 MWI, 3 notification, 4 TRAP, 5 AMIS.
inline constexpr int kSeriesOfType[] = {1, 3, 2, 4, 5};

struct PortFigures {
    std::array<qint64, 5> calls{};   // by call type 1 to 5
    std::array<double, 5> seconds{}; // by call type 1 to 5
};

struct PerPortResult {
    std::vector<PortFigures> ports; // ports 1 to the peak port, in order
    int highestPortInRange = 0;     // 0 when the range holds no call
};

// Counts (and for Port Time Use, totals the seconds of) the calls of each port
// from 1 to the peak port that started at or after startMinute and ended at or
// before endMinute; a call is counted whole or not at all, and calls never
// closed are never counted. Port Time Use skips calls of negative length. The
// result is stored in CallDistribution or PortTimeUsage, replacing what was
// there. Throws on database failures.
[[nodiscard]] PerPortResult computePerPort(store::WorkingDatabase& database, PerPortReport report,
                                           int startMinute, int endMinute, int peakPort,
                                           const BeforeCompute& before = {});

// The per-port summary grid of the stored table: grid row r is port r, for as
// many rows as the table has. A missing port leaves its row with only the port
// number and gives one message in notices. Throws on database failures.
[[nodiscard]] SummaryTable perPortSummary(store::WorkingDatabase& database, PerPortReport report);

} // namespace tarrow::reports
