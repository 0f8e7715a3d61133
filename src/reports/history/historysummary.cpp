#include "reports/history/historysummary.h"

#include "platform/isodate.h"
#include "reports/capacity/erlangb.h"
#include "reports/capacity/sizing.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tarrow::reports {

bool HistoryDay::sane(const QDate& expected) const {
    if (!day.isValid() || day != expected || busyHourStart < 0 ||
        busyHourStart + kBusyHourQuarters > kQuarterHours || !std::isfinite(busyHourErlangs) ||
        busyHourErlangs < 0 || atbSeconds < 0 || atbEpisodes < 0 || portsInService < 0 ||
        portsInService > kMaxPorts)
        return false;
    // A real day lasts between 22 and 26 hours, whatever its clock changes.
    const qint64 length = std::accumulate(realSeconds.begin(), realSeconds.end(), qint64{0});
    if (length < 22 * kHourSeconds || length > 26 * kHourSeconds)
        return false;
    for (std::size_t q = 0; q < kQuarterHours; ++q)
        if (!std::isfinite(quarterErlangs[q]) || quarterErlangs[q] < 0 || poolSeconds[q] < 0 ||
            realSeconds[q] < 0 || realSeconds[q] > 2 * kQuarterSeconds ||
            atbQuarterSeconds[q] < 0 || atbQuarterSeconds[q] > realSeconds[q])
            return false;
    for (const qint64 n : calls)
        if (n < 0)
            return false;
    return true;
}

QString statusKey(HistoryStatus status) {
    switch (status) {
    case HistoryStatus::Exhausted:
        return QStringLiteral("exhausted");
    case HistoryStatus::RunsOut:
        return QStringLiteral("runsOut");
    case HistoryStatus::Ok:
        break;
    }
    return QStringLiteral("ok");
}

