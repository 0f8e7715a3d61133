#include "load/loadedday.h"
#include "reports/capacity/capacity.h"
#include "reports/capacity/capacityoutput.h"
#include "reports/capacity/erlangb.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>

namespace tarrow::reports {
namespace {

constexpr int hms(int h, int m, int s = 0) {
    return h * 3600 + m * 60 + s;
}

// A day built row by row, times in seconds of the day.
class Day {
public:
    Day() { day.dataDate = QDateTime(QDate(2026, 12, 7), QTime(23, 0)); }
    // A call leg; seconds < 0 with closed false leaves it open.
    Day& leg(int port, int type, int start, int seconds, bool closed = true, int available = 5,
             int inUse = 1) {
        store::RawRow row;
        row.port = static_cast<std::int16_t>(port);
        row.callType = static_cast<std::int8_t>(type);
        row.startSecond = start;
        row.seconds = closed ? seconds : 0;
        row.endSecond = closed ? start + seconds : 0;
        row.closed = closed;
        row.linesAvailable = static_cast<std::int16_t>(available);
        row.linesInUse = static_cast<std::int16_t>(inUse);
        day.rows.push_back(row);
        return *this;
    }
    // A disconnect sample of the server's line counts.
    Day& sample(int start, int available, int inUse = 0, int port = 1) {
        store::RawRow row;
        row.port = static_cast<std::int16_t>(port);
        row.callType = store::Disconnect;
        row.startSecond = start;
        row.linesAvailable = static_cast<std::int16_t>(available);
        row.linesInUse = static_cast<std::int16_t>(inUse);
        day.rows.push_back(row);
        return *this;
    }
    [[nodiscard]] CapacityFigures figures() const { return computeCapacityFigures(day); }

