#pragma once

#include "reports/minutetable.h"

namespace tarrow::store {
class WorkingDatabase;
}

namespace tarrow::reports {

// Columns of CallTraffic after Minute, in stored order.
enum CallTrafficColumn {
    TrafficInbound = 0,
    TrafficMwi,
    TrafficAmis,
    TrafficNotification,
    TrafficTrap
};

struct CallTrafficResult {
    MinuteTable table;
    bool computed = false; // false when the stored table was reused
};

// Calls started in each minute 1 to 1440 by call type; disconnect samples and
// other rows are not counted, and a minute without call starts holds zeros.
// Throws on database failures.
[[nodiscard]] CallTrafficResult computeCallTraffic(store::WorkingDatabase& database,
                                                   const BeforeCompute& before = {});

} // namespace tarrow::reports
