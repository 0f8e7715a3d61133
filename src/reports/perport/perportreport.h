#pragma once

#include "reports/reporttable.h"
#include "reports/summarytable.h"
#include "store/calltypes.h"

#include <QString>

#include <array>
#include <vector>

namespace tarrow::reports {

// The two reports over the ports; they differ only in the rule for negative
// durations, what they store and their header.
enum class PerPortReport { CallDistribution, PortTimeUse };

// One port's calls and call-seconds by call type (typeIndex).
struct PortFigures {
    std::array<qint64, store::kCallTypeCount> calls{};
    std::array<qint64, store::kCallTypeCount> seconds{};
};

struct PerPortResult {
    std::vector<PortFigures> ports; // ports 1 to the peak port, in order
    int highestPortInRange = 0;     // 0 when the range holds no call
};

// Counts (and for Port Time Use, totals the seconds of) the calls of each port
// from 1 to the peak port that started at or after startMinute and ended at or
// before endMinute; a call is counted whole or not at all, and calls never
// closed are never counted. Port Time Use skips calls of negative length.
[[nodiscard]] PerPortResult computePerPort(const load::LoadedDay& day, PerPortReport report,
                                           int startMinute, int endMinute);

// The figures as the report's table, CallDistribution or PortTimeUsage, in
// stored column order.
[[nodiscard]] ResultTable perPortTable(PerPortReport report, const std::vector<PortFigures>& ports);

// The per-port summary grid: grid row r is port r.
[[nodiscard]] SummaryTable perPortSummary(PerPortReport report,
                                          const std::vector<PortFigures>& ports);

// The Call Distribution and Port Time Use reports: table, summary and chart.
[[nodiscard]] ReportDocument perPortReport(PerPortReport report, const load::LoadedDay& day,
                                           const ReportParams& params);

} // namespace tarrow::reports
