#include "reports/history/historyoutput.h"

#include "platform/isodate.h"

namespace tarrow::reports {

QStringList historyDayLines(const std::vector<HistoryDay>& days) {
    QStringList lines;
    for (const HistoryDay& day : days)
        lines << QStringLiteral("%1  busy hour %2 %3  peak lines in use %4  ports %5, needed %6"
                                "  all ports busy %7 s")
                     .arg(platform::isoDate(day.day), quarterStart(day.busyHourStart),
                          erlangText(day.busyHourErlangs))
                     .arg(day.peakLinesInUse)
                     .arg(day.portsInService)
                     .arg(day.portsNeeded)
                     .arg(day.atbSeconds);
    return lines;
}

QList<VerdictLine> historyVerdict(const HistorySummary& s) {
    QList<VerdictLine> lines{
        {QStringLiteral("Days"), QString::number(s.days)},
        {QStringLiteral("Average daily peak hour (ADPH)"), erlangText(s.adphErlangs)},
        {QStringLiteral("Time-consistent busy hour (TCBH)"),
         QStringLiteral("%1, %2").arg(quarterStart(s.tcbhStart), erlangText(s.tcbhErlangs))},
        {QStringLiteral("95th percentile of the daily peaks"), erlangText(s.p95Erlangs)},
        {QStringLiteral("Mean of the five highest peaks"), erlangText(s.top5MeanErlangs)},
        {QStringLiteral("Capacity of %1 ports at the target").arg(s.sizingPorts),
         erlangText(s.capacityErlangs)}};
    if (!s.trend) {
        lines << VerdictLine{QStringLiteral("Trend"),
                             QStringLiteral("not enough days for a trend")};
        return lines;
    }
    lines << VerdictLine{QStringLiteral("Trend"),
                         QStringLiteral("%1 per 30 days").arg(erlangText(30 * s.trend->slopePerDay))};
    lines << VerdictLine{QStringLiteral("Ports run out"),
                         s.exhaustion ? platform::isoDate(*s.exhaustion)
                                      : QStringLiteral("none within a year"),
                         s.exhaustion.has_value()};
    return lines;
}

} // namespace tarrow::reports
