#pragma once

#include "store/perporttables.h"

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

using PortFigures = store::PortFigures;

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
[[nodiscard]] PerPortResult computePerPort(store::WorkingDatabase& database,
                                           const load::LoadedDay& day, PerPortReport report,
                                           int startMinute, int endMinute,
                                           const BeforeCompute& before = {});

// The per-port summary grid of the stored table: grid row r is port r, for as
// many rows as the table has. A missing port leaves its row with only the port
// number and gives one message in notices. Throws on database failures.
[[nodiscard]] SummaryTable perPortSummary(store::WorkingDatabase& database, PerPortReport report);

// The Call Distribution and Port Time Use reports: table, summary and chart.
[[nodiscard]] ReportOutput perPortReport(PerPortReport report, const ReportInput& input);

} // namespace tarrow::reports
