#pragma once

#include "reports/minutetable.h"
#include "reports/reporttable.h"

#include <cstdint>

namespace tarrow::reports {

// Columns of PortAvailability after Minute.
enum PortAvailabilityColumn { MinLinesAvailable = 0, MaxLinesInUse = 1 };

struct PortAvailabilityResult {
    MinuteTable table;
    bool computed = false;   // false when the stored table was reused
    bool noActivity = false; // no sample in minutes 1 to 1440 (only known when computed)
};

// For each minute 1 to 1440 the fewest lines available (at most 999) and the
// most ports busy (at least 0) over all rows of that minute. Minutes before the
// first and after the last sample hold 0 busy and the peak available-lines
// value; a minute without samples between them repeats the nearest earlier
// minute that had some. Throws on database failures.
[[nodiscard]] PortAvailabilityResult computePortAvailability(store::WorkingDatabase& database,
                                                             const load::LoadedDay& day,
                                                             const BeforeCompute& before = {});

// The Port Availability report: table, hourly summary and chart.
[[nodiscard]] ReportOutput portAvailabilityReport(const ReportInput& input);

[[nodiscard]] QString noActivityMessage();

} // namespace tarrow::reports
