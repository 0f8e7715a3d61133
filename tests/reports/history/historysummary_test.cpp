#include "reports/capacity/erlangb.h"
#include "reports/history/historychartmodel.h"
#include "reports/history/historyoutput.h"
#include "reports/history/historysummary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>

namespace tarrow::reports {
namespace {

// A day of 900-second quarters whose pool, of `ports`, carries `erlangs` in
// each quarter from 10:00 to 11:00 and a tenth of it elsewhere from 08:00 to
// 18:00; all ports busy for `atb` seconds of that hour.
HistoryDay dayOf(const QDate& date, double erlangs, int ports = 1000, qint64 atb = 0) {
    HistoryDay day;
    day.day = date;
    day.portsInService = ports;
    day.realSeconds.fill(kQuarterSeconds);
    for (int q = 32; q < 72; ++q) {
        const double e = q >= 40 && q < 44 ? erlangs : erlangs / 10;
        day.poolSeconds[static_cast<std::size_t>(q)] = std::llround(e * kQuarterSeconds);
        day.quarterErlangs[static_cast<std::size_t>(q)] = e;
    }
    day.atbQuarterSeconds[40] = atb;
    day.busyHourStart = 40;
    day.busyHourErlangs = erlangs;
    return day;
}

// Days from `first` on, every day or only Monday to Friday, whose busy hour
// was offered value(t) Erlangs on day t, on 1000 ports.
std::vector<HistoryDay> series(const QDate& first, int count, bool weekdaysOnly,
                               const std::function<double(int)>& value) {
    std::vector<HistoryDay> days;
    for (int t = 0; t < count; ++t) {
        const QDate date = first.addDays(t);
        if (!weekdaysOnly || date.dayOfWeek() < 6)
            days.push_back(dayOf(date, erlang::carried(value(t), 1000)));
    }
    return days;
}

TEST(HistorySummary, AverageDailyPeakAndTimeConsistentBusyHour) {
    std::vector<HistoryDay> days = {dayOf(QDate(2026, 11, 2), 8), dayOf(QDate(2026, 11, 3), 9),
                                    dayOf(QDate(2026, 11, 4), 10)};
    days[2].poolSeconds[60] = 20 * kQuarterSeconds; // one quarter at 15:00 on one day only
    const HistorySummary s = summarizeHistory(days, {});
    EXPECT_EQ(s.days, 3);
    EXPECT_NEAR(s.adphErlangs, 9.0, 1e-9);
    EXPECT_EQ(quarterStart(s.tcbhStart), QStringLiteral("10:00"));
    EXPECT_NEAR(s.tcbhErlangs, 9.0, 1e-9);
    EXPECT_NEAR(s.demandErlangs, 9.0, 1e-6) << "a big pool: offered is carried";
    EXPECT_FALSE(s.trend) << "three days are too few for a trend";
    EXPECT_EQ(s.status, HistoryStatus::Ok);
    EXPECT_NEAR(s.heatmap[0][10], 8.0, 1e-9) << "Monday 2 November, 10:00 to 11:00";
    EXPECT_NEAR(s.heatmap[6][10], 0.0, 1e-9) << "no Sunday in the range";
}

TEST(HistorySummary, PercentileAndTopFive) {
    const std::vector<double> peaks = {12, 15, 11, 14, 18, 13, 16, 17, 19, 20};
    EXPECT_EQ(percentile95(peaks), 20);
    EXPECT_DOUBLE_EQ(topFiveMean(peaks), 18.0);
    EXPECT_EQ(percentile95({7}), 7);
    EXPECT_DOUBLE_EQ(topFiveMean({4, 6}), 5.0) << "all of them when fewer than five";
    EXPECT_EQ(percentile95({}), 0);
}

TEST(HistorySummary, TheBandOfASmallWorkedExample) {
    // (0, 1), (1, 3), (2, 2), (3, 4): slope 0.8, intercept 1.3, residuals
    // -0.3, 0.9, -0.9, 0.3, so s = sqrt(1.8 / 2); mean t 1.5, Sxx 5.
    const std::optional<Trend> trend = fitTrend({{0, 1}, {1, 3}, {2, 2}, {3, 4}});
    ASSERT_TRUE(trend);
    EXPECT_NEAR(trend->slopePerDay, 0.8, 1e-12);
    EXPECT_NEAR(trend->intercept, 1.3, 1e-12);
    EXPECT_NEAR(trend->residualSd, std::sqrt(0.9), 1e-12);
    EXPECT_NEAR(trend->halfBand(1.5), 1.96 * std::sqrt(0.9) * 0.5, 1e-12);
    EXPECT_NEAR(trend->halfBand(4), 1.96 * std::sqrt(0.9) * std::sqrt(0.25 + 6.25 / 5), 1e-12);
    EXPECT_FALSE(fitTrend({{2, 1}, {2, 3}})) << "one day is no line";
}

TEST(HistorySummary, RunOutInsideAndAfterTheDataFlatFallingAndTooFew) {
    const QDate first(2026, 3, 2); // a Monday
    const double capacity = erlang::capacity(1000, 0.01);
    // Crossing inside the data: short since about that day.
    const auto inside = series(first, 60, false, [&](int t) { return capacity - 30 + t; });
    const HistorySummary exhausted = summarizeHistory(inside, {});
    ASSERT_TRUE(exhausted.trend);
    EXPECT_EQ(exhausted.status, HistoryStatus::Exhausted);
    ASSERT_TRUE(exhausted.runOut && exhausted.runOut->likely);
    EXPECT_NEAR(first.daysTo(*exhausted.runOut->likely), 30, 1);
    EXPECT_TRUE(
        historyHeadline(exhausted).startsWith(QStringLiteral("Ports already short since about")))
        << historyHeadline(exhausted).toStdString();

    // Crossing 40 days after the last day, with a little noise: an interval
    // around the likely day.
    const auto after = series(
        first, 60, false, [&](int t) { return capacity - 100 + t + (t % 3 == 0 ? 6.0 : -3.0); });
    const HistorySummary runsOut = summarizeHistory(after, {});
    EXPECT_EQ(runsOut.status, HistoryStatus::RunsOut);
    const RunOut& r = *runsOut.runOut;
    ASSERT_TRUE(r.earliest && r.likely && r.latest);
    EXPECT_NEAR(first.daysTo(*r.likely), 100, 2);
    EXPECT_LT(*r.earliest, *r.likely);
    EXPECT_GT(*r.latest, *r.likely);
    // The likely day is the first day the line is at or above the capacity.
    const auto t = static_cast<double>(runsOut.trendOrigin.daysTo(*r.likely));
    EXPECT_GE(runsOut.trend->at(t), capacity);
    EXPECT_LT(runsOut.trend->at(t - 1), capacity);
    EXPECT_TRUE(historyHeadline(runsOut).startsWith(QStringLiteral("Ports run out between")));
    const QJsonObject json = QJsonDocument::fromJson(historyJson(runsOut)).object();
    EXPECT_EQ(json[QStringLiteral("schema")].toInt(), 2);
    EXPECT_EQ(json[QStringLiteral("status")].toString(), QStringLiteral("runsOut"));
    EXPECT_EQ(json[QStringLiteral("runOut")][QStringLiteral("likely")].toString(),
              r.likely->toString(Qt::ISODate));
    EXPECT_EQ(json[QStringLiteral("trend")][QStringLiteral("days")].toInt(), 60);

    for (const double step : {0.0, -0.5}) {
        const HistorySummary s =
            summarizeHistory(series(first, 60, false, [&](int t) { return 500 + step * t; }), {});
        EXPECT_EQ(s.status, HistoryStatus::Ok) << step;
        EXPECT_FALSE(s.runOut) << step;
        EXPECT_EQ(historyHeadline(s), QStringLiteral("No run-out within a year"));
    }
    // Beyond a year: no run-out either.
    EXPECT_EQ(
        summarizeHistory(series(first, 60, false, [&](int t) { return 100 + 0.1 * t; }), {}).status,
        HistoryStatus::Ok);

    const HistorySummary few =
        summarizeHistory(series(first, 9, false, [](int t) { return 10.0 + t; }), {});
    EXPECT_FALSE(few.trend);
    EXPECT_EQ(few.status, HistoryStatus::Ok);
    EXPECT_TRUE(
        QJsonDocument::fromJson(historyJson(few)).object()[QStringLiteral("trend")].isNull());
}

// The chart's model: the run-out shaded over its interval and marked at the
// capacity, the band never below zero nor above itself, the all-busy bars on
// the second axis, and both axes above everything drawn on them.
TEST(HistorySummary, TheChartModelShowsTheRunOutAndKeepsEverySeriesOnItsAxis) {
    const QDate first(2026, 3, 2);
    const double capacity = erlang::capacity(1000, 0.01);
    auto days = series(first, 40, false, [&](int t) { return capacity - 80 + 2 * t; });
    days[5].atbSeconds = 1234;
    const HistorySummary summary = summarizeHistory(days, {});
    ASSERT_TRUE(summary.runOut && summary.runOut->earliest && summary.runOut->likely);
    const charts::ChartModel model = historyChartModel(days, summary, QStringLiteral("1 %"));
    const auto find = [&model](const QString& label) -> const charts::ChartSeries* {
        for (const charts::ChartSeries& s : model.series)
            if (s.label.startsWith(label))
                return &s;
        return nullptr;
    };
    const charts::ChartSeries* shade = find(QStringLiteral("Run-out"));
    ASSERT_NE(shade, nullptr);
    EXPECT_EQ(historyChartDay(shade->xs.front() + 1), *summary.runOut->earliest);
    const charts::ChartSeries* mark = find(QStringLiteral("Run out: "));
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(historyChartDay(mark->xs[0]), *summary.runOut->likely);
    EXPECT_DOUBLE_EQ(mark->values[0], summary.capacityErlangs);
    EXPECT_LE(shade->xs.back(), model.xMax);

    const charts::ChartSeries* band = find(QStringLiteral("95 % band"));
    ASSERT_NE(band, nullptr);
    for (std::size_t i = 0; i < band->values.size(); ++i) {
        EXPECT_GE(band->lower[i], 0);
        EXPECT_LE(band->lower[i], band->values[i]);
    }
    const charts::ChartSeries* bars = find(QStringLiteral("All busy"));
    ASSERT_NE(bars, nullptr);
    EXPECT_TRUE(bars->secondAxis);
    EXPECT_GE(model.y2Max, 1234);
    for (const charts::ChartSeries& s : model.series) {
        EXPECT_EQ(s.xs.size(), s.values.size()) << s.label.toStdString();
        for (double v : s.values) {
            if (!s.secondAxis) {
                EXPECT_LE(v, *model.yMax) << s.label.toStdString();
            }
        }
    }
    EXPECT_EQ(find(QStringLiteral("Days sized"))->name, QStringLiteral("OfferedDaysSized"));
}

TEST(HistorySummary, BasisDaysAreWeekdaysOnlyWhenWeekendsAreQuiet) {
    const QDate first(2026, 3, 2);
    const auto weekly = [&](double weekend) {
        std::vector<HistoryDay> days;
        for (int t = 0; t < 28; ++t) {
            const QDate date = first.addDays(t);
            days.push_back(dayOf(date, date.dayOfWeek() >= 6 ? 10 * weekend : 10.0));
        }
        return summarizeHistory(days, {});
    };
    const HistorySummary quiet = weekly(0.45);
    EXPECT_TRUE(quiet.weekdaysBasis);
    EXPECT_EQ(std::count(quiet.basis.begin(), quiet.basis.end(), true), 20);
    EXPECT_NEAR(quiet.demandErlangs, 10.0, 1e-6) << "the weekends do not pull the demand down";
    const HistorySummary sevenDays = weekly(0.9);
    EXPECT_FALSE(sevenDays.weekdaysBasis);
    EXPECT_EQ(std::count(sevenDays.basis.begin(), sevenDays.basis.end(), true), 28);
    EXPECT_FALSE(
        summarizeHistory(series(first, 20, true, [](int) { return 5.0; }), {}).weekdaysBasis)
        << "no weekend in the range";
}

TEST(HistorySummary, TheServersCountsAndSaturationDecideExhaustion) {
    const QDate first(2026, 3, 2);
    // A flat demand well below the capacity, yet the last ten days met all
    // ports busy 2 % of the busy hour: exhausted.
    std::vector<HistoryDay> days = series(first, 20, false, [](int) { return 5.0; });
    for (std::size_t d = 10; d < days.size(); ++d)
        days[d].atbQuarterSeconds[40] = 72;
    const HistorySummary blocked = summarizeHistory(days, {0, 0.01});
    EXPECT_NEAR(blocked.recentBlocking, 0.02, 1e-12);
    EXPECT_EQ(blocked.status, HistoryStatus::Exhausted);
    EXPECT_TRUE(historyHeadline(blocked).contains(QStringLiteral("all ports busy 2 %")))
        << historyHeadline(blocked).toStdString();
    EXPECT_EQ(summarizeHistory(days, {0, 0.05}).status, HistoryStatus::Ok);

    // Six of the last ten days saturated a pool of 8: exhausted, and those
    // days are left out of the demand.
    std::vector<HistoryDay> full;
    for (int t = 0; t < 12; ++t)
        full.push_back(dayOf(first.addDays(t), t >= 6 ? 8.0 : 4.0, 8));
    const HistorySummary saturated = summarizeHistory(full, {});
    EXPECT_EQ(saturated.recentSaturated, 6);
    EXPECT_FALSE(saturated.offered.back());
    EXPECT_EQ(saturated.status, HistoryStatus::Exhausted);
    EXPECT_NEAR(saturated.demandErlangs, *erlang::offeredFromCarried(4.0, 8), 1e-9);
}

TEST(HistorySummary, CsvAndJsonCarryTheSecondEditionFigures) {
    std::vector<HistoryDay> days = {dayOf(QDate(2026, 11, 7), 6, 8, 36),
                                    dayOf(QDate(2026, 11, 9), 8, 8)};
    days[0].calls = {10, 2, 3, 4, 5};
    days[0].peakLinesInUse = 7;
    days[0].portsNeeded = 12;
    const HistorySummary s =
        summarizeHistory(days, {}, {{QDate(2026, 11, 8), QStringLiteral("x could not be read")}});
    const QList<QByteArray> lines = historyCsv(days, s).split('\n');
    EXPECT_EQ(lines[0],
              QByteArray("Day,InboundCalls,MWIDialouts,NotificationDialouts,TRAPDialouts,"
                         "AMISDialouts,BusyHourStart,BusyHourErlangs,PeakLinesInUse,"
                         "MinLinesAvailable,AtbSeconds,AtbEpisodes,PortsInService,"
                         "PortsNeeded,PoolErlangs,OfferedErlangs,MeasuredBlocking,Basis"));
    const QByteArray offered = QByteArray::number(*erlang::offeredFromCarried(6, 8), 'f', 4);
    EXPECT_EQ(lines[1],
              "2026-11-07,10,3,2,4,5,10:00,6.0000,7,0,0,0,8,12,6.0000," + offered + ",0.010000,1")
        << lines[1].constData();
    EXPECT_TRUE(lines[2].endsWith(",8.0000,,0.000000,1")) << "saturated: no offered traffic";

    const QJsonObject json = QJsonDocument::fromJson(historyJson(s)).object();
    for (const char* key : {"from", "to", "gos", "ports", "retryShare", "capacityErlangs", "basis",
                            "tcbh", "demandErlangs", "trend", "runOut", "status", "skippedDays"})
        EXPECT_TRUE(json.contains(QLatin1String(key))) << key;
    EXPECT_EQ(json[QStringLiteral("from")].toString(), QStringLiteral("2026-11-07"));
    EXPECT_EQ(json[QStringLiteral("ports")].toInt(), 8);
    EXPECT_EQ(json[QStringLiteral("skippedDays")][0][QStringLiteral("reason")].toString(),
              QStringLiteral("x could not be read"));
    EXPECT_EQ(skippedDayLines(s), QStringList{QStringLiteral("2026-11-08: x could not be read")});
}

} // namespace
} // namespace tarrow::reports
