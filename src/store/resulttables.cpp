#include "store/resulttables.h"

#include "store/workingdatabase.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

namespace tarrow::store {

namespace {

std::string utf8(const QString& s) {
    return s.toStdString();
}

} // namespace

ResultTable minuteTable(const QString& name, const QStringList& columns) {
    ResultTable table;
    table.name = name;
    table.key = QStringLiteral("Minute");
    table.columns = columns;
    table.real.assign(static_cast<std::size_t>(columns.size()), false);
    table.values.assign(static_cast<std::size_t>(columns.size()),
                        std::vector<qint64>(kMinutesPerDay, 0));
    return table;
}

bool readMinuteTable(WorkingDatabase& database, const QString& table, const QStringList& columns,
                     ResultTable& out) {
    SQLite::Database& db = database.db();
    SQLite::Statement count(db, "SELECT COUNT(*) FROM " + utf8(table));
    count.executeStep();
    if (count.getColumn(0).getInt64() != kMinutesPerDay)
        return false;
    SQLite::Statement rows(db, "SELECT Minute, " + utf8(columns.join(QStringLiteral(", "))) +
                                   " FROM " + utf8(table) + " ORDER BY Minute");
    out = minuteTable(table, columns);
    int expected = 1;
    while (rows.executeStep()) {
        // A table whose minutes are not exactly 1 to 1440 is no complete computation.
        if (rows.getColumn(0).getInt() != expected)
            return false;
        for (int c = 0; c < columns.size(); ++c)
            out.values[static_cast<std::size_t>(c)][static_cast<std::size_t>(expected - 1)] =
                rows.getColumn(c + 1).getInt64();
        ++expected;
    }
    return expected == kMinutesPerDay + 1;
}

void storeResultTable(WorkingDatabase& database, const ResultTable& table) {
    SQLite::Database& db = database.db();
    SQLite::Transaction transaction(db);
    db.exec("DELETE FROM " + utf8(table.name));
    QStringList marks{QStringLiteral("?")};
    for (int c = 0; c < table.columns.size(); ++c)
        marks << QStringLiteral("?");
    SQLite::Statement insert(db, "INSERT INTO " + utf8(table.name) + " (" + utf8(table.key) + ", " +
                                     utf8(table.columns.join(QStringLiteral(", "))) + ") VALUES (" +
                                     utf8(marks.join(QLatin1Char(','))) + ")");
    for (int r = 1; r <= table.rowCount(); ++r) {
        insert.bind(1, r);
        for (int c = 0; c < table.columns.size(); ++c) {
            const auto value = static_cast<std::int64_t>(table.at(c, r));
            if (table.isReal(c))
                insert.bind(c + 2, static_cast<double>(value));
            else
                insert.bind(c + 2, value);
        }
        insert.exec();
        insert.reset();
    }
    transaction.commit();
}

} // namespace tarrow::store
