#include "app/reportrun.h"
#include "load/loadedday.h"
#include "reports/perport/perportreport.h"
#include "support/reportfixture.h"

#include <SQLiteCpp/Statement.h>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace tarrow::reports {
namespace {

constexpr std::size_t kInbound = 0, kNotification = 1, kMwi = 2, kTrap = 3, kAmis = 4;

class PerPortTest : public ::testing::Test, protected testing::WorkingDatabaseFixture {
protected:
    // Runs the report as the windows do (so its table is stored) and gives
    // its figures.
    PerPortResult run(PerPortReport report, int from, int to, int peak) {
        state.day.peakPort = static_cast<std::int16_t>(peak);
        const ReportId id = report == PerPortReport::PortTimeUse ? ReportId::PortTimeUse
                                                                 : ReportId::CallDistribution;
        const TimeRange range{QTime(from / 60, from % 60), QTime(to / 60, to % 60)};
        const app::ReportRun r = app::runReport(state, reportEntry(id), {range, {}});
        EXPECT_TRUE(r.document.has_value()) << r.error.toStdString();
        return computePerPort(state.day, report, from, to);
    }
    std::vector<std::vector<double>> stored(const char* sql) {
        SQLite::Statement q(state.database.db(), sql);
        std::vector<std::vector<double>> rows;
        while (q.executeStep()) {
            rows.emplace_back();
            for (int c = 0; c < q.getColumnCount(); ++c)
                rows.back().push_back(q.getColumn(c).getDouble());
        }
        return rows;
    }
};

TEST_F(PerPortTest, RangeBoundsAreInclusiveAndCallsCountWhole) {
    addRow(1, 1, 480, 1, 1, 1020, 60);  // exactly the range
    addRow(1, 1, 479, 1, 1, 500, 60);   // started before
    addRow(1, 1, 1000, 1, 1, 1021, 60); // ended after
    addRow(1, 1, 600, 1, 1);            // never closed
    addRow(1, 99, 600, 1, 1);           // a disconnect sample is no call
    const PerPortResult r = run(PerPortReport::CallDistribution, 480, 1020, 2);
    ASSERT_EQ(r.ports.size(), 2u);
    EXPECT_EQ(r.ports[0].calls[kInbound], 1);
    EXPECT_EQ(r.highestPortInRange, 1);
}

TEST_F(PerPortTest, CallTypesLandInTheirColumns) {
    addRow(3, 1, 600, 1, 1, 601, 60);
    addRow(3, 1, 602, 1, 1, 603, 60);
    addRow(3, 2, 604, 1, 1, 605, 60);
    addRow(4, 3, 604, 1, 1, 605, 60);
    addRow(4, 4, 604, 1, 1, 605, 60);
    addRow(4, 5, 604, 1, 1, 605, 60);
    (void)run(PerPortReport::CallDistribution, 0, 1439, 4);
    // Port, InboundCalls, MWIDialouts, AMISDialouts, NotificationDialouts, TRAPDialouts
    const auto rows = stored("SELECT * FROM CallDistribution ORDER BY rowid");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[2], (std::vector<double>{3, 2, 0, 0, 1, 0}));
    EXPECT_EQ(rows[3], (std::vector<double>{4, 0, 1, 1, 0, 1}));
    EXPECT_EQ(rows[0], (std::vector<double>{1, 0, 0, 0, 0, 0}));
}

TEST_F(PerPortTest, OneRowPerPortUpToThePeakPort) {
    for (int port = 1; port <= 16; ++port)
        addRow(port, 1, 600, 1, 1, 601, 30);
    addRow(0, 1, 600, 1, 1, 601, 30);  // port 0 has no row
    addRow(60, 1, 600, 1, 1, 601, 30); // above the peak port: no row, but in range
    const PerPortResult r = run(PerPortReport::CallDistribution, 0, 1439, 48);
    EXPECT_EQ(r.ports.size(), 48u);
    EXPECT_EQ(count("CallDistribution"), 48);
    EXPECT_EQ(r.ports[15].calls[kInbound], 1);
    EXPECT_EQ(r.ports[16].calls[kInbound], 0);
    EXPECT_EQ(r.highestPortInRange, 60);

    // A range without calls, or a peak port of 0, gives zeros and no error.
    const PerPortResult empty = run(PerPortReport::CallDistribution, 0, 1, 48);
    EXPECT_EQ(empty.highestPortInRange, 0);
    EXPECT_EQ(count("CallDistribution"), 48);
    EXPECT_TRUE(run(PerPortReport::PortTimeUse, 0, 1439, 0).ports.empty());
    EXPECT_EQ(count("PortTimeUsage"), 0);
}

