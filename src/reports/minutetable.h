#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

namespace tarrow::store {
class WorkingDatabase;
}

namespace tarrow::reports {

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

// The stored table when it holds a complete computation (1440 rows); otherwise
// the table is emptied, computed anew by compute and stored. computed tells
// which happened. Throws on database failures.
[[nodiscard]] MinuteTable ensureMinuteTable(store::WorkingDatabase& database, const QString& table,
                                            const QStringList& columns,
                                            const std::function<MinuteTable()>& compute,
                                            bool* computed = nullptr);

} // namespace tarrow::reports
