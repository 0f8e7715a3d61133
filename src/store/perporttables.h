#pragma once

#include "store/calltypes.h"

#include <QList>
#include <QStringList>

#include <array>
#include <vector>

namespace tarrow::store {

class WorkingDatabase;

// One port's calls and call-seconds by call type (typeIndex).
struct PortFigures {
    std::array<qint64, kCallTypeCount> calls{};
    std::array<double, kCallTypeCount> seconds{};
};

// Which per-port table: CallDistribution (calls) or PortTimeUsage (calls and
// seconds).
enum class PerPortTable { CallDistribution, PortTimeUsage };

// Replaces the table's rows with ports 1 to ports.size(), in one transaction.
// Throws on database failures.
void storePerPortTable(WorkingDatabase& database, PerPortTable table,
                       const std::vector<PortFigures>& ports);

// The stored table as its summary shows it: its row count, and for each port
// from 1 to that count the first stored row's five shown columns (calls, or
// seconds for PortTimeUsage) in reading order, or nothing when the port has
// no row. Whole numbers read without a fraction. Throws on database failures.
[[nodiscard]] QList<QStringList> readPerPortTable(WorkingDatabase& database, PerPortTable table);

} // namespace tarrow::store