namespace {

// Weekdays alone when the range has weekend days whose busy hours are quiet.
std::vector<bool> basisDays(const std::vector<HistoryDay>& days, bool& weekdaysOnly) {
    double weekday = 0;
    double weekend = 0;
    int weekdays = 0;
    int weekends = 0;
    for (const HistoryDay& day : days) {
        const bool isWeekend = day.day.dayOfWeek() >= 6;
        (isWeekend ? weekend : weekday) += day.busyHourErlangs;
        (isWeekend ? weekends : weekdays) += 1;
    }
    weekdaysOnly =
        weekdays > 0 && weekends > 0 && weekend / weekends < kQuietWeekend * (weekday / weekdays);
    std::vector<bool> basis;
    for (const HistoryDay& day : days)
        basis.push_back(!weekdaysOnly || day.day.dayOfWeek() < 6);
    return basis;
}

// The clock hour whose pool traffic over the basis days is largest, compared
// exactly; an hour shorter than a real hour on any basis day is passed over.
int timeConsistentBusyHour(const std::vector<HistoryDay>& days, const std::vector<bool>& basis,
                           double& erlangs) {
    QuarterSeconds seconds{};
    QuarterSeconds real{};
    for (std::size_t d = 0; d < days.size(); ++d)
        if (basis[d])
            for (std::size_t q = 0; q < seconds.size(); ++q) {
                seconds[q] += days[d].poolSeconds[q];
                real[q] += days[d].realSeconds[q];
            }
    const int best = busiestHour(seconds, real, [&](int q) {
        for (std::size_t d = 0; d < days.size(); ++d)
            if (basis[d] && hourSeconds(days[d].realSeconds, q) < kHourSeconds)
                return false;
        return true;
    });
    erlangs = perReal(hourSeconds(seconds, best), hourSeconds(real, best));
    return best;
}

// A day's fresh offered traffic in the hour starting at `start`; none when
// its pool was saturated there.
std::optional<double> offeredIn(const HistoryDay& day, int start, int ports, double retryShare) {
    const qint64 real = hourSeconds(day.realSeconds, start);
    if (real <= 0)
        return std::nullopt;
    const int pool = ports > 0 ? ports : day.portsInService;
    std::optional<double> offered =
        erlang::offeredFromCarried(perReal(hourSeconds(day.poolSeconds, start), real), pool);
    if (offered)
        *offered = erlang::freshOf(*offered, pool, retryShare);
    return offered;
}

void summarizeCarried(const std::vector<HistoryDay>& days, HistorySummary& s) {
    std::vector<double> busy;
    std::array<int, 7> weekdays{};
    for (const HistoryDay& day : days) {
        busy.push_back(day.busyHourErlangs);
        const auto weekday = static_cast<std::size_t>(day.day.dayOfWeek() - 1);
        ++weekdays[weekday];
        for (std::size_t h = 0; h < 24; ++h) {
            double hour = 0;
            for (std::size_t q = 0; q < 4; ++q)
                hour += day.quarterErlangs[4 * h + q] / 4;
            s.heatmap[weekday][h] += hour;
        }
    }
    for (std::size_t w = 0; w < 7; ++w)
        if (weekdays[w] > 0)
            for (double& hour : s.heatmap[w])
                hour /= weekdays[w];
    s.adphErlangs =
        std::accumulate(busy.begin(), busy.end(), 0.0) / static_cast<double>(busy.size());
    s.p95Erlangs = percentile95(busy);
    s.top5MeanErlangs = topFiveMean(busy);
}

// Exhausted when the trend has reached the capacity by the last basis day,
// or when the last ten basis days, pooled, met all ports busy more often
// than the target, or were saturated more often than not.
HistoryStatus judge(const std::vector<HistoryDay>& days, HistorySummary& s) {
    qint64 atb = 0;
    qint64 real = 0;
    std::optional<QDate> lastBasis;
    for (std::size_t d = days.size(); d-- > 0 && s.recentDays < kRecentBasisDays;) {
        if (!s.basis[d])
            continue;
        lastBasis = lastBasis ? lastBasis : days[d].day;
        ++s.recentDays;
        s.recentSaturated += s.offered[d] ? 0 : 1;
        atb += hourSeconds(days[d].atbQuarterSeconds, s.tcbhStart);
        real += hourSeconds(days[d].realSeconds, s.tcbhStart);
    }
    s.recentBlocking = perReal(atb, real);
    const bool reached =
        s.trend && lastBasis &&
        s.trend->at(static_cast<double>(s.trendOrigin.daysTo(*lastBasis))) >= s.capacityErlangs;
    if (reached || s.recentBlocking > s.choice.gos || 2 * s.recentSaturated > s.recentDays)
        return HistoryStatus::Exhausted;
    if (s.runOut && s.runOut->likely)
        return HistoryStatus::RunsOut;
    return HistoryStatus::Ok;
}

void fitDemand(const std::vector<HistoryDay>& days, HistorySummary& s) {
    std::vector<double> demand;
    std::vector<std::pair<double, double>> points;
    for (std::size_t d = 0; d < days.size(); ++d) {
        if (!s.basis[d])
            continue;
        if (!s.trendOrigin.isValid())
            s.trendOrigin = days[d].day;
        if (!s.offered[d])
            continue;
        demand.push_back(*s.offered[d]);
        points.emplace_back(static_cast<double>(s.trendOrigin.daysTo(days[d].day)), *s.offered[d]);
    }
    if (!demand.empty()) {
        s.demandErlangs =
            std::accumulate(demand.begin(), demand.end(), 0.0) / static_cast<double>(demand.size());
        s.top5DemandErlangs = topFiveMean(demand);
    }
    s.portsNeeded = erlang::portsNeeded(s.demandErlangs, s.choice.gos, s.choice.retryShare);
    if (points.size() >= static_cast<std::size_t>(kTrendMinimumDays))
        s.trend = fitTrend(points);
    if (s.trend && s.trend->slopePerDay > 0)
        s.runOut = runOutOf(*s.trend, s.capacityErlangs, s.trendOrigin, s.from, s.to);
}

} // namespace

HistorySummary summarizeHistory(const std::vector<HistoryDay>& days, const SizingChoice& choice,
                                std::vector<SkippedDay> skipped) {
    HistorySummary s;
    s.choice = choice;
    s.skipped = std::move(skipped);
    s.days = static_cast<int>(days.size());
    if (days.empty())
        return s;
    s.from = days.front().day;
    s.to = days.back().day;
    summarizeCarried(days, s);
    s.basis = basisDays(days, s.weekdaysBasis);
    s.tcbhStart = timeConsistentBusyHour(days, s.basis, s.tcbhErlangs);
    s.ports = choice.ports;
    if (s.ports <= 0)
        for (const HistoryDay& day : days)
            s.ports = std::max(s.ports, day.portsInService);
    s.capacityErlangs = erlang::capacity(s.ports, choice.gos, choice.retryShare);
    for (const HistoryDay& day : days) {
        s.offered.push_back(offeredIn(day, s.tcbhStart, choice.ports, choice.retryShare));
        s.measuredBlocking.push_back(perReal(hourSeconds(day.atbQuarterSeconds, s.tcbhStart),
                                             hourSeconds(day.realSeconds, s.tcbhStart)));
    }
    fitDemand(days, s);
    s.status = judge(days, s);
    return s;
}

