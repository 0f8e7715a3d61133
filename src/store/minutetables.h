#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace tarrow::store {

class WorkingDatabase;

inline constexpr int kMinutesPerDay = 1440;

// A per-minute result table: one row per minute 1 to 1440, each with the value
// columns of the table in stored order. values[c][m - 1] is column c of minute m.
struct MinuteTable {
    QStringList columns; // value columns, without Minute
    std::vector<std::vector<qint64>> values;

    [[nodiscard]] qint64 at(int column, int minute) const {
        return values[static_cast<std::size_t>(column)][static_cast<std::size_t>(minute - 1)];
    }
};

// Reads a stored per-minute table when it holds a complete computation:
// exactly the minutes 1 to 1440. Throws on database failures.
[[nodiscard]] bool readMinuteTable(WorkingDatabase& database, const QString& table,
                                   const QStringList& columns, MinuteTable& out);

// Replaces a stored per-minute table with a computed one, in one transaction.
// Throws on database failures.
void storeMinuteTable(WorkingDatabase& database, const QString& table, const MinuteTable& result);

} // namespace tarrow::store
