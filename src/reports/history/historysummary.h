#pragma once

#include "reports/capacity/capacity.h"

#include <QByteArray>
#include <QDate>

#include <array>
#include <optional>
#include <vector>

namespace tarrow::reports {

// One day of a history: the day's capacity figures boiled down to what the
// across-day figures and History.csv need.
struct HistoryDay {
    QDate day;
    std::array<qint64, store::kCallTypeCount> calls{}; // call starts by type (typeIndex)
    int busyHourStart = 0;                             // quarter-hour
    double busyHourErlangs = 0;
    int peakLinesInUse = 0;
    int minLinesAvailable = 0;
    qint64 atbSeconds = 0;
    qint64 atbEpisodes = 0;
    int portsInService = 0; // the ports that take calls (answer ports or the line counts)
    int portsNeeded = 0;    // for the busy hour at the target blocking
    std::array<double, kQuarterHours> quarterErlangs{}; // carried, all types
};

// A straight line through the daily busy-hour traffic: Erlangs at t days
// after the first day.
struct Trend {
    double intercept = 0;
    double slopePerDay = 0;
    [[nodiscard]] double at(double t) const { return intercept + slopePerDay * t; }
};

inline constexpr int kTrendMinimumDays = 14;
inline constexpr int kExhaustionHorizonDays = 365;

// The across-day figures of a history.
struct HistorySummary {
    int days = 0;
    double adphErlangs = 0; // mean of the daily busy-hour traffic
    int tcbhStart = 0;      // quarter-hour starting the time-consistent busy hour
    double tcbhErlangs = 0; // its traffic averaged over the days
    double p95Erlangs = 0;  // nearest-rank 95th percentile of the daily busy-hour traffic
    double top5MeanErlangs = 0;
    std::optional<Trend> trend;      // with 14 days or more
    int sizingPorts = 0;             // ports the exhaustion day is reckoned for
    double capacityErlangs = 0;      // what they carry at the target blocking
    std::optional<QDate> exhaustion; // the first day the trend reaches that capacity
    std::array<std::array<double, 24>, 7>
        heatmap{}; // mean Erlangs by weekday (Monday first) and hour
};

// Nearest rank: the ceil(0.95 n)-th smallest value (0 for none).
[[nodiscard]] double percentile95(std::vector<double> values);
// The mean of the five largest values, of all when fewer (0 for none).
[[nodiscard]] double topFiveMean(std::vector<double> values);
// Least squares of value against day number; nothing below two distinct days.
[[nodiscard]] std::optional<Trend> fitTrend(const std::vector<std::pair<double, double>>& points);

// The across-day figures of days in date order. ports 0 reckons the
// exhaustion day for the largest daily ports in service.
[[nodiscard]] HistorySummary summarizeHistory(const std::vector<HistoryDay>& days, int ports,
                                              double gos);

// History.csv: one row per day in date order.
[[nodiscard]] QByteArray historyCsv(const std::vector<HistoryDay>& days);
// History.json (schema 1).
[[nodiscard]] QByteArray historyJson(const HistorySummary& summary);

} // namespace tarrow::reports
