#pragma once

#include "reports/reportdocument.h"
#include "reports/summarytable.h"

namespace tarrow::reports {

// 24 clock hours of PortAvailability: row h covers minutes (h-1)*60 to h*60-1,
// with the most ports in use and the fewest lines available of those minutes
// (minute 1440 falls in no row).
[[nodiscard]] SummaryTable portAvailabilitySummary(const ResultTable& portAvailability);

// 24 hours of CallTraffic: row h covers minutes (h-1)*60+1 to h*60, with the
// calls of each type summed.
[[nodiscard]] SummaryTable callTrafficSummary(const ResultTable& callTraffic);

} // namespace tarrow::reports
