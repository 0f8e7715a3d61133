#pragma once

#include "reports/reporttable.h"

namespace tarrow::reports {

// The Capacity report: the quarter-hour table, the chart at the chosen sizing,
// CapacityTraffic.csv and Capacity.json.
[[nodiscard]] ReportOutput capacityReport(const ReportInput& input);

} // namespace tarrow::reports