TEST_F(PerPortTest, PortTimeUseTotalsSecondsAndSkipsNegativeOnes) {
    addRow(2, 1, 600, 1, 1, 601, 60);
    addRow(2, 1, 602, 1, 1, 604, 90);
    addRow(2, 3, 605, 1, 1, 605, 30);
    addRow(2, 4, 606, 1, 1, 606, 0);    // zero seconds: counted
    addRow(2, 5, 607, 1, 1, 606, -40);  // negative: skipped here, counted by Call Distribution
    addRow(2, 1, 470, 1, 1, 500, 1800); // started before 8:00
    const PerPortResult time = run(PerPortReport::PortTimeUse, 480, 1020, 2);
    const PortFigures& port = time.ports[1];
    EXPECT_EQ(port.calls[kInbound], 2);
    EXPECT_EQ(port.seconds[kInbound], 150);
    EXPECT_EQ(port.calls[kMwi], 1);
    EXPECT_EQ(port.seconds[kMwi], 30);
    EXPECT_EQ(port.calls[kTrap], 1);
    EXPECT_EQ(port.calls[kAmis], 0);
    EXPECT_EQ(port.calls[kNotification], 0);
    const auto rows = stored("SELECT * FROM PortTimeUsage ORDER BY rowid");
    EXPECT_EQ(rows[1], (std::vector<double>{2, 2, 150, 1, 30, 0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(run(PerPortReport::CallDistribution, 480, 1020, 2).ports[1].calls[kAmis], 1);
}

TEST_F(PerPortTest, CountsBeyondSixteenBitsAreKept) {
    for (int i = 0; i < 33000; ++i)
        addRow(1, 1, 600, 1, 1, 601, 70000);
    const PerPortResult r = run(PerPortReport::PortTimeUse, 0, 1439, 1);
    EXPECT_EQ(r.ports[0].calls[kInbound], 33000);
    EXPECT_EQ(r.ports[0].seconds[kInbound], qint64{33000} * 70000);
}

TEST_F(PerPortTest, SummaryCsvLinesFollowTheHeaderOrder) {
    std::vector<PortFigures> ports(3);
    ports[1].calls = {4, 2, 1, 0, 0}; // inbound, notification, MWI, TRAP, AMIS
    ports[2].calls = {1, 0, 0, 5, 7};
    const SummaryTable t = perPortSummary(PerPortReport::CallDistribution, ports);
    EXPECT_TRUE(t.notices.isEmpty());
    EXPECT_EQ(summaryCsv(t),
              QByteArray("Port, Inbound Calls, MWI Dialouts, Notification Dialouts, TRAP "
                         "Dialouts, AMIS Dialouts\r\n1,0,0,0,0,0\r\n2,4,1,2,0,0\r\n"
                         "3,1,0,0,5,7\r\n"));
    EXPECT_EQ(t.layout.columns[4].header, QStringLiteral("TRAP Dailouts"));
    EXPECT_EQ(t.layout.filePrefix, QStringLiteral("CallDistributionSummary_"));

    std::vector<PortFigures> time(5);
    time[4].calls[kInbound] = 2;
    time[4].seconds[kInbound] = 3600;
    const SummaryTable timeUse = perPortSummary(PerPortReport::PortTimeUse, time);
    EXPECT_EQ(timeUse.rows[4][1], QStringLiteral("3600"));
    EXPECT_TRUE(summaryCsv(timeUse).contains("\r\n5,3600,0,0,0,0\r\n"));
    EXPECT_EQ(timeUse.layout.columns[1].header, QStringLiteral("Inbound Call Seconds"));
}

// The table file is written from the figures computed, as the stored table
// reads: seconds as REAL, lines ending in LF; what the database holds later
// does not change a document already made.
TEST_F(PerPortTest, ResultTableCsvMatchesTheStoredTable) {
    addRow(2, 1, 600, 1, 1, 601, 60);
    addRow(2, 2, 602, 1, 1, 603, 45);
    state.day.peakPort = 2;
    const TimeRange whole;
    const app::ReportRun r = app::runReport(state, reportEntry(ReportId::PortTimeUse), {whole, {}});
    ASSERT_TRUE(r.document && r.document->table);
    const QByteArray csv = resultTableCsv(*r.document->table);
    EXPECT_EQ(csv, QByteArray("Port,InboundCalls,InboundCallSeconds,MWIDialouts,MWIDialoutSeconds,"
                              "AMISDialouts,AMISDialoutSeconds,NotificationDialouts,"
                              "NotificationDialoutSeconds,TRAPDialouts,TRAPDialoutSeconds\n"
                              "1,0,0.0,0,0.0,0,0.0,0,0.0,0,0.0\n"
                              "2,1,60.0,0,0.0,0,0.0,1,45.0,0,0.0\n"));
    const auto rows = stored("SELECT * FROM PortTimeUsage ORDER BY rowid");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], (std::vector<double>{2, 1, 60, 0, 0, 0, 0, 1, 45, 0, 0}));
}

// A call type has one colour in every chart of ours, and no two types share one.
TEST_F(PerPortTest, ACallTypeHasOneColourInEveryChart) {
    load::LoadedDay day;
    day.dataDate = QDateTime(QDate(2009, 3, 7), QTime(0, 0));
    day.peakPort = 1;
    std::map<QString, QColor> colourOf;
    for (const ReportEntry& entry : reportTable())
        for (const charts::ChartSeries& series : entry.compute(day, {}).chart.series)
            for (const store::CallTypeInfo& type : store::kCallTypes) {
                const bool named = series.label == QLatin1String(type.label) ||
                                   (type.type == store::Inbound &&
                                    series.label == QStringLiteral("Incoming Calls"));
                if (!named)
                    continue;
                const QString key = QLatin1String(type.label);
                EXPECT_TRUE(series.color.isValid()) << entry.windowName.toStdString();
                if (colourOf.contains(key)) {
                    EXPECT_EQ(series.color, colourOf[key])
                        << key.toStdString() << " in " << entry.windowName.toStdString();
                }
                colourOf[key] = series.color;
            }
    ASSERT_EQ(colourOf.size(), 5u);
    std::set<QRgb> distinct;
    for (const auto& [label, colour] : colourOf)
        distinct.insert(colour.rgb());
    EXPECT_EQ(distinct.size(), 5u);
}

// A report computes from the loaded day alone: no database is needed.
TEST_F(PerPortTest, ReportsComputeWithoutADatabase) {
    load::LoadedDay day;
    day.dataDate = QDateTime(QDate(2009, 3, 7), QTime(0, 0));
    day.peakPort = 1;
    store::RawRow row;
    row.port = 1;
    row.callType = store::Inbound;
    row.closed = true;
    row.startSecond = 600 * 60;
    row.endSecond = 601 * 60;
    row.seconds = 60;
    day.rows.push_back(row);
    for (const ReportEntry& entry : reportTable()) {
        const ReportDocument doc = entry.compute(day, {});
        EXPECT_EQ(doc.report, entry.id) << entry.windowName.toStdString();
        EXPECT_EQ(doc.day, QDate(2009, 3, 7));
        EXPECT_EQ(doc.table.has_value(), !entry.resultTable.isEmpty());
        if (doc.table) {
            EXPECT_EQ(doc.table->name, entry.resultTable);
        }
    }
}

} // namespace
} // namespace tarrow::reports
