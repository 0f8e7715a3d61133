#pragma once

#include "reports/minutetable.h"
#include "reports/reporttable.h"
#include "store/calltypes.h"

namespace tarrow::reports {

// The CallTraffic column (after Minute) of a call type.
[[nodiscard]] constexpr int trafficColumn(store::CallType type) {
    return static_cast<int>(store::positionIn(store::kStoredOrder, type));
}

struct CallTrafficResult {
    MinuteTable table;
    bool computed = false; // false when the stored table was reused
};

// Calls started in each minute 1 to 1440 by call type; disconnect samples and
// other rows are not counted, and a minute without call starts holds zeros.
// Throws on database failures.
[[nodiscard]] CallTrafficResult computeCallTraffic(store::WorkingDatabase& database,
                                                   const load::LoadedDay& day,
                                                   const BeforeCompute& before = {});

// The Call Traffic report: table, hourly summary and chart.
[[nodiscard]] ReportOutput callTrafficReport(const ReportInput& input);

} // namespace tarrow::reports
