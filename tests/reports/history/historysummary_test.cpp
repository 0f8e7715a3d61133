#include "reports/capacity/erlangb.h"
#include "reports/history/historysummary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace tarrow::reports {
namespace {

// A day whose quarter-hours from 08:00 carry the given Erlangs, nothing else.
HistoryDay dayWith(const QDate& date, const std::vector<double>& fromEight) {
    HistoryDay day;
    day.day = date;
    for (std::size_t i = 0; i < fromEight.size(); ++i)
        day.quarterErlangs[32 + i] = fromEight[i];
    int start = 0;
    double best = -1;
    for (int q = 0; q + 4 <= kQuarterHours; ++q) {
        double hour = 0;
        for (int k = q; k < q + 4; ++k)
            hour += day.quarterErlangs[static_cast<std::size_t>(k)] / 4;
        if (hour > best) {
            best = hour;
            start = q;
        }
    }
    day.busyHourStart = start;
    day.busyHourErlangs = best;
    return day;
}

TEST(HistorySummary, AverageDailyPeakAndTimeConsistentBusyHour) {
    const std::vector<HistoryDay> days = {
        dayWith(QDate(2026, 11, 2), {2, 3, 4, 6, 8, 9, 9, 8, 6, 5, 4, 4, 3, 3, 2, 2}),
        dayWith(QDate(2026, 11, 3), {2, 2, 3, 4, 5, 6, 7, 8, 9, 9, 8, 7, 5, 4, 3, 2}),
        dayWith(QDate(2026, 11, 4), {2, 3, 4, 5, 6, 8, 9, 9, 8, 7, 5, 4, 3, 3, 2, 2})};
    const HistorySummary s = summarizeHistory(days, 0, 0.01);
    EXPECT_EQ(s.days, 3);
    EXPECT_NEAR(s.adphErlangs, 8.5, 1e-9);
    EXPECT_EQ(quarterStart(s.tcbhStart), QStringLiteral("09:15"));
    EXPECT_NEAR(s.tcbhErlangs, 8.0, 1e-9);
    EXPECT_FALSE(s.trend) << "three days are too few for a trend";
    // Monday 2 November, 09:00–10:00 carried (8+9+9+8)/4 Erlangs.
    EXPECT_NEAR(s.heatmap[0][9], 8.5, 1e-9);
    EXPECT_NEAR(s.heatmap[6][9], 0.0, 1e-9) << "no Sunday in the range";

    const QJsonObject json = QJsonDocument::fromJson(historyJson(s)).object();
    EXPECT_EQ(json.value(QStringLiteral("tcbh")).toObject().value(QStringLiteral("start")).toString(),
              QStringLiteral("09:15"));
    EXPECT_FALSE(json.contains(QStringLiteral("exhaustionDay")));
    EXPECT_EQ(json.value(QStringLiteral("heatmap")).toArray().size(), 7);
}

TEST(HistorySummary, PercentileAndTopFive) {
    const std::vector<double> peaks = {12, 15, 11, 14, 18, 13, 16, 17, 19, 20};
    EXPECT_EQ(percentile95(peaks), 20);
    EXPECT_DOUBLE_EQ(topFiveMean(peaks), 18.0);
    EXPECT_EQ(percentile95({7}), 7);
    EXPECT_DOUBLE_EQ(topFiveMean({4, 6}), 5.0) << "all of them when fewer than five";
    EXPECT_EQ(percentile95({}), 0);
}

TEST(HistorySummary, TrendReachesTheCapacityOnTheFirstDayAtOrPastIt) {
    // 10 + 0.1 t Erlangs on 20 ports at 1 % (12.031 E): reached at t >= 20.31, so day 21.
    std::vector<HistoryDay> days;
    const QDate first(2026, 10, 1);
    for (int t = 0; t < 30; t += (t % 7 == 5 ? 2 : 1)) { // weekends may be missing
        HistoryDay day;
        day.day = first.addDays(t);
        day.busyHourErlangs = 10 + 0.1 * t;
        day.portsInService = t == 3 ? 20 : 18;
        days.push_back(day);
    }
    const HistorySummary s = summarizeHistory(days, 0, 0.01);
    ASSERT_TRUE(s.trend);
    EXPECT_NEAR(s.trend->slopePerDay, 0.1, 1e-9);
    EXPECT_NEAR(s.trend->intercept, 10.0, 1e-9);
    EXPECT_EQ(s.sizingPorts, 20) << "the largest daily ports in service";
    EXPECT_NEAR(s.capacityErlangs, 12.031, 1e-3);
    ASSERT_TRUE(s.exhaustion);
    EXPECT_EQ(*s.exhaustion, first.addDays(21));

    // Ports given: more ports push the day out past the horizon, or a flat trend has none.
    EXPECT_FALSE(summarizeHistory(days, 400, 0.01).exhaustion);
    for (HistoryDay& day : days)
        day.busyHourErlangs = 10;
    const HistorySummary flat = summarizeHistory(days, 0, 0.01);
    ASSERT_TRUE(flat.trend);
    EXPECT_FALSE(flat.exhaustion);
    EXPECT_TRUE(QJsonDocument::fromJson(historyJson(flat)).object().value(QStringLiteral("exhaustionDay")).isNull());
}

TEST(HistorySummary, CsvHasOneRowPerDay) {
    HistoryDay day = dayWith(QDate(2026, 11, 2), {2, 3, 4, 6, 8, 9, 9, 8});
    day.calls = {10, 2, 3, 4, 5};
    day.peakLinesInUse = 23;
    day.minLinesAvailable = 1;
    day.atbSeconds = 120;
    day.atbEpisodes = 3;
    day.portsInService = 24;
    day.portsNeeded = 26;
    const QList<QByteArray> lines = historyCsv({day}).split('\n');
    EXPECT_EQ(lines[0], QByteArray("Day,InboundCalls,MWIDialouts,NotificationDialouts,TRAPDialouts,"
                                   "AMISDialouts,BusyHourStart,BusyHourErlangs,PeakLinesInUse,"
                                   "MinLinesAvailable,AtbSeconds,AtbEpisodes,PortsInService,"
                                   "PortsNeeded"));
    EXPECT_TRUE(lines[1].startsWith("2026-11-02,10,")) << lines[1].constData();
    EXPECT_TRUE(lines[1].endsWith(",09:00,8.5000,23,1,120,3,24,26")) << lines[1].constData();
}

} // namespace
} // namespace tarrow::reports
