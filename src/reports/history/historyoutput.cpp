#include "reports/history/historyoutput.h"

#include "platform/isodate.h"

#include <QLocale>

namespace tarrow::reports {

namespace {

// "22 Jan", with the year when it is not the range's.
QString shortDate(const QDate& day, const HistorySummary& s) {
    const QLocale english(QLocale::English);
    return english.toString(day, day.year() == s.to.year() ? QStringLiteral("d MMM")
                                                           : QStringLiteral("d MMM yyyy"));
}

QString exhaustedHeadline(const HistorySummary& s) {
    if (s.runOut && s.runOut->likely && *s.runOut->likely <= s.to)
        return QStringLiteral("Ports already short since about %1")
            .arg(shortDate(*s.runOut->likely, s));
    if (2 * s.recentSaturated > s.recentDays)
        return QStringLiteral("Ports already short: all ports were saturated on %1 of the last %2 "
                              "days sized")
            .arg(s.recentSaturated)
            .arg(s.recentDays);
    if (s.recentBlocking > s.choice.gos)
        return QStringLiteral("Ports already short: callers found all ports busy %1 of the busy "
                              "hour over the last %2 days sized (target %3)")
            .arg(percentText(s.recentBlocking))
            .arg(s.recentDays)
            .arg(percentText(s.choice.gos));
    return QStringLiteral("Ports already short: the demand has reached what %1 ports carry")
        .arg(s.ports);
}

} // namespace

QStringList historyDayLines(const std::vector<HistoryDay>& days, const HistorySummary& s) {
    QStringList lines;
    for (std::size_t d = 0; d < days.size(); ++d) {
        const HistoryDay& day = days[d];
        const std::optional<double> offered = d < s.offered.size() ? s.offered[d] : std::nullopt;
        lines << QStringLiteral("%1  busy hour %2 %3  offered %4  peak lines in use %5  ports %6, "
                                "needed %7  all ports busy %8 s")
                     .arg(platform::isoDate(day.day), quarterStart(day.busyHourStart),
                          erlangText(day.busyHourErlangs),
                          offered ? erlangText(*offered) : QStringLiteral("saturated"))
                     .arg(day.peakLinesInUse)
                     .arg(day.portsInService)
                     .arg(day.portsNeeded)
                     .arg(day.atbSeconds);
    }
    return lines;
}

QString historyHeadline(const HistorySummary& s) {
    switch (s.status) {
    case HistoryStatus::Exhausted:
        return exhaustedHeadline(s);
    case HistoryStatus::RunsOut: {
        const RunOut& r = *s.runOut;
        const QString likely = shortDate(*r.likely, s);
        if (!r.latest)
            return QStringLiteral("Ports run out from %1, most likely %2 (the latest is more than "
                                  "a year away)")
                .arg(shortDate(*r.earliest, s), likely);
        return QStringLiteral("Ports run out between %1 and %2, most likely %3")
            .arg(shortDate(*r.earliest, s), shortDate(*r.latest, s), likely);
    }
    case HistoryStatus::Ok:
        break;
    }
    if (!s.trend)
        return QStringLiteral("No trend yet: %1 days sized, at least %2 needed")
            .arg(std::count(s.basis.begin(), s.basis.end(), true))
            .arg(kTrendMinimumDays);
    return QStringLiteral("No run-out within a year");
}

QColor historyColour(const HistorySummary& s) {
    switch (s.status) {
    case HistoryStatus::Exhausted:
        return verdictColour(Verdict::NotEnough);
    case HistoryStatus::RunsOut:
        return verdictColour(Verdict::Near);
    case HistoryStatus::Ok:
        break;
    }
    return verdictColour(Verdict::Enough);
}

QList<VerdictLine> historyVerdict(const HistorySummary& s) {
    const auto basisDays = std::count(s.basis.begin(), s.basis.end(), true);
    QList<VerdictLine> lines{
        {QStringLiteral("Days"), QString::number(s.days)},
        {QStringLiteral("Days sized"),
         s.weekdaysBasis ? QStringLiteral("%1 weekdays (weekends are quiet)").arg(basisDays)
                         : QStringLiteral("all %1 days").arg(basisDays)},
        {QStringLiteral("Time-consistent busy hour (TCBH)"),
         QStringLiteral("%1, %2 carried")
             .arg(quarterStart(s.tcbhStart), erlangText(s.tcbhErlangs))},
        {QStringLiteral("Demand (offered in the TCBH)"),
         QStringLiteral("%1, top five %2")
             .arg(erlangText(s.demandErlangs), erlangText(s.top5DemandErlangs))},
        {QStringLiteral("Capacity of %1 ports at %2").arg(s.ports).arg(percentText(s.choice.gos)),
         erlangText(s.capacityErlangs)},
        {QStringLiteral("Ports needed"), QString::number(s.portsNeeded), s.portsNeeded > s.ports}};
    if (s.trend)
        lines << VerdictLine{QStringLiteral("Trend"),
                             QStringLiteral("%1 per 30 days over %2 days")
                                 .arg(erlangText(30 * s.trend->slopePerDay))
                                 .arg(s.trend->days)};
    else
        lines << VerdictLine{QStringLiteral("Trend"),
                             QStringLiteral("not enough days for a trend")};
    if (s.runOut && s.runOut->likely)
        lines << VerdictLine{
            QStringLiteral("Ports run out"),
            QStringLiteral("%1 (earliest %2, latest %3)")
                .arg(platform::isoDate(*s.runOut->likely),
                     s.runOut->earliest ? platform::isoDate(*s.runOut->earliest) : QString(),
                     s.runOut->latest ? platform::isoDate(*s.runOut->latest)
                                      : QStringLiteral("over a year away")),
            true};
    lines << VerdictLine{QStringLiteral("All ports busy, last %1 days sized").arg(s.recentDays),
                         percentText(s.recentBlocking), s.recentBlocking > s.choice.gos};
    lines << VerdictLine{QStringLiteral("Average daily peak hour (ADPH)"),
                         erlangText(s.adphErlangs)}
          << VerdictLine{QStringLiteral("95th percentile of the daily peaks"),
                         erlangText(s.p95Erlangs)};
    if (!s.skipped.empty())
        lines << VerdictLine{QStringLiteral("Days skipped"),
                             skippedDayLines(s).join(QStringLiteral("; ")), true};
    return lines;
}

QStringList skippedDayLines(const HistorySummary& s) {
    QStringList lines;
    for (const SkippedDay& day : s.skipped)
        lines << QStringLiteral("%1: %2").arg(platform::isoDate(day.day), day.reason);
    return lines;
}

SummaryTable historyDaysTable(const std::vector<HistoryDay>& days, const HistorySummary& summary) {
    SummaryTable table;
    const QList<QByteArray> lines = historyCsv(days, summary).trimmed().split('\n');
    for (const QByteArray& name : lines.value(0).trimmed().split(',')) {
        const QString key = QString::fromLatin1(name);
        // A word starts at a capital after a small letter, or at the last
        // capital of a run followed by a small letter ("MWI Dialouts").
        QString header;
        for (qsizetype i = 0; i < key.size(); ++i) {
            const bool afterSmall = i > 0 && key[i - 1].isLower();
            const bool endsRun =
                i > 0 && key[i - 1].isUpper() && i + 1 < key.size() && key[i + 1].isLower();
            if (key[i].isUpper() && (afterSmall || endsRun))
                header += QLatin1Char(' ');
            header += key[i];
        }
        table.layout.columns.append({key, 0, header});
    }
    for (qsizetype row = 1; row < lines.size(); ++row) {
        QStringList cells;
        for (const QByteArray& cell : lines[row].trimmed().split(','))
            cells << QString::fromLatin1(cell);
        table.rows.append(cells);
    }
    return table;
}

} // namespace tarrow::reports
