#include "app/reportrun.h"
#include "platform/fileoutput.h"
#include "reports/timeofday/calltraffic.h"
#include "reports/timeofday/hourlysummary.h"
#include "reports/timeofday/portavailability.h"
#include "support/printzoom.h"
#include "support/reportfixture.h"

#include <QFile>

#include <gtest/gtest.h>

namespace tarrow::reports {
namespace {

// A report's table as a run gives it, and whether it was computed anew
// rather than read from the stored table.
struct TableRun {
    ResultTable table;
    bool computed = false;
    bool noActivity = false;
};

class TimeOfDayTest : public ::testing::Test, protected testing::WorkingDatabaseFixture {
protected:
    TableRun run(ReportId report) {
        TableRun result;
        testing::RecordingStatus crunching;
        app::ReportRun r = app::runReport(state, reportEntry(report), {}, &crunching);
        result.computed = !crunching.captions.isEmpty();
        EXPECT_TRUE(r.document.has_value()) << r.error.toStdString();
        if (r.document) {
            result.table = *r.document->table;
            result.noActivity = r.document->notes.contains(noActivityMessage());
        }
        return result;
    }
    TableRun availability(std::int16_t peak = 24) {
        state.day.peakAvailable = peak;
        return run(ReportId::PortAvailability);
    }
};

TEST_F(TimeOfDayTest, PortAvailabilityTakesExtremesOfEachMinute) {
    addRow(1, 1, 600, 2, 10);
    addRow(2, 1, 600, 5, 7);
    addRow(1, 99, 600, 3, 9);
    addRow(3, 99, 601, 4, 1200); // a disconnect sample counts like a call start
    addRow(3, 1, 602, -2, 5);    // busy never below 0
    const ResultTable t = availability().table;
    EXPECT_EQ(t.at(MinLinesAvailable, 600), 7);
    EXPECT_EQ(t.at(MaxLinesInUse, 600), 5);
    EXPECT_EQ(t.at(MinLinesAvailable, 601), 999);
    EXPECT_EQ(t.at(MaxLinesInUse, 601), 4);
    EXPECT_EQ(t.at(MaxLinesInUse, 602), 0);
    EXPECT_EQ(t.at(MinLinesAvailable, 602), 5);
}

TEST_F(TimeOfDayTest, PortAvailabilityFillsBeforeBetweenAndAfterSamples) {
    addRow(1, 1, 0, 9, 1); // minute 0 is outside the report
    addRow(1, 1, 480, 3, 12);
    addRow(1, 1, 700, 6, 8);
    addRow(1, 1, 1020, 2, 14);
    const TableRun r = availability(20);
    EXPECT_FALSE(r.noActivity);
    struct Case {
        int minute, available, busy;
    };
    for (const Case& c : {Case{1, 20, 0}, Case{479, 20, 0}, Case{480, 12, 3}, Case{481, 12, 3},
                          Case{699, 12, 3}, Case{700, 8, 6}, Case{1019, 8, 6}, Case{1020, 14, 2},
                          Case{1021, 20, 0}, Case{1440, 20, 0}}) {
        EXPECT_EQ(r.table.at(MinLinesAvailable, c.minute), c.available) << c.minute;
        EXPECT_EQ(r.table.at(MaxLinesInUse, c.minute), c.busy) << c.minute;
    }
    EXPECT_EQ(count("PortAvailability"), 1440);
}

TEST_F(TimeOfDayTest, PortAvailabilityWithoutSamplesIsFlatAndSaysSo) {
    addRow(1, 1, 0, 9, 1);
    const TableRun r = availability(16);
    EXPECT_TRUE(r.noActivity);
    for (int m : {1, 720, 1440}) {
        EXPECT_EQ(r.table.at(MinLinesAvailable, m), 16);
        EXPECT_EQ(r.table.at(MaxLinesInUse, m), 0);
    }
}

TEST_F(TimeOfDayTest, StoredTableIsReusedOnlyWhenComplete) {
    addRow(1, 1, 600, 2, 10);
    EXPECT_TRUE(availability().computed);
    addRow(1, 1, 600, 9, 1); // not seen: the stored figures serve until the next load
    TableRun again = availability();
    EXPECT_FALSE(again.computed);
    EXPECT_EQ(again.table.at(MaxLinesInUse, 600), 2);

    for (const char* damage : {"DELETE FROM PortAvailability WHERE Minute > 1",
                               "DELETE FROM PortAvailability WHERE Minute > 700",
                               "UPDATE PortAvailability SET Minute = 5000 WHERE Minute = 3"}) {
        exec(damage);
        again = availability();
        EXPECT_TRUE(again.computed) << damage;
        EXPECT_EQ(again.table.at(MaxLinesInUse, 600), 9) << damage;
        EXPECT_EQ(count("PortAvailability"), 1440) << damage;
    }
}

TEST_F(TimeOfDayTest, CallTrafficCountsCallStartsPerMinute) {
    for (int i = 0; i < 3; ++i)
        addRow(i, 1, 600, 1, 1);
    addRow(4, 3, 600, 1, 1);
    addRow(4, 99, 600, 1, 1);
    addRow(5, 99, 600, 1, 1);
    addRow(6, 2, 0, 1, 1); // minute 0 is not counted
    addRow(7, 5, 1439, 1, 1);
    addRow(8, 4, 61, 1, 1, 65, 200);
    addRow(8, 2, 61, 1, 1);
    const TableRun r = run(ReportId::CallTraffic);
    EXPECT_EQ(r.table.at(trafficColumn(store::Inbound), 600), 3);
    EXPECT_EQ(r.table.at(trafficColumn(store::Mwi), 600), 1);
    EXPECT_EQ(r.table.at(trafficColumn(store::Notification), 600), 0);
    EXPECT_EQ(r.table.at(trafficColumn(store::Trap), 61), 1);
    EXPECT_EQ(r.table.at(trafficColumn(store::Notification), 61), 1);
    EXPECT_EQ(r.table.at(trafficColumn(store::Amis), 1439), 1);
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(r.table.at(c, 1), 0);
        EXPECT_EQ(r.table.at(c, 1440), 0);
    }
    EXPECT_FALSE(run(ReportId::CallTraffic).computed);
}

TEST_F(TimeOfDayTest, CountsBeyondSixteenBitsAreKept) {
    for (int i = 0; i < 40000; ++i)
        addRow(1, 1, 600, 1, 1);
    const TableRun r = run(ReportId::CallTraffic);
    EXPECT_EQ(r.table.at(trafficColumn(store::Inbound), 600), 40000);
    EXPECT_EQ(callTrafficSummary(r.table).rows[9][1], QStringLiteral("40000"));
}

ResultTable constantTable(int columns) {
    ResultTable t;
    for (int c = 0; c < columns; ++c)
        t.columns << QStringLiteral("C%1").arg(c);
    t.values.assign(static_cast<std::size_t>(columns), std::vector<qint64>(kMinutesPerDay, 0));
    return t;
}

TEST(HourlySummaries, BucketMinutesTheirOwnWay) {
    ResultTable pa = constantTable(2);
    for (auto& v : pa.values[MinLinesAvailable])
        v = 20;
    pa.values[MaxLinesInUse][59] = 7;   // minute 60: clock hour 2
    pa.values[MaxLinesInUse][1439] = 9; // minute 1440: no row
    pa.values[MinLinesAvailable][1439] = 1;
    pa.values[MinLinesAvailable][1379] = 3; // minute 1380: row 24
    const SummaryTable s = portAvailabilitySummary(pa);
    ASSERT_EQ(s.rows.size(), 24);
    EXPECT_EQ(s.rows[0],
              (QStringList{QStringLiteral(" 1"), QStringLiteral(" 0"), QStringLiteral(" 20")}));
    EXPECT_EQ(s.rows[1][1], QStringLiteral(" 7"));
    EXPECT_EQ(s.rows[23],
              (QStringList{QStringLiteral(" 24"), QStringLiteral(" 0"), QStringLiteral(" 3")}));
    EXPECT_EQ(s.column(QStringLiteral("MinPortsAvailableToTakeCalls")), 2);

    ResultTable ct = constantTable(5);
    ct.values[trafficColumn(store::Inbound)][59] = 4; // minute 60: first hour
    ct.values[trafficColumn(store::Inbound)][60] = 1; // minute 61: second hour
    ct.values[trafficColumn(store::Trap)][1439] = 2;  // minute 1440: last hour
    ct.values[trafficColumn(store::Mwi)][0] = 3;
    const SummaryTable t = callTrafficSummary(ct);
    EXPECT_EQ(t.rows[0],
              (QStringList{QStringLiteral(" 1"), QStringLiteral("4"), QStringLiteral("3"),
                           QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}));
    EXPECT_EQ(t.rows[1][1], QStringLiteral("1"));
    EXPECT_EQ(t.rows[23][4], QStringLiteral("2"));
    EXPECT_EQ(t.layout.columns[4].header, QStringLiteral("TRAP Dailouts"));
}

TEST(HourlySummaries, CsvBytes) {
    ResultTable pa = constantTable(2);
    for (auto& v : pa.values[MinLinesAvailable])
        v = 12;
    pa.values[MaxLinesInUse][500] = 4;
    const QByteArray csv = summaryCsv(portAvailabilitySummary(pa));
    EXPECT_TRUE(csv.startsWith("Hour, Max ports in use, Minimum ports available to take calls\r\n"
                               "1,0,12\r\n2,0,12\r\n"));
    EXPECT_TRUE(csv.contains("\r\n9,4,12\r\n"));
    EXPECT_TRUE(csv.endsWith("\r\n24,0,12\r\n"));
    EXPECT_EQ(csv.count("\r\n"), 25);

    ResultTable ct = constantTable(5);
    ct.values[trafficColumn(store::Inbound)][500] = 31;
    ct.values[trafficColumn(store::Mwi)][501] = 2;
    ct.values[trafficColumn(store::Amis)][502] = 1;
    const QByteArray traffic = summaryCsv(callTrafficSummary(ct));
    EXPECT_TRUE(traffic.startsWith("Hour, Inbound Calls, MWI Dialouts, Notification Dialouts, "
                                   "TRAP Dialouts, AMIS Dialouts\r\n1,0,0,0,0,0\r\n"));
    EXPECT_TRUE(traffic.contains("\r\n9,31,2,0,0,1\r\n"));
}

TEST(DefaultNames, CarryTheDateWithoutLeadingZeros) {
    EXPECT_EQ(platform::dateFileName(QStringLiteral("PortAvailabilitySummary_"), QDate(2009, 3, 7),
                                     QStringLiteral(".csv")),
              QStringLiteral("PortAvailabilitySummary_3_7_2009.csv"));
    EXPECT_EQ(platform::dateFileName(QStringLiteral("PortAvailabilityGraph_"), QDate(2009, 11, 12),
                                     QStringLiteral(".BMP")),
              QStringLiteral("PortAvailabilityGraph_11_12_2009.BMP"));
    EXPECT_EQ(platform::dateFileName(QStringLiteral("PortTimeUseGraph_"), QDate(2010, 1, 1),
                                     QStringLiteral(".BMP")),
              QStringLiteral("PortTimeUseGraph_1_1_2010.BMP"));
}

TEST(SavingFiles, ReplacesWholeFilesAndReportsFailures) {
    testing::TempFolder dir;
    const QString path = dir.write(QStringLiteral("old.csv"), QByteArray(5000, 'x'));
    EXPECT_TRUE(platform::saveFileAtomically(path, "new\r\n").ok());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("new\r\n"));
    const QString error =
        platform::saveFileAtomically(dir.file(QStringLiteral("missing/x.csv")), "data").error();
    EXPECT_TRUE(error.contains(QStringLiteral("x.csv")));
}

TEST(PrintZoom, FitsThePageWithoutEnlarging) {
    struct Case {
        double pageW, pageH, picW, picH;
        std::optional<int> zoom;
    };
    const Case cases[] = {
        {1000, 1000, 500, 500, {}}, // fits: unchanged
        {1000, 800, 1000, 800, {}}, // ratio exactly 1.0: unchanged
        {500, 1000, 800, 800, 62},  // width ratio 0.625: 62.5 goes to 62
        {1000, 300, 800, 800, 38},  // height ratio 0.375: 37.5 goes to 38
        {400, 1000, 800, 800, 50},
        {700, 600, 1000, 1000, 60}, // the smaller ratio (height) decides
        {600, 700, 1000, 1000, 60}, // the smaller ratio (width) decides
    };
    for (const Case& c : cases)
        EXPECT_EQ(support::printZoomPercent(c.pageW, c.pageH, c.picW, c.picH), c.zoom)
            << c.pageW << 'x' << c.pageH << " / " << c.picW << 'x' << c.picH;
}

} // namespace
} // namespace tarrow::reports
