#include "reports/minutetable.h"

#include "store/minutetables.h"

namespace tarrow::reports {

MinuteTable ensureMinuteTable(store::WorkingDatabase& database, const QString& table,
                              const QStringList& columns,
                              const std::function<MinuteTable()>& compute, bool* computed) {
    MinuteTable result;
    if (store::readMinuteTable(database, table, columns, result)) {
        if (computed)
            *computed = false;
        return result;
    }
    result = compute();
    store::storeMinuteTable(database, table, result);
    if (computed)
        *computed = true;
    return result;
}

} // namespace tarrow::reports
