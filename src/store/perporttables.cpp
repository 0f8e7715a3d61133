#include "store/perporttables.h"

#include "store/workingdatabase.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

namespace tarrow::store {

namespace {

QString cellText(const SQLite::Column& value) {
    // Whole numbers read without a fraction: seconds are stored as reals.
    return value.isInteger() ? QString::number(value.getInt64())
                             : QString::number(value.getDouble(), 'g', 15);
}

} // namespace

void storePerPortTable(WorkingDatabase& database, PerPortTable table,
                       const std::vector<PortFigures>& ports) {
    const bool timeUse = table == PerPortTable::PortTimeUsage;
    SQLite::Database& db = database.db();
    SQLite::Transaction transaction(db);
    db.exec(timeUse ? "DELETE FROM PortTimeUsage" : "DELETE FROM CallDistribution");
    SQLite::Statement insert(
        db, timeUse
                ? "INSERT INTO PortTimeUsage (Port, InboundCalls, InboundCallSeconds, MWIDialouts, "
                  "MWIDialoutSeconds, AMISDialouts, AMISDialoutSeconds, NotificationDialouts, "
                  "NotificationDialoutSeconds, TRAPDialouts, TRAPDialoutSeconds) "
                  "VALUES (?,?,?,?,?,?,?,?,?,?,?)"
                : "INSERT INTO CallDistribution (Port, InboundCalls, MWIDialouts, AMISDialouts, "
                  "NotificationDialouts, TRAPDialouts) VALUES (?,?,?,?,?,?)");
    for (std::size_t p = 0; p < ports.size(); ++p) {
        int column = 1;
        insert.bind(column++, static_cast<int>(p + 1));
        for (CallType type : kStoredOrder) {
            const std::size_t t = typeIndex(type);
            insert.bind(column++, static_cast<std::int64_t>(ports[p].calls[t]));
            if (timeUse)
                insert.bind(column++, ports[p].seconds[t]);
        }
        insert.exec();
        insert.reset();
    }
    transaction.commit();
}

QList<QStringList> readPerPortTable(WorkingDatabase& database, PerPortTable table) {
    const bool timeUse = table == PerPortTable::PortTimeUsage;
    const std::string name = timeUse ? "PortTimeUsage" : "CallDistribution";
    SQLite::Database& db = database.db();
    SQLite::Statement count(db, "SELECT COUNT(*) FROM " + name);
    count.executeStep();
    const qint64 rows = count.getColumn(0).getInt64();
    std::string select = "SELECT Port";
    // Grid columns 1 to 5 and the stored columns they show.
    for (CallType type : kReadingOrder)
        select += std::string(", ") + (timeUse ? info(type).secondsColumn : info(type).countColumn);
    SQLite::Statement query(db, select + " FROM " + name +
                                    " WHERE Port BETWEEN 1 AND ? ORDER BY Port, rowid");
    query.bind(1, static_cast<std::int64_t>(rows));
    QList<QStringList> byPort(static_cast<qsizetype>(rows));
    while (query.executeStep()) {
        QStringList& row = byPort[query.getColumn(0).getInt() - 1];
        if (!row.isEmpty())
            continue; // the first row of a port is the one shown
        for (int c = 0; c < 5; ++c)
            row << cellText(query.getColumn(c + 1));
    }
    return byPort;
}

} // namespace tarrow::store
