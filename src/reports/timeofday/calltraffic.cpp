#include "reports/timeofday/calltraffic.h"

#include "store/rawportdata.h"
#include "store/workingdatabase.h"

namespace tarrow::reports {

namespace {

const QStringList kColumns = {
    QStringLiteral("InboundCalls"), QStringLiteral("MWIDialouts"), QStringLiteral("AMISDialouts"),
    QStringLiteral("NotificationDialouts"), QStringLiteral("TRAPDialouts")};

// Column of each call type 1 to 5 (inbound, notification, MWI, TRAP, AMIS).
constexpr int kColumnOfType[] = {TrafficInbound, TrafficNotification, TrafficMwi, TrafficTrap,
                                 TrafficAmis};

MinuteTable compute(const std::vector<store::RawFigures>& rows) {
    MinuteTable table;
    table.columns = kColumns;
    table.values.assign(kColumns.size(), std::vector<qint64>(kMinutesPerDay, 0));
    for (const store::RawFigures& row : rows) {
        if (row.startMinute < 1 || row.startMinute > kMinutesPerDay || row.callType < 1 ||
            row.callType > 5)
            continue;
        ++table.values[static_cast<std::size_t>(kColumnOfType[row.callType - 1])]
                      [static_cast<std::size_t>(row.startMinute - 1)];
    }
    return table;
}

} // namespace

CallTrafficResult computeCallTraffic(store::WorkingDatabase& database,
                                     const BeforeCompute& before) {
    CallTrafficResult result;
    result.table = ensureMinuteTable(
        database, QStringLiteral("CallTraffic"), kColumns,
        [&] {
            if (before)
                before();
            return compute(database.rawFigures());
        },
        &result.computed);
    return result;
}

} // namespace tarrow::reports
