#include "reports/monitoring/capacitymetrics.h"

#include "platform/fileoutput.h"
#include "platform/isodate.h"
#include "store/calltypes.h"

namespace tarrow::reports {

namespace {

QString gosLabel(double gos) {
    return QString::fromLatin1(metricNumber(gos));
}

std::optional<double> asDouble(const std::optional<int>& value) {
    return value ? std::optional<double>(*value) : std::nullopt;
}

void addBusyHour(MetricsText& m, const CapacityFigures& f, const MetricLabels& day) {
    for (std::size_t type = 0; type < store::kCallTypeCount; ++type)
        m.gauge(QStringLiteral("tarrow_busy_hour_erlangs"),
                QStringLiteral("Traffic the ports that take calls carried in the busy hour, by "
                               "call type, in Erlangs."),
                f.busyHourErlangs(type),
                day + MetricLabels{{QStringLiteral("call_type"),
                                    QLatin1String(store::kCallTypes[type].key)}});
    m.gauge(QStringLiteral("tarrow_pool_erlangs"),
            QStringLiteral("Traffic the ports that take calls carried in the busy hour, in "
                           "Erlangs."),
            f.busyHourErlangs(), day);
    m.gauge(QStringLiteral("tarrow_ports_in_service"),
            QStringLiteral("Ports that take calls, sized as one pool."), f.poolPorts(), day);
    m.gauge(QStringLiteral("tarrow_answer_ports"),
            QStringLiteral("Ports that took an inbound call on the day."), f.answerPorts, day);
    m.gauge(QStringLiteral("tarrow_dial_out_ports"),
            QStringLiteral("Ports that placed calls and took none on the day."), f.dialOutPorts,
            day);
    m.gauge(QStringLiteral("tarrow_all_ports_busy_seconds"),
            QStringLiteral("Seconds of the day the server had no line left to take a call."),
            static_cast<double>(f.atbTotalSeconds), day);
    m.gauge(QStringLiteral("tarrow_all_ports_busy_episodes"),
            QStringLiteral("Spells of the day with every line busy."),
            static_cast<double>(f.atbEpisodes), day);
    m.gauge(QStringLiteral("tarrow_measured_blocking_ratio"),
            QStringLiteral("Share of the busy hour with every line busy: the blocking callers "
                           "met."),
            f.measuredBlocking(), day);
}

} // namespace

void addCapacityMetrics(MetricsText& m, const CapacityFigures& f, const Sizing& s) {
    const MetricLabels day{{QStringLiteral("day"), platform::isoDate(f.day)}};
    const MetricLabels sized = day + MetricLabels{{QStringLiteral("gos"), gosLabel(s.gos)}};
    addBusyHour(m, f, day);
    m.optionalGauge(QStringLiteral("tarrow_offered_erlangs"),
                    QStringLiteral("Traffic callers offered in the busy hour, lost calls "
                                   "included, in Erlangs."),
                    s.offeredErlangs, day);
    m.optionalGauge(QStringLiteral("tarrow_demand_erlangs"),
                    QStringLiteral("Fresh offered traffic with the growth, the demand sized, in "
                                   "Erlangs."),
                    s.demandErlangs, sized);
    m.gauge(QStringLiteral("tarrow_capacity_erlangs"),
            QStringLiteral("Fresh traffic the ports that take calls carry at the target "
                           "blocking, in Erlangs."),
            s.capacityErlangs, sized);
    m.gauge(QStringLiteral("tarrow_sized_ports"),
            QStringLiteral("Ports sized: the choice, or the ports that take calls."), s.ports,
            sized);
    m.optionalGauge(QStringLiteral("tarrow_ports_needed"),
                    QStringLiteral("Ports the demand needs at the target blocking."),
                    asDouble(s.portsNeeded), sized);
    m.optionalGauge(
        QStringLiteral("tarrow_headroom_ratio"),
        QStringLiteral("Capacity left over the demand, as a share of the capacity."),
        s.headroomPercent ? std::optional<double>(*s.headroomPercent / 100) : std::nullopt, sized);
    m.optionalGauge(QStringLiteral("tarrow_predicted_blocking_ratio"),
                    QStringLiteral("Blocking the demand meets on the ports sized (Erlang B)."),
                    s.predictedBlocking, sized);
    for (const Verdict v : {Verdict::Enough, Verdict::Near, Verdict::NotEnough})
        m.gauge(QStringLiteral("tarrow_verdict"),
                QStringLiteral("1 for the day's verdict on the ports, 0 for the others."),
                s.verdict == v ? 1 : 0,
                sized + MetricLabels{{QStringLiteral("verdict"), verdictKey(v)}});
}

void addHistoryMetrics(MetricsText& m, const std::vector<HistoryDay>& days,
                       const HistorySummary& s) {
    const MetricLabels sized{{QStringLiteral("gos"), gosLabel(s.choice.gos)}};
    m.gauge(QStringLiteral("tarrow_history_dates"),
            QStringLiteral("Dates with calls in the history: how many days it covers."),
            static_cast<double>(days.size()));
    m.gauge(QStringLiteral("tarrow_history_demand_erlangs"),
            QStringLiteral("Demand in the time-consistent busy hour over the days sized, in "
                           "Erlangs."),
            s.demandErlangs, sized);
    m.gauge(QStringLiteral("tarrow_history_capacity_erlangs"),
            QStringLiteral("Fresh traffic the pool sized carries at the target, in Erlangs."),
            s.capacityErlangs, sized);
    m.gauge(QStringLiteral("tarrow_history_ports_needed"),
            QStringLiteral("Ports the history's demand needs at the target blocking."),
            s.portsNeeded, sized);
    m.gauge(QStringLiteral("tarrow_history_ports_in_service"),
            QStringLiteral("Ports of the pool sized over the history."), s.ports, sized);
    m.optionalGauge(
        QStringLiteral("tarrow_history_headroom_ratio"),
        QStringLiteral("Capacity left over the history's demand, as a share of the capacity."),
        s.capacityErlangs > 0
            ? std::optional<double>((s.capacityErlangs - s.demandErlangs) / s.capacityErlangs)
            : std::nullopt,
        sized);
    // The run-out in base units: seconds from the last day of the history
    // (whole days: 86400 a day), and as the instant its day starts (UTC).
    std::optional<double> runOut;
    std::optional<double> runOutAt;
    if (const std::optional<int> days = s.daysToRunOut()) {
        runOut = 86400.0 * *days;
        runOutAt = static_cast<double>(
            QDateTime(*s.runOut->likely, QTime(0, 0), Qt::UTC).toSecsSinceEpoch());
    }
    m.optionalGauge(QStringLiteral("tarrow_run_out_seconds"),
                    QStringLiteral("Time from the last day of the history to the likely day the "
                                   "ports run out, in seconds of whole days (0 or less: already)."),
                    runOut, sized);
    m.optionalGauge(QStringLiteral("tarrow_run_out_timestamp_seconds"),
                    QStringLiteral("Start (UTC) of the likely day the ports run out, in seconds "
                                   "since 1970."),
                    runOutAt, sized);
    for (const HistoryStatus status :
         {HistoryStatus::Ok, HistoryStatus::RunsOut, HistoryStatus::Exhausted})
        m.gauge(QStringLiteral("tarrow_history_status"),
                QStringLiteral("1 for the history's status, 0 for the others."),
                s.status == status ? 1 : 0,
                sized + MetricLabels{{QStringLiteral("status"), statusKey(status)}});
}

void addSuccessTime(MetricsText& m, const QDateTime& now) {
    m.gauge(QStringLiteral("tarrow_last_success_timestamp_seconds"),
            QStringLiteral("When Tarrow last computed these figures, in seconds since 1970."),
            static_cast<double>(now.toSecsSinceEpoch()));
}

platform::Result saveMetricsFile(const QString& path, MetricsText metrics) {
    addSuccessTime(metrics, QDateTime::currentDateTimeUtc());
    return platform::saveFileAtomically(path, metrics.text());
}

} // namespace tarrow::reports
