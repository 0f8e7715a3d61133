#include "reports/perport/perportreport.h"

#include "store/workingdatabase.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <algorithm>

namespace tarrow::reports {

namespace {

// Stored column order of the call types: inbound, MWI, AMIS, notification, TRAP.
constexpr int kTypesInTableOrder[] = {1, 3, 5, 2, 4};

void store(SQLite::Database& db, PerPortReport report, const std::vector<PortFigures>& ports) {
    const bool timeUse = report == PerPortReport::PortTimeUse;
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
        for (int type : kTypesInTableOrder) {
            const auto t = static_cast<std::size_t>(type - 1);
            insert.bind(column++, static_cast<std::int64_t>(ports[p].calls[t]));
            if (timeUse)
                insert.bind(column++, ports[p].seconds[t]);
        }
        insert.exec();
        insert.reset();
    }
    transaction.commit();
}

QString cellText(const SQLite::Column& value) {
    // Whole numbers read without a fraction: seconds are stored as reals.
    return value.isInteger() ? QString::number(value.getInt64())
                             : QString::number(value.getDouble(), 'g', 15);
}

} // namespace

PerPortResult computePerPort(store::WorkingDatabase& database, PerPortReport report,
                             int startMinute, int endMinute, int peakPort,
                             const BeforeCompute& before) {
    const std::vector<store::RawFigures>& rows = database.rawFigures();
    if (before)
        before();
    PerPortResult result;
    result.ports.resize(static_cast<std::size_t>(std::max(0, peakPort)));
    const bool timeUse = report == PerPortReport::PortTimeUse;
    for (const store::RawFigures& row : rows) {
        if (!row.closed || row.startMinute < startMinute || row.endMinute > endMinute)
            continue;
        result.highestPortInRange = std::max<int>(result.highestPortInRange, row.port);
        if (row.callType < 1 || row.callType > 5 || row.port < 1 || row.port > peakPort)
            continue;
        if (timeUse && row.seconds < 0)
            continue;
        PortFigures& port = result.ports[static_cast<std::size_t>(row.port - 1)];
        const auto t = static_cast<std::size_t>(row.callType - 1);
        ++port.calls[t];
        port.seconds[t] += row.seconds;
    }
    store(database.db(), report, result.ports);
    return result;
}

SummaryTable perPortSummary(store::WorkingDatabase& database, PerPortReport report) {
    const bool timeUse = report == PerPortReport::PortTimeUse;
    SummaryTable t;
    t.layout.columns = {
        {QStringLiteral("Port"), 465, QStringLiteral("Port")},
        {QStringLiteral("InboundCalls"), timeUse ? 1725 : 1140,
         timeUse ? QStringLiteral("Inbound Call Seconds") : QStringLiteral("Inbound Calls")},
        {QStringLiteral("MWIDialouts"), timeUse ? 1695 : 1110,
         timeUse ? QStringLiteral("MWI Dialout Seconds") : QStringLiteral("MWI Dialouts")},
        {QStringLiteral("NotificationDialouts"), timeUse ? 2160 : 1500,
         timeUse ? QStringLiteral("Notification Dialout Seconds")
                 : QStringLiteral("Notification Dialouts")},
        {QStringLiteral("TRAPDialouts"), timeUse ? 1785 : 1140,
         timeUse ? QStringLiteral("TRAP Dailout Seconds") : QStringLiteral("TRAP Dailouts")},
        {QStringLiteral("AMISDialouts"), 960,
         timeUse ? QStringLiteral("AMIS Dialout Seconds") : QStringLiteral("AMIS Dialouts")}};
    t.layout.csvHeader =
        timeUse ? QStringLiteral("Port, Inbound Call Seconds, MWI Dialout Seconds, Notification "
                                 "Dialout Seconds, TRAP Dialout Seconds, AMIS Dialout Seconds")
                : QStringLiteral("Port, Inbound Calls, MWI Dialouts, Notification Dialouts, TRAP "
                                 "Dialouts, AMIS Dialouts");
    t.layout.csvValueKeys = {QStringLiteral("InboundCalls"), QStringLiteral("MWIDialouts"),
                             QStringLiteral("NotificationDialouts"), QStringLiteral("TRAPDialouts"),
                             QStringLiteral("AMISDialouts")};
    t.layout.filePrefix = timeUse ? QStringLiteral("PortTimeUseSummary_")
                                  : QStringLiteral("CallDistributionSummary_");

    // Grid columns 1 to 5 and the stored columns they show.
    const char* const sources[] = {timeUse ? "InboundCallSeconds" : "InboundCalls",
                                   timeUse ? "MWIDialoutSeconds" : "MWIDialouts",
                                   timeUse ? "NotificationDialoutSeconds" : "NotificationDialouts",
                                   timeUse ? "TRAPDialoutSeconds" : "TRAPDialouts",
                                   timeUse ? "AMISDialoutSeconds" : "AMISDialouts"};
    const std::string table = timeUse ? "PortTimeUsage" : "CallDistribution";
    SQLite::Database& db = database.db();
    SQLite::Statement count(db, "SELECT COUNT(*) FROM " + table);
    count.executeStep();
    const qint64 rows = count.getColumn(0).getInt64();
    std::string select = "SELECT Port";
    for (const char* source : sources)
        select += std::string(", ") + source;
    SQLite::Statement query(db, select + " FROM " + table +
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
    const QString where =
        timeUse ? QStringLiteral("PortTimeUsage") : QStringLiteral("Call Distribution");
    for (int r = 1; r <= rows; ++r) {
        QStringList cells{QString::number(r)};
        if (byPort[r - 1].isEmpty())
            t.notices << QStringLiteral("Error, could not find port #%1 in the %2 database.")
                             .arg(r)
                             .arg(where);
        else
            cells << byPort[r - 1];
        t.rows.append(cells);
    }
    return t;
}

} // namespace tarrow::reports
