#pragma once

#include "reports/capacity/sizing.h"

#include <QByteArray>
#include <QDate>
#include <QString>

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
    double busyHourErlangs = 0;                        // the pool's busy-hour traffic (Y)
    int peakLinesInUse = 0;
    int minLinesAvailable = 0;
    qint64 atbSeconds = 0;
    qint64 atbEpisodes = 0;
    int portsInService = 0; // the ports that take calls (answer ports or the line counts)
    int portsNeeded = 0;    // for the busy hour at the target blocking
    std::array<double, kQuarterHours> quarterErlangs{}; // carried, all types
    // By clock quarter: the pool's call-seconds, the real length and the
    // seconds all ports were busy, for the time-consistent busy hour.
    QuarterSeconds poolSeconds{};
    QuarterSeconds realSeconds{};
    QuarterSeconds atbQuarterSeconds{};

    // Whether figures read back from a cache can be this day's: its own
    // date, finite figures, quarters in range.
    [[nodiscard]] bool sane(const QDate& expected) const;
};

// A day of the range that has files but could not be computed, and why.
struct SkippedDay {
    QDate day;
    QString reason;
};

// A straight line through the basis days' offered traffic against the day
// number t (days since the first basis day), with what its 95 % band needs.
struct Trend {
    double intercept = 0;
    double slopePerDay = 0;
    double residualSd = 0;
    int days = 0;
    double meanT = 0;
    double sxx = 0;
    [[nodiscard]] double at(double t) const { return intercept + slopePerDay * t; }
    // Half the width of the band at t: 1.96·s·√(1/n + (t − t̄)²/Sxx).
    [[nodiscard]] double halfBand(double t) const;
};

// The days the trend, its upper band and its lower band reach the capacity.
struct RunOut {
    std::optional<QDate> earliest;
    std::optional<QDate> likely;
    std::optional<QDate> latest;
};

enum class HistoryStatus { Ok, RunsOut, Exhausted };

inline constexpr int kTrendMinimumDays = 10;
inline constexpr int kExhaustionHorizonDays = 365;
inline constexpr int kRecentBasisDays = 10;
// Weekends whose busy hours average below this share of the weekdays' are
// quiet: the weekdays alone are sized.
inline constexpr double kQuietWeekend = 0.75;

// The across-day figures of a history.
struct HistorySummary {
    int days = 0;
    QDate from;
    QDate to;
    SizingChoice choice;        // the ports (0: the largest daily pool), target and retry share
    int ports = 0;              // the pool sized: the choice or the largest daily pool
    double capacityErlangs = 0; // fresh traffic it carries at the target
    bool weekdaysBasis = false; // only Monday to Friday are sized
    std::vector<bool> basis;    // per day (in the days' order): a basis day
    // Per day: fresh offered traffic in the time-consistent busy hour; none
    // when the pool was saturated in it.
    std::vector<std::optional<double>> offered;
    std::vector<double> measuredBlocking; // per day, in the time-consistent busy hour
    int tcbhStart = 0;                    // quarter-hour starting the time-consistent busy hour
    double tcbhErlangs = 0;               // its pool traffic over the basis days
    double demandErlangs = 0;
    double top5DemandErlangs = 0;
    int portsNeeded = 0;
    double adphErlangs = 0; // mean of the daily busy-hour traffic
    double p95Erlangs = 0;  // nearest-rank 95th percentile of the daily busy-hour traffic
    double top5MeanErlangs = 0;
    std::optional<Trend> trend;   // with 10 basis days or more
    std::optional<RunOut> runOut; // with a rising trend
    QDate trendOrigin;            // the first basis day: t = 0
    double recentBlocking = 0;    // pooled over the last ten basis days
    int recentSaturated = 0;      // of those days
    int recentDays = 0;
    HistoryStatus status = HistoryStatus::Ok;
    std::vector<SkippedDay> skipped;
    std::array<std::array<double, 24>, 7>
        heatmap{}; // mean Erlangs by weekday (Monday first) and hour

    // Days from the last day to the likely run-out (0 or less: already), when
    // the trend gives one.
    [[nodiscard]] std::optional<int> daysToRunOut() const {
        if (!runOut || !runOut->likely)
            return std::nullopt;
        return static_cast<int>(to.daysTo(*runOut->likely));
    }
};

// Nearest rank: the ceil(0.95 n)-th smallest value (0 for none).
[[nodiscard]] double percentile95(std::vector<double> values);
// The mean of the five largest values, of all when fewer (0 for none).
[[nodiscard]] double topFiveMean(std::vector<double> values);
// Least squares of value against day number with the band's figures; nothing
// below two distinct days.
[[nodiscard]] std::optional<Trend> fitTrend(const std::vector<std::pair<double, double>>& points);
// The days from `first` on where the line, its upper band and its lower
// band first reach the capacity, none beyond the horizon after `last`; t
// counts from `origin`.
[[nodiscard]] RunOut runOutOf(const Trend& trend, double capacity, const QDate& origin,
                              const QDate& first, const QDate& last);

// The across-day figures of days in date order.
[[nodiscard]] HistorySummary summarizeHistory(const std::vector<HistoryDay>& days,
                                              const SizingChoice& choice,
                                              std::vector<SkippedDay> skipped = {});

// "exhausted", "runsOut" or "ok", as History.json writes it.
[[nodiscard]] QString statusKey(HistoryStatus status);

// History.csv: one row per day in date order.
[[nodiscard]] QByteArray historyCsv(const std::vector<HistoryDay>& days,
                                    const HistorySummary& summary);
// History.json (schema 2).
[[nodiscard]] QByteArray historyJson(const HistorySummary& summary);

} // namespace tarrow::reports
