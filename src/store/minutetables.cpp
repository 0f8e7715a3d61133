#include "store/minutetables.h"

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

bool readMinuteTable(WorkingDatabase& database, const QString& table, const QStringList& columns,
                     MinuteTable& out) {
    SQLite::Database& db = database.db();
    SQLite::Statement count(db, "SELECT COUNT(*) FROM " + utf8(table));
    count.executeStep();
    if (count.getColumn(0).getInt64() != kMinutesPerDay)
        return false;
    SQLite::Statement rows(db, "SELECT Minute, " + utf8(columns.join(QStringLiteral(", "))) +
                                   " FROM " + utf8(table) + " ORDER BY Minute");
    out.columns = columns;
    out.values.assign(static_cast<std::size_t>(columns.size()),
                      std::vector<qint64>(kMinutesPerDay, 0));
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

void storeMinuteTable(WorkingDatabase& database, const QString& table, const MinuteTable& result) {
    SQLite::Database& db = database.db();
    SQLite::Transaction transaction(db);
    db.exec("DELETE FROM " + utf8(table));
    QStringList marks;
    for (int c = 0; c <= result.columns.size(); ++c)
        marks << QStringLiteral("?");
    SQLite::Statement insert(db, "INSERT INTO " + utf8(table) + " (Minute, " +
                                     utf8(result.columns.join(QStringLiteral(", "))) +
                                     ") VALUES (" + utf8(marks.join(QLatin1Char(','))) + ")");
    for (int m = 1; m <= kMinutesPerDay; ++m) {
        insert.bind(1, m);
        for (int c = 0; c < result.columns.size(); ++c)
            insert.bind(c + 2, static_cast<std::int64_t>(result.at(c, m)));
        insert.exec();
        insert.reset();
    }
    transaction.commit();
}

} // namespace tarrow::store
