#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace tarrow::store {

class WorkingDatabase;

inline constexpr int kMinutesPerDay = 1440;

// A report's result table, as computed and as stored: rows numbered from 1 in
// the key column (Minute or Port), each with the value columns in stored
// order. values[c][r - 1] is column c of row r. Every value is a whole number;
// the columns marked real (seconds) are stored as REAL, as the schema has them.
struct ResultTable {
    QString name;        // the stored table, for example "PortAvailability"
    QString key;         // "Minute" or "Port"
    QStringList columns; // value columns, without the key
    std::vector<bool> real;
    std::vector<std::vector<qint64>> values;

    [[nodiscard]] qint64 at(int column, int row) const {
        return values[static_cast<std::size_t>(column)][static_cast<std::size_t>(row - 1)];
    }
    [[nodiscard]] int rowCount() const {
        return values.empty() ? 0 : static_cast<int>(values.front().size());
    }
    [[nodiscard]] bool isReal(int column) const {
        return static_cast<std::size_t>(column) < real.size() &&
               real[static_cast<std::size_t>(column)];
    }
};

// An empty per-minute table of these value columns, all zero.
[[nodiscard]] ResultTable minuteTable(const QString& name, const QStringList& columns);

// Reads a stored per-minute table when it holds a complete computation:
// exactly the minutes 1 to 1440. Throws on database failures.
[[nodiscard]] bool readMinuteTable(WorkingDatabase& database, const QString& table,
                                   const QStringList& columns, ResultTable& out);

// Replaces the stored table's rows with the computed ones, in one
// transaction. Throws on database failures.
void storeResultTable(WorkingDatabase& database, const ResultTable& table);

} // namespace tarrow::store
