#include "reports/timeofday/calltraffic.h"

#include "store/rawportdata.h"
#include "store/workingdatabase.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

namespace tarrow::reports {

namespace {

const QStringList kColumns = {QStringLiteral("InboundCalls"), QStringLiteral("MWIDialouts"),
                              QStringLiteral("AMISDialouts"), QStringLiteral("NotificationDialouts"),
                              QStringLiteral("TRAPDialouts")};

// Column of each call type 1 to 5 (inbound, notification, MWI, TRAP, AMIS).
constexpr int kColumnOfType[] = {TrafficInbound, TrafficNotification, TrafficMwi, TrafficTrap,
                                 TrafficAmis};

MinuteTable compute(SQLite::Database& db) {
    MinuteTable table;
    table.columns = kColumns;
    table.values.assign(kColumns.size(), std::vector<qint64>(kMinutesPerDay, 0));
    SQLite::Statement query(db, "SELECT StartMinute, CallType, COUNT(*) FROM RawPortData "
                                "WHERE StartMinute BETWEEN 1 AND 1440 AND CallType BETWEEN 1 AND 5 "
                                "GROUP BY StartMinute, CallType");
    while (query.executeStep()) {
        const int minute = query.getColumn(0).getInt();
        const int type = query.getColumn(1).getInt();
        table.values[static_cast<std::size_t>(kColumnOfType[type - 1])]
                    [static_cast<std::size_t>(minute - 1)] = query.getColumn(2).getInt64();
    }
    return table;
}

} // namespace

CallTrafficResult computeCallTraffic(store::WorkingDatabase& database, const BeforeCompute& before) {
    CallTrafficResult result;
    result.table = ensureMinuteTable(
        database, QStringLiteral("CallTraffic"), kColumns,
        [&] {
            if (before)
                before();
            return compute(database.db());
        },
        &result.computed);
    return result;
}

} // namespace tarrow::reports