    load::LoadedDay day;
};

TEST(ErlangB, KnownValuesAndSizing) {
    EXPECT_DOUBLE_EQ(erlang::blocking(1, 1), 0.5);
    EXPECT_DOUBLE_EQ(erlang::blocking(2, 2), 0.4);
    EXPECT_DOUBLE_EQ(erlang::blocking(3, 0), 1.0);
    EXPECT_DOUBLE_EQ(erlang::blocking(0, 4), 0.0);
    // The textbook row: 20 ports at 1 % carry 12.03 Erlangs.
    EXPECT_NEAR(erlang::capacity(20, 0.01), 12.0306, 0.0001);
    EXPECT_LE(erlang::blocking(erlang::capacity(20, 0.01), 20), 0.01);
    EXPECT_GT(erlang::blocking(erlang::capacity(20, 0.01) * (1 + 1e-5), 20), 0.01);
    EXPECT_EQ(erlang::portsNeeded(12.0, 0.01), 20);
    EXPECT_EQ(erlang::portsNeeded(12.1, 0.01), 21);
    EXPECT_EQ(erlang::portsNeeded(0, 0.01), 0);
    // The ends of the targets offered.
    EXPECT_NEAR(erlang::capacity(1, 0.001), 0.001001, 1e-6);
    EXPECT_NEAR(erlang::capacity(100, 0.2), 120.64, 0.01);
    EXPECT_EQ(erlang::capacity(0, 0.01), 0.0);
}

TEST(ErlangB, StableForTenThousandPorts) {
    const double b = erlang::blocking(9000, 10000);
    EXPECT_TRUE(std::isfinite(b));
    EXPECT_LT(b, 1e-20);
    EXPECT_NEAR(erlang::blocking(10000, 10000), 0.0079, 0.0002);
    const double c = erlang::capacity(10000, 0.01);
    EXPECT_NEAR(c, 10031.25, 0.05);
    EXPECT_EQ(erlang::portsNeeded(c, 0.01), 10000);
}

TEST(CapacityFigures, TrafficIsSplitOverQuarterHoursByType) {
    Day d;
    d.leg(1, store::Inbound, hms(8, 10), 600);     // 300 s in 08:00 and 300 s in 08:15
    d.leg(2, store::Mwi, hms(8, 14, 59), 2);       // 1 s each side of 08:15
    d.leg(3, store::Amis, hms(23, 59), 300);       // only the minute before midnight counts
    d.leg(4, store::Notification, hms(9, 0), -40); // a negative length carries nothing
    d.leg(5, store::Trap, hms(9, 0), 0, false);    // open: no traffic, but a port in service
    d.sample(hms(8, 20), 4, 1, 1);                 // a disconnect is no call
    const CapacityFigures f = d.figures();
    const auto at = [&f](int h, int m, store::CallType t) {
        return f.callSeconds[static_cast<std::size_t>((h * 60 + m) / 15)][store::typeIndex(t)];
    };
    EXPECT_EQ(at(8, 0, store::Inbound), 300);
    EXPECT_EQ(at(8, 15, store::Inbound), 300);
    EXPECT_EQ(at(8, 0, store::Mwi), 1);
    EXPECT_EQ(at(8, 15, store::Mwi), 1);
    EXPECT_EQ(at(23, 45, store::Amis), 60);
    EXPECT_EQ(at(9, 0, store::Notification), 0);
    EXPECT_DOUBLE_EQ(f.erlangs(32), 301.0 / 900);
    EXPECT_EQ(f.portsWithCalls, 5);
    EXPECT_EQ(f.callsWithoutEnd, 1);
    EXPECT_EQ(f.peakConcurrentCalls, 2);
}

TEST(CapacityFigures, BusyHourIsTheEarliestOfEqualHours) {
    std::array<qint64, kQuarterHours> seconds{};
    EXPECT_EQ(busiestHour(seconds), 0) << "a day without traffic";
    seconds[40] = 900; // 10:00 to 10:15
    seconds[60] = 900; // 15:00 to 15:15, an equal hour later in the day
    EXPECT_EQ(busiestHour(seconds), 37) << "10:00 is in every window from 09:15 on";
    seconds[95] = 901;
    EXPECT_EQ(busiestHour(seconds), 92) << "the last window ends at midnight";

    Day d;
    d.leg(1, store::Inbound, hms(10, 0), 3600);
    d.leg(2, store::Inbound, hms(14, 0), 3600);
    d.leg(3, store::Mwi, hms(14, 30), 60);
    const CapacityFigures f = d.figures();
    EXPECT_EQ(quarterStart(f.busyHourStart), QStringLiteral("14:00"));
    EXPECT_EQ(f.busyHourSeconds(), 3660);
    EXPECT_DOUBLE_EQ(f.busyHourErlangs(), 3660.0 / 3600);
    EXPECT_DOUBLE_EQ(f.busyHourErlangs(store::typeIndex(store::Mwi)), 60.0 / 3600);
}

TEST(CapacityFigures, AllPortsBusyFromTheServersCounts) {
    Day d;
    d.sample(hms(9, 0), 3);
    d.sample(hms(9, 10), 0); // all busy from 09:10 ...
    d.sample(hms(9, 12), 0); // ... still ...
    d.sample(hms(9, 17), 2); // ... until 09:17: one spell of 420 s across 09:15
    d.sample(hms(11, 0), 0); // a spell of 30 s
    d.sample(hms(11, 0, 30), 1);
    d.sample(hms(12, 0), 0); // the last sample holds for no time, but is a spell
    d.leg(1, store::Inbound, hms(9, 0), 3600, true, 4, 7);
    const CapacityFigures f = d.figures();
    EXPECT_EQ(f.atbTotalSeconds, 450);
    EXPECT_EQ(f.atbEpisodes, 3);
    EXPECT_EQ(f.atbLongestSeconds, 420);
    EXPECT_EQ(f.atbSeconds[36], 300); // 09:00 quarter: 09:10 to 09:15
    EXPECT_EQ(f.atbSeconds[37], 120);
    EXPECT_EQ(f.atbSeconds[44], 30);
    EXPECT_EQ(quarterStart(f.busyHourStart), QStringLiteral("09:00"));
    EXPECT_EQ(f.atbBusyHourSeconds(), 420);
    EXPECT_EQ(f.peakLinesInUse, 7);
}

TEST(CapacityFigures, SamplesOutOfOrderAreTakenInTimeOrder) {
    // A call leg is stored when its start line is read, and its sample time
    // is its start; rows of the autumn's repeated hour can come back in time.
    Day d;
    d.sample(hms(2, 30), 0);
    d.sample(hms(2, 10), 4);
    d.sample(hms(2, 40), 5);
    d.sample(hms(2, 20), 0); // same time as the next: row order decides
    d.sample(hms(2, 20), 6);
    const CapacityFigures f = d.figures();
    // In time order: 02:10 4, 02:20 0, 02:20 6, 02:30 0, 02:40 5.
    EXPECT_EQ(f.atbEpisodes, 2);
    EXPECT_EQ(f.atbTotalSeconds, 600);
    EXPECT_EQ(f.atbLongestSeconds, 600);
}

TEST(CapacityFigures, ConcurrentCallsCountLegsInProgressAtOneSecond) {
    Day d;
    d.leg(1, store::Inbound, 100, 10); // 100 to 109
    d.leg(2, store::Inbound, 110, 10); // starts as the first ends: never together
    d.leg(3, store::Mwi, 105, 10);     // with both in turn
    d.leg(4, store::Mwi, 108, 1);      // 108 only: three at once
    d.leg(5, store::Amis, 200, 0);     // no time at all
    EXPECT_EQ(d.figures().peakConcurrentCalls, 3);
}

TEST(Sizing, PortsFromTheCallsOrTheUserAndGrowth) {
    Day d;
    for (int port = 1; port <= 20; ++port)
        d.leg(port, store::Inbound, hms(10, 0), port <= 12 ? 3600 : 0);
    d.sample(hms(10, 30), 0).sample(hms(10, 30, 36), 1); // 36 s all busy in the busy hour
    const CapacityFigures f = d.figures();
    ASSERT_DOUBLE_EQ(f.busyHourErlangs(), 12.0);

    const Sizing fromCalls = sizeCapacity(f, {});
    EXPECT_EQ(fromCalls.ports, 20);
    EXPECT_FALSE(fromCalls.portsFromUser);
    EXPECT_EQ(fromCalls.portsNeeded, 20);
    EXPECT_EQ(fromCalls.portsToAdd, 0);
    EXPECT_NEAR(fromCalls.capacityErlangs, 12.0306, 1e-4);
    EXPECT_NEAR(fromCalls.headroomErlangs, 0.0306, 1e-4);
    EXPECT_NEAR(fromCalls.headroomPercent, 100 * 0.0306 / 12.0306, 1e-3);
    EXPECT_DOUBLE_EQ(fromCalls.predictedBlocking, erlang::blocking(12, 20));
    EXPECT_DOUBLE_EQ(fromCalls.measuredBlocking, 0.01);

    const Sizing grown = sizeCapacity(f, {16, 0.05, 50});
    EXPECT_TRUE(grown.portsFromUser);
    EXPECT_DOUBLE_EQ(grown.erlangs, 18.0);
    EXPECT_EQ(grown.portsNeeded, erlang::portsNeeded(18, 0.05));
    EXPECT_EQ(grown.portsToAdd, grown.portsNeeded - 16);
    EXPECT_LT(grown.headroomErlangs, 0);
    EXPECT_DOUBLE_EQ(grown.measuredBlocking, 0.01) << "growth changes the forecast only";

    const Sizing quiet = sizeCapacity(Day().figures(), {});
    EXPECT_EQ(quiet.ports, 0);
    EXPECT_EQ(quiet.portsNeeded, 0);
    EXPECT_EQ(quiet.capacityErlangs, 0);
    EXPECT_EQ(quiet.headroomPercent, 0);
}

TEST(CapacityOutput, TableAndJsonFiles) {
    Day d;
    d.leg(7, store::Inbound, hms(9, 0), 450);
    d.leg(8, store::Trap, hms(9, 5), 90);
    d.leg(9, store::Mwi, hms(9, 6), 0, false);
    d.sample(hms(9, 1), 0).sample(hms(9, 2), 3);
    const CapacityFigures f = d.figures();
    const Sizing s = sizeCapacity(f, {4, 0.02, 0});

    const QList<QByteArray> lines = capacityTrafficCsv(f).split('\n');
    ASSERT_EQ(lines.size(), 98) << "header, 96 quarter-hours, the final line end";
    EXPECT_EQ(lines[0], QByteArray("QuarterHour,Start,InboundErlangs,MWIErlangs,"
                                   "NotificationErlangs,TRAPErlangs,AMISErlangs,TotalErlangs,"
                                   "AtbSeconds"));
    EXPECT_EQ(lines[37], QByteArray("36,09:00,0.5000,0.0000,0.0000,0.1000,0.0000,0.6000,60"));
    EXPECT_EQ(lines[96], QByteArray("95,23:45,0.0000,0.0000,0.0000,0.0000,0.0000,0.0000,0"));
    EXPECT_TRUE(lines[97].isEmpty());

    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(capacityJson(f, s), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(json[QStringLiteral("schema")].toInt(), 1);
    EXPECT_EQ(json[QStringLiteral("day")].toString(), QStringLiteral("2026-12-07"));
    EXPECT_DOUBLE_EQ(json[QStringLiteral("gos")].toDouble(), 0.02);
    EXPECT_EQ(json[QStringLiteral("portsInService")].toInt(), 4);
    EXPECT_EQ(json[QStringLiteral("portsInServiceFrom")].toString(), QStringLiteral("user"));
    const QJsonObject busy = json[QStringLiteral("busyHour")].toObject();
    // Every hour from 08:15 to 09:00 holds all the traffic: the earliest wins.
    EXPECT_EQ(busy[QStringLiteral("start")].toString(), QStringLiteral("08:15"));
    EXPECT_EQ(busy[QStringLiteral("end")].toString(), QStringLiteral("09:15"));
    EXPECT_DOUBLE_EQ(busy[QStringLiteral("erlangs")].toDouble(), 540.0 / 3600);
    EXPECT_DOUBLE_EQ(busy[QStringLiteral("byType")][QStringLiteral("trap")].toDouble(),
                     90.0 / 3600);
    EXPECT_DOUBLE_EQ(json[QStringLiteral("capacityErlangs")].toDouble(), s.capacityErlangs);
    EXPECT_DOUBLE_EQ(json[QStringLiteral("predictedBlocking")].toDouble(), s.predictedBlocking);
    const QJsonObject atb = json[QStringLiteral("allPortsBusy")].toObject();
    EXPECT_EQ(atb[QStringLiteral("seconds")].toInt(), 60);
    EXPECT_EQ(atb[QStringLiteral("episodes")].toInt(), 1);
    EXPECT_EQ(atb[QStringLiteral("busyHourSeconds")].toInt(), 60);
    EXPECT_EQ(json[QStringLiteral("callsWithoutEnd")].toInt(), 1);
    EXPECT_EQ(json[QStringLiteral("peakConcurrentCalls")].toInt(), 2);
    for (const char* key : {"portsNeeded", "headroomErlangs", "headroomPercent", "portsToAdd",
                            "measuredBlocking", "peakLinesInUse"})
        EXPECT_TRUE(json[QLatin1String(key)].isDouble()) << key;
}

TEST(CapacityOutput, VerdictSaysEnoughOrHowManyToAdd) {
    Day d;
    for (int port = 1; port <= 10; ++port)
        d.leg(port, store::Inbound, hms(10, 0), 3600);
    const CapacityFigures f = d.figures();
    const Sizing short_ = sizeCapacity(f, {});
    EXPECT_TRUE(capacityHeadline(f, short_).startsWith(QStringLiteral("Not enough ports: add ")))
        << capacityHeadline(f, short_).toStdString();
    const QList<VerdictLine> lines = capacityVerdict(f, short_);
    const auto add = std::find_if(lines.begin(), lines.end(), [](const VerdictLine& l) {
        return l.label == QStringLiteral("Ports to add");
    });
    ASSERT_NE(add, lines.end());
    EXPECT_EQ(add->value.toInt(), erlang::portsNeeded(10, 0.01) - 10);
    EXPECT_TRUE(add->warning);
    const Sizing plenty = sizeCapacity(f, {30, 0.01, 0});
    EXPECT_TRUE(capacityHeadline(f, plenty).startsWith(QStringLiteral("Enough ports: 30 ports")));
    EXPECT_EQ(capacityHeadline(Day().figures(), sizeCapacity(Day().figures(), {})),
              QStringLiteral("No call carried traffic on this day: nothing to size."));
}

TEST(CapacityOutput, ChartStacksTypesShadesTheBusyHourAndDrawsLevels) {
    Day d;
    d.leg(1, store::Inbound, hms(13, 0), 1800);
    const CapacityFigures f = d.figures();
    const Sizing s = sizeCapacity(f, {3, 0.01, 0});
    const charts::ChartModel chart = capacityChart(f, s);
    ASSERT_EQ(chart.xs.size(), 192u);
    EXPECT_EQ(chart.xs[104], 780); // 13:00 in minutes
    ASSERT_EQ(chart.series.size(), 7u);
    EXPECT_EQ(chart.series[0].kind, charts::SeriesKind::Stacked);
    EXPECT_EQ(chart.series[0].label, QStringLiteral("Inbound Calls"));
    EXPECT_DOUBLE_EQ(chart.series[0].values[104], 1.0);
    EXPECT_DOUBLE_EQ(chart.series[0].values[105], 1.0);
    EXPECT_EQ(chart.series[5].kind, charts::SeriesKind::Level);
    EXPECT_EQ(chart.series[5].label, QStringLiteral("Ports in service (3)"));
    EXPECT_DOUBLE_EQ(chart.series[5].values[0], 3);
    EXPECT_DOUBLE_EQ(chart.series[6].values[191], s.capacityErlangs);
    ASSERT_TRUE(chart.band.has_value());
    EXPECT_EQ(chart.band->from, 750) << "12:30, the earliest hour holding 13:00 to 13:30";
    EXPECT_EQ(chart.band->to, 810);
}

} // namespace
} // namespace tarrow::reports
