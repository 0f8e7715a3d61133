#pragma once

#include "reports/reporttable.h"

namespace tarrow::reports {

// The Capacity report: the verdict, the quarter-hour table, the chart at the
// chosen sizing, CapacityTraffic.csv and Capacity.json.
[[nodiscard]] ReportDocument capacityReport(const load::LoadedDay& day, const ReportParams& params);

} // namespace tarrow::reports
