#pragma once

#include "reports/reporttable.h"
#include "store/calltypes.h"

namespace tarrow::reports {

// The CallTraffic column (after Minute) of a call type.
[[nodiscard]] constexpr int trafficColumn(store::CallType type) {
    return static_cast<int>(store::positionIn(store::kStoredOrder, type));
}

[[nodiscard]] QStringList callTrafficColumns();

// Calls started in each minute 1 to 1440 by call type; disconnect samples and
// other rows are not counted, and a minute without call starts holds zeros.
[[nodiscard]] ResultTable callTrafficTable(const load::LoadedDay& day);

// The Call Traffic report computed: table, hourly summary and chart.
[[nodiscard]] ReportDocument callTrafficReport(const load::LoadedDay& day,
                                               const ReportParams& params);
// The same of a stored table.
[[nodiscard]] ReportDocument callTrafficDocument(const ResultTable& table,
                                                 const load::LoadedDay& day,
                                                 const ReportParams& params);

} // namespace tarrow::reports