QByteArray historyCsv(const std::vector<HistoryDay>& days, const HistorySummary& summary) {
    QByteArray csv = "Day,InboundCalls,MWIDialouts,NotificationDialouts,TRAPDialouts,AMISDialouts,"
                     "BusyHourStart,BusyHourErlangs,PeakLinesInUse,MinLinesAvailable,AtbSeconds,"
                     "AtbEpisodes,PortsInService,PortsNeeded,PoolErlangs,OfferedErlangs,"
                     "MeasuredBlocking,Basis\n";
    for (std::size_t d = 0; d < days.size(); ++d) {
        const HistoryDay& day = days[d];
        csv += platform::isoDate(day.day).toLatin1();
        for (const store::CallType type : store::kReadingOrder)
            csv += ',' + QByteArray::number(day.calls[store::typeIndex(type)]);
        const bool known = d < summary.offered.size();
        QByteArray offered; // empty when the pool was saturated
        if (known && summary.offered[d].has_value())
            offered = QByteArray::number(summary.offered[d].value(), 'f', 4);
        csv += ',' + quarterStart(day.busyHourStart).toLatin1() + ',' +
               QByteArray::number(day.busyHourErlangs, 'f', 4) + ',' +
               QByteArray::number(day.peakLinesInUse) + ',' +
               QByteArray::number(day.minLinesAvailable) + ',' +
               QByteArray::number(day.atbSeconds) + ',' + QByteArray::number(day.atbEpisodes) +
               ',' + QByteArray::number(day.portsInService) + ',' +
               QByteArray::number(day.portsNeeded) + ',' +
               QByteArray::number(day.busyHourErlangs, 'f', 4) + ',' + offered + ',' +
               QByteArray::number(known ? summary.measuredBlocking[d] : 0.0, 'f', 6) + ',' +
               (known && summary.basis[d] ? "1" : "0") + '\n';
    }
    return csv;
}

namespace {

QJsonValue dateOrNull(const std::optional<QDate>& day) {
    return day ? QJsonValue(platform::isoDate(*day)) : QJsonValue(QJsonValue::Null);
}

} // namespace

QByteArray historyJson(const HistorySummary& s) {
    QJsonObject json{
        {QStringLiteral("schema"), 2},
        {QStringLiteral("days"), s.days},
        {QStringLiteral("from"), platform::isoDate(s.from)},
        {QStringLiteral("to"), platform::isoDate(s.to)},
        {QStringLiteral("gos"), s.choice.gos},
        {QStringLiteral("ports"), s.ports},
        {QStringLiteral("retryShare"), s.choice.retryShare},
        {QStringLiteral("capacityErlangs"), s.capacityErlangs},
        {QStringLiteral("basis"),
         s.weekdaysBasis ? QStringLiteral("weekdays") : QStringLiteral("allDays")},
        {QStringLiteral("tcbh"), QJsonObject{{QStringLiteral("start"), quarterStart(s.tcbhStart)},
                                             {QStringLiteral("erlangs"), s.tcbhErlangs}}},
        {QStringLiteral("demandErlangs"), s.demandErlangs},
        {QStringLiteral("top5DemandErlangs"), s.top5DemandErlangs},
        {QStringLiteral("portsNeeded"), s.portsNeeded},
        {QStringLiteral("adphErlangs"), s.adphErlangs},
        {QStringLiteral("p95Erlangs"), s.p95Erlangs},
        {QStringLiteral("top5MeanErlangs"), s.top5MeanErlangs},
        {QStringLiteral("status"), statusKey(s.status)}};
    json.insert(
        QStringLiteral("trend"),
        s.trend ? QJsonValue(QJsonObject{{QStringLiteral("erlangsPerDay"), s.trend->slopePerDay},
                                         {QStringLiteral("intercept"), s.trend->intercept},
                                         {QStringLiteral("residualSd"), s.trend->residualSd},
                                         {QStringLiteral("days"), s.trend->days}})
                : QJsonValue(QJsonValue::Null));
    json.insert(QStringLiteral("runOut"),
                s.runOut ? QJsonValue(QJsonObject{
                               {QStringLiteral("earliest"), dateOrNull(s.runOut->earliest)},
                               {QStringLiteral("likely"), dateOrNull(s.runOut->likely)},
                               {QStringLiteral("latest"), dateOrNull(s.runOut->latest)}})
                         : QJsonValue(QJsonValue::Null));
    QJsonArray skipped;
    for (const SkippedDay& day : s.skipped)
        skipped.append(QJsonObject{{QStringLiteral("day"), platform::isoDate(day.day)},
                                   {QStringLiteral("reason"), day.reason}});
    json.insert(QStringLiteral("skippedDays"), skipped);
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
