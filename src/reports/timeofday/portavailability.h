#pragma once

#include "reports/reporttable.h"

#include <cstdint>

namespace tarrow::reports {

// Columns of PortAvailability after Minute.
enum PortAvailabilityColumn { MinLinesAvailable = 0, MaxLinesInUse = 1 };

[[nodiscard]] QStringList portAvailabilityColumns();

// For each minute 1 to 1440 the fewest lines available (at most 999) and the
// most ports busy (at least 0) over all rows of that minute. Minutes before the
// first and after the last sample hold 0 busy and the peak available-lines
// value; a minute without samples between them repeats the nearest earlier
// minute that had some. noActivity tells when no row falls in minutes 1 to 1440.
[[nodiscard]] ResultTable portAvailabilityTable(const load::LoadedDay& day,
                                                bool* noActivity = nullptr);

// The Port Availability report computed: table, hourly summary and chart, and
// the note when the day had no activity.
[[nodiscard]] ReportDocument portAvailabilityReport(const load::LoadedDay& day,
                                                    const ReportParams& params);
// The same of a stored table (which says nothing of activity).
[[nodiscard]] ReportDocument portAvailabilityDocument(const ResultTable& table,
                                                      const load::LoadedDay& day,
                                                      const ReportParams& params);

[[nodiscard]] QString noActivityMessage();

} // namespace tarrow::reports
