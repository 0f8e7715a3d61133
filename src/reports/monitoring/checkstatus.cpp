#include "reports/monitoring/checkstatus.h"

#include "platform/isodate.h"
#include "reports/capacity/capacityoutput.h"
#include "reports/history/historyoutput.h"

#include <algorithm>
#include <cmath>

namespace tarrow::reports {

namespace {

const char* const kStateNames[] = {"OK", "WARNING", "CRITICAL", "UNKNOWN"};

// A perfdata value: rounded to four decimals, written without trailing zeros
// and with a point.
QString number(double value) {
    return QString::number(std::round(value * 1e4) / 1e4, 'g', 15);
}

// 'label'=value[UOM];warn;crit;min;max, with empty fields where a figure has
// no threshold or bound.
QString perf(const QString& label, double value, const QString& unit = {},
             std::optional<double> warn = {}, std::optional<double> crit = {},
             std::optional<double> min = 0.0, std::optional<double> max = {}) {
    const auto field = [](std::optional<double> v) { return v ? number(*v) : QString(); };
    QString text =
        QStringLiteral("'%1'=%2%3;%4;%5;%6;%7")
            .arg(label, number(value), unit, field(warn), field(crit), field(min), field(max));
    while (text.endsWith(QLatin1Char(';')))
        text.chop(1);
    return text;
}

// "83.1 % of what 20 ports carry at 1 %": the utilisation to a tenth.
QString shareText(double percent, int ports, double gos) {
    return QStringLiteral("%1 % of what %2 ports carry at %3")
        .arg(number(std::round(percent * 10) / 10))
        .arg(ports)
        .arg(percentText(gos));
}

CheckCode byUtilisation(double percent, const CheckThresholds& t) {
    if (percent >= t.critical)
        return CheckCritical;
    return percent >= t.warning ? CheckWarning : CheckOk;
}

CheckResult result(CheckCode code, const QString& text, const QStringList& perfdata) {
    return {code,
            QStringLiteral("TARROW CAPACITY %1 - %2 | %3")
                .arg(QLatin1String(kStateNames[code]), text, perfdata.join(QLatin1Char(' ')))};
}

// The figures both checks report: demand against capacity with the
// thresholds in Erlangs, and the utilisation with them in %.
QStringList demandPerf(double demand, double capacity, int ports, const CheckThresholds& t) {
    return {perf(QStringLiteral("utilisation"), 100 * demand / capacity, QStringLiteral("%"),
                 t.warning, t.critical),
            perf(QStringLiteral("demand"), demand, {}, capacity * t.warning / 100,
                 capacity * t.critical / 100, 0.0, ports),
            perf(QStringLiteral("capacity"), capacity, {}, {}, {}, 0.0, ports)};
}

} // namespace

QString thresholdProblem(const CheckThresholds& t) {
    const auto inRange = [](double v) { return std::isfinite(v) && v >= 0 && v <= 100; };
    if (!inRange(t.warning) || !inRange(t.critical))
        return QStringLiteral("--warning and --critical take a share of the capacity in %, "
                              "from 0 to 100.");
    if (t.warning > t.critical)
        return QStringLiteral("--warning is above --critical.");
    return {};
}

CheckResult checkDay(const CapacityFigures& f, const Sizing& s, const CheckThresholds& t) {
    const QString day = platform::isoDate(f.day);
    QStringList perfdata;
    if (!s.demandErlangs || s.capacityErlangs <= 0) {
        perfdata << perf(QStringLiteral("busy_hour"), s.carriedErlangs, {}, {}, {}, 0.0, s.ports)
                 << perf(QStringLiteral("pool_ports"), s.ports)
                 << perf(QStringLiteral("measured_blocking"), 100 * s.measuredBlocking,
                         QStringLiteral("%"), {}, {}, 0.0, 100.0);
        return result(CheckCritical,
                      s.capacityErlangs <= 0
                          ? QStringLiteral("no port takes calls on %1").arg(day)
                          : QStringLiteral("the %1 ports were saturated on %2: demand cannot be "
                                           "estimated; callers met all ports busy %3 of the busy "
                                           "hour")
                                .arg(s.ports)
                                .arg(day, percentText(s.measuredBlocking)),
                      perfdata);
    }
    const double percent = 100 * *s.demandErlangs / s.capacityErlangs;
    CheckCode code = byUtilisation(percent, t);
    QString text = shareText(percent, s.ports, s.gos) + QStringLiteral(" on ") + day;
    if (s.verdict == Verdict::NotEnough) {
        // Either the demand needs more ports, or the server's own counts say
        // callers already met all ports busy more often than the target.
        code = CheckCritical;
        if (s.portsNeeded.value_or(0) > s.ports)
            text += QStringLiteral(", not enough ports: %1 needed").arg(*s.portsNeeded);
        else
            text += QStringLiteral(", but callers met all ports busy %1 of the busy hour "
                                   "(target %2)")
                        .arg(percentText(s.measuredBlocking), percentText(s.gos));
    }
    perfdata << demandPerf(*s.demandErlangs, s.capacityErlangs, s.ports, t)
             << perf(QStringLiteral("busy_hour"), s.carriedErlangs, {}, {}, {}, 0.0, s.ports)
             << perf(QStringLiteral("pool_ports"), s.ports)
             << perf(QStringLiteral("ports_needed"), s.portsNeeded.value_or(0), {}, {}, s.ports)
             << perf(QStringLiteral("measured_blocking"), 100 * s.measuredBlocking,
                     QStringLiteral("%"), {}, 100 * s.gos, 0.0, 100.0)
             << perf(QStringLiteral("all_ports_busy"), static_cast<double>(f.atbTotalSeconds),
                     QStringLiteral("s"));
    return result(code, text, perfdata);
}

CheckResult checkDays(const HistorySummary& s, const CheckThresholds& t) {
    if (s.capacityErlangs <= 0)
        return unknownCheck(QStringLiteral("no port takes calls from %1 to %2")
                                .arg(platform::isoDate(s.from), platform::isoDate(s.to)));
    const double percent = 100 * s.demandErlangs / s.capacityErlangs;
    CheckCode code = byUtilisation(percent, t);
    QString text = shareText(percent, s.ports, s.choice.gos) +
                   QStringLiteral(" over %1 days to %2").arg(s.days).arg(platform::isoDate(s.to));
    if (s.portsNeeded > s.ports)
        code = CheckCritical;
    const std::optional<int> runOutDays = s.daysToRunOut();
    if (s.status == HistoryStatus::Exhausted) {
        code = CheckCritical;
        text += QStringLiteral("; ") + historyHeadline(s);
    } else if (runOutDays) {
        if (*runOutDays <= kRunOutWarningDays)
            code = std::max(code, CheckWarning);
        text += QStringLiteral("; ports run out about %1 (in %2 days)")
                    .arg(platform::isoDate(*s.runOut->likely))
                    .arg(*runOutDays);
    }
    QStringList perfdata = demandPerf(s.demandErlangs, s.capacityErlangs, s.ports, t);
    perfdata << perf(QStringLiteral("pool_ports"), s.ports)
             << perf(QStringLiteral("ports_needed"), s.portsNeeded, {}, {}, s.ports)
             << perf(QStringLiteral("measured_blocking"), 100 * s.recentBlocking,
                     QStringLiteral("%"), {}, 100 * s.choice.gos, 0.0, 100.0);
    if (runOutDays)
        perfdata << perf(QStringLiteral("days_to_run_out"), *runOutDays, {}, {}, {}, {});
    return result(code, text, perfdata);
}

CheckResult unknownCheck(const QString& why) {
    return {CheckUnknown, QStringLiteral("TARROW CAPACITY UNKNOWN - ") + why};
}

} // namespace tarrow::reports
