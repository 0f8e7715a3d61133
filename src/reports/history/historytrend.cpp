#include "reports/history/historysummary.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

namespace tarrow::reports {

namespace {

constexpr double kZ95 = 1.96;

} // namespace

double percentile95(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double topFiveMean(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end(), std::greater<>());
    const std::size_t n = std::min<std::size_t>(5, values.size());
    return std::accumulate(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(n), 0.0) /
           static_cast<double>(n);
}

double Trend::halfBand(double t) const {
    if (days <= 0 || !(sxx > 0))
        return 0;
    return kZ95 * residualSd * std::sqrt(1.0 / days + (t - meanT) * (t - meanT) / sxx);
}

std::optional<Trend> fitTrend(const std::vector<std::pair<double, double>>& points) {
    if (points.size() < 2)
        return std::nullopt;
    const double n = static_cast<double>(points.size());
    double meanT = 0;
    double meanY = 0;
    for (const auto& [t, y] : points) {
        meanT += t / n;
        meanY += y / n;
    }
    double stt = 0;
    double sty = 0;
    for (const auto& [t, y] : points) {
        stt += (t - meanT) * (t - meanT);
        sty += (t - meanT) * (y - meanY);
    }
    if (stt <= 0)
        return std::nullopt;
    Trend trend;
    trend.slopePerDay = sty / stt;
    trend.intercept = meanY - trend.slopePerDay * meanT;
    trend.days = static_cast<int>(points.size());
    trend.meanT = meanT;
    trend.sxx = stt;
    double squares = 0;
    for (const auto& [t, y] : points)
        squares += (y - trend.at(t)) * (y - trend.at(t));
    trend.residualSd = points.size() > 2 ? std::sqrt(squares / (n - 2)) : 0.0;
    return trend;
}

RunOut runOutOf(const Trend& trend, double capacity, const QDate& origin, const QDate& first,
                const QDate& last) {
    RunOut out;
    if (!(trend.slopePerDay > 0))
        return out;
    const QDate horizon = last.addDays(kExhaustionHorizonDays);
    // The first day from `first` on where a curve is at or above the capacity;
    // each curve rises from some day on, so a day-by-day walk settles it.
    const auto firstDay = [&](double sign) -> std::optional<QDate> {
        for (QDate day = first; day <= horizon; day = day.addDays(1)) {
            const auto t = static_cast<double>(origin.daysTo(day));
            if (trend.at(t) + sign * trend.halfBand(t) >= capacity)
                return day;
        }
        return std::nullopt;
    };
    out.earliest = firstDay(+1);
    out.likely = firstDay(0);
    out.latest = firstDay(-1);
    return out;
}

} // namespace tarrow::reports
