#include "reports/history/historysummary.h"

#include "platform/isodate.h"
#include "reports/capacity/erlangb.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

namespace tarrow::reports {

double percentile95(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(values.size())));
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
    const double slope = sty / stt;
    return Trend{meanY - slope * meanT, slope};
}

namespace {

// The first day t >= 0 (days after the first day) on which the trend reaches
// the capacity, if that is no later than the horizon after the last day.
std::optional<QDate> exhaustionDay(const Trend& trend, double capacity, const QDate& first,
                                   const QDate& last) {
    if (trend.slopePerDay <= 0)
        return std::nullopt;
    const double reach = (capacity - trend.intercept) / trend.slopePerDay;
    const qint64 horizon = first.daysTo(last) + kExhaustionHorizonDays;
    // A slope that is only rounding away from flat reaches it in ages.
    if (reach > static_cast<double>(horizon) + 1)
        return std::nullopt;
    auto t = static_cast<qint64>(std::max(0.0, std::ceil(reach)));
    // Rounding may put the first day a day late or early: settle on the rule.
    while (t > 0 && trend.at(static_cast<double>(t - 1)) >= capacity)
        --t;
    while (t <= horizon && trend.at(static_cast<double>(t)) < capacity)
        ++t;
    const QDate day = first.addDays(t);
    if (day > last.addDays(kExhaustionHorizonDays))
        return std::nullopt;
    return day;
}

} // namespace

HistorySummary summarizeHistory(const std::vector<HistoryDay>& days, int ports, double gos) {
    HistorySummary summary;
    summary.days = static_cast<int>(days.size());
    if (days.empty())
        return summary;
    std::vector<double> busy;
    std::array<double, kQuarterHours> meanQuarter{};
    std::array<int, 7> weekdays{}; // days of each weekday
    for (const HistoryDay& day : days) {
        busy.push_back(day.busyHourErlangs);
        for (int q = 0; q < kQuarterHours; ++q)
            meanQuarter[static_cast<std::size_t>(q)] +=
                day.quarterErlangs[static_cast<std::size_t>(q)] / static_cast<double>(days.size());
        const auto weekday = static_cast<std::size_t>(day.day.dayOfWeek() - 1);
        ++weekdays[weekday];
        for (std::size_t h = 0; h < 24; ++h) {
            double hour = 0;
            for (std::size_t q = 0; q < 4; ++q)
                hour += day.quarterErlangs[4 * h + q] / 4;
            summary.heatmap[weekday][h] += hour;
        }
    }
    for (std::size_t w = 0; w < 7; ++w)
        if (weekdays[w] > 0)
            for (double& hour : summary.heatmap[w])
                hour /= weekdays[w];
    summary.adphErlangs = std::accumulate(busy.begin(), busy.end(), 0.0) /
                          static_cast<double>(busy.size());
    // The time-consistent busy hour: the same four quarter-hours on every day.
    double best = -1;
    for (int start = 0; start + kBusyHourQuarters <= kQuarterHours; ++start) {
        double hour = 0;
        for (int q = start; q < start + kBusyHourQuarters; ++q)
            hour += meanQuarter[static_cast<std::size_t>(q)] / kBusyHourQuarters;
        if (hour > best + 1e-12) {
            best = hour;
            summary.tcbhStart = start;
        }
    }
    summary.tcbhErlangs = best;
    summary.p95Erlangs = percentile95(busy);
    summary.top5MeanErlangs = topFiveMean(busy);

    summary.sizingPorts = ports;
    if (ports <= 0)
        for (const HistoryDay& day : days)
            summary.sizingPorts = std::max(summary.sizingPorts, day.portsInService);
    summary.capacityErlangs = erlang::capacity(summary.sizingPorts, gos);
    if (days.size() >= static_cast<std::size_t>(kTrendMinimumDays)) {
        std::vector<std::pair<double, double>> points;
        for (const HistoryDay& day : days)
            points.emplace_back(static_cast<double>(days.front().day.daysTo(day.day)),
                                day.busyHourErlangs);
        summary.trend = fitTrend(points);
        if (summary.trend)
            summary.exhaustion = exhaustionDay(*summary.trend, summary.capacityErlangs,
                                               days.front().day, days.back().day);
    }
    return summary;
}

QByteArray historyCsv(const std::vector<HistoryDay>& days) {
    QByteArray csv = "Day,InboundCalls,MWIDialouts,NotificationDialouts,TRAPDialouts,AMISDialouts,"
                     "BusyHourStart,BusyHourErlangs,PeakLinesInUse,MinLinesAvailable,AtbSeconds,"
                     "AtbEpisodes,PortsInService,PortsNeeded\n";
    for (const HistoryDay& day : days) {
        csv += platform::isoDate(day.day).toLatin1();
        for (const store::CallType type : store::kReadingOrder)
            csv += ',' + QByteArray::number(day.calls[store::typeIndex(type)]);
        csv += ',' + quarterStart(day.busyHourStart).toLatin1() + ',' +
               QByteArray::number(day.busyHourErlangs, 'f', 4) + ',' +
               QByteArray::number(day.peakLinesInUse) + ',' +
               QByteArray::number(day.minLinesAvailable) + ',' +
               QByteArray::number(day.atbSeconds) + ',' + QByteArray::number(day.atbEpisodes) +
               ',' + QByteArray::number(day.portsInService) + ',' +
               QByteArray::number(day.portsNeeded) + '\n';
    }
    return csv;
}

QByteArray historyJson(const HistorySummary& s) {
    QJsonObject json{{QStringLiteral("schema"), 1},
                     {QStringLiteral("days"), s.days},
                     {QStringLiteral("adphErlangs"), s.adphErlangs},
                     {QStringLiteral("tcbh"),
                      QJsonObject{{QStringLiteral("start"), quarterStart(s.tcbhStart)},
                                  {QStringLiteral("erlangs"), s.tcbhErlangs}}},
                     {QStringLiteral("p95Erlangs"), s.p95Erlangs},
                     {QStringLiteral("top5MeanErlangs"), s.top5MeanErlangs}};
    if (s.trend) {
        json.insert(QStringLiteral("trendErlangsPerDay"), s.trend->slopePerDay);
        json.insert(QStringLiteral("exhaustionDay"),
                    s.exhaustion ? QJsonValue(platform::isoDate(*s.exhaustion)) : QJsonValue());
    }
    QJsonArray heatmap;
    for (const auto& weekday : s.heatmap) {
        QJsonArray hours;
        for (const double erlangs : weekday)
            hours.append(erlangs);
        heatmap.append(hours);
    }
    json.insert(QStringLiteral("heatmap"), heatmap);
    return QJsonDocument(json).toJson(QJsonDocument::Indented);
}

} // namespace tarrow::reports
