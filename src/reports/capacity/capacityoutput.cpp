#include "reports/capacity/capacityoutput.h"

#include "platform/isodate.h"
#include "reports/timeofday/timeofdaychart.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace tarrow::reports {

namespace {

const char* const kErlangColumns[store::kCallTypeCount] = {
    "InboundErlangs", "NotificationErlangs", "MWIErlangs", "TRAPErlangs", "AMISErlangs"};
// The column order of CapacityTraffic: as the other result tables read them.
constexpr store::CallTypeOrder kCapacityOrder = store::kReadingOrder;

QString fixed(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

QString busyHourText(const CapacityFigures& f) {
    return quarterStart(f.busyHourStart) + QStringLiteral("\u2013") +
           quarterStart(f.busyHourStart + kBusyHourQuarters);
}

QString seconds(qint64 s) {
    return QStringLiteral("%1 s").arg(s);
}

// "16 answer ports" or "16 ports": what the pool is to the reader.
QString poolText(const Sizing& s) {
    return QStringLiteral("%1 %2").arg(s.ports).arg(
        s.portsFrom == PortsFrom::User ? QStringLiteral("ports") : QStringLiteral("answer ports"));
}

QString portsText(int n) {
    return n == 1 ? QStringLiteral("1 port") : QStringLiteral("%1 ports").arg(n);
}

QString poolSource(PortsFrom from) {
    switch (from) {
    case PortsFrom::User:
        return QStringLiteral("as set");
    case PortsFrom::LineCounts:
        return QStringLiteral("line counts");
    case PortsFrom::AnswerPorts:
        break;
    }
    return QStringLiteral("answer ports");
}

QString portsFromKey(PortsFrom from) {
    switch (from) {
    case PortsFrom::User:
        return QStringLiteral("user");
    case PortsFrom::LineCounts:
        return QStringLiteral("lineCounts");
    case PortsFrom::AnswerPorts:
        break;
    }
    return QStringLiteral("answerPorts");
}

QJsonValue orNull(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue orNull(const std::optional<int>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QString notEnoughHeadline(const Sizing& s) {
    if (s.saturated())
        return QStringLiteral("Not enough ports: all %1 were in use through the busy hour (%2 "
                              "carried), so the demand cannot be estimated: the ports were "
                              "saturated. Add ports until they no longer fill up.")
            .arg(poolText(s), erlangText(s.carriedErlangs));
    const QString add = *s.portsToAdd > 0 ? QStringLiteral("Add %1.").arg(portsText(*s.portsToAdd))
                                          : QStringLiteral("Add at least 1 port.");
    if (s.measuredBlocking > s.gos)
        return QStringLiteral("Not enough ports: callers found all %1 busy %2 of the busy hour "
                              "(target %3). ")
                   .arg(poolText(s), percentText(s.measuredBlocking), percentText(s.gos)) +
               add;
    return QStringLiteral("Not enough ports: the busy hour's demand of %1 needs %2 at %3 "
                          "blocking, and %4 carry %5. ")
               .arg(erlangText(*s.demandErlangs), portsText(*s.portsNeeded), percentText(s.gos),
                    poolText(s), erlangText(s.capacityErlangs)) +
           add;
}

} // namespace

QColor verdictColour(Verdict verdict) {
    switch (verdict) {
    case Verdict::Enough:
        return {0x1a, 0x6b, 0x2a};
    case Verdict::Near:
        return {0xa0, 0x55, 0x00};
    case Verdict::NotEnough:
        break;
    }
    return {0xb0, 0x00, 0x00};
}

QString percentText(double probability) {
    // A figure too small to matter reads as such, not in powers of ten.
    if (probability > 0 && probability < 1e-6)
        return QStringLiteral("< 0.0001 %");
    return QString::number(probability * 100, 'g', 4) + QStringLiteral(" %");
}

QString erlangText(double erlangs) {
    return fixed(erlangs, 3) + QStringLiteral(" E");
}

QString capacityHeadline(const CapacityFigures& f, const Sizing& s) {
    if (s.verdict == Verdict::NotEnough)
        return notEnoughHeadline(s);
    if (!f.hasTraffic())
        return QStringLiteral("No call carried traffic on this day: nothing to size.");
    if (!(s.carriedErlangs > 0))
        return QStringLiteral("No caller reached the ports that take calls on this day: only "
                              "dial-outs, nothing to size.");
    if (s.verdict == Verdict::Near)
        return QStringLiteral("Ports nearly full: %1 carry %2 at %3 blocking, only %4 (%5 %) more "
                              "than the busy hour's demand of %6.")
            .arg(poolText(s), erlangText(s.capacityErlangs), percentText(s.gos),
                 erlangText(*s.headroomErlangs), fixed(*s.headroomPercent, 1),
                 erlangText(*s.demandErlangs));
    return QStringLiteral("Enough ports: %1 carry %2 at %3 blocking, %4 (%5 %) more than the busy "
                          "hour's demand of %6.")
        .arg(poolText(s), erlangText(s.capacityErlangs), percentText(s.gos),
             erlangText(*s.headroomErlangs), fixed(*s.headroomPercent, 1),
             erlangText(*s.demandErlangs));
}

namespace {

// The demand and what the ports make of it.
void appendSizing(QList<VerdictLine>& lines, const CapacityFigures& f, const Sizing& s) {
    lines.append({QStringLiteral("Busy hour"), busyHourText(f)});
    lines.append({QStringLiteral("Ports that take calls"),
                  QStringLiteral("%1 (%2)").arg(s.ports).arg(poolSource(s.portsFrom))});
    lines.append({QStringLiteral("Answer / dial-out ports"),
                  QStringLiteral("%1 / %2").arg(f.answerPorts).arg(f.dialOutPorts)});
    lines.append({QStringLiteral("Carried traffic"), erlangText(s.carriedErlangs)});
    if (s.offeredErlangs)
        lines.append({QStringLiteral("Offered traffic"), erlangText(*s.offeredErlangs)});
    else
        lines.append({QStringLiteral("Offered traffic"),
                      QStringLiteral("demand cannot be estimated: the ports were saturated"),
                      true});
    QString fromCounts = s.offeredFromCounts ? erlangText(*s.offeredFromCounts)
                                             : QStringLiteral("none: all busy throughout");
    if (s.modelMisfit)
        fromCounts += QStringLiteral(" (the pool model does not fit this day)");
    lines.append({QStringLiteral("Offered (server's counts)"), fromCounts, s.modelMisfit});
    if (s.demandErlangs && s.growthPercent > 0)
        lines.append(
            {QStringLiteral("Demand sized"),
             QStringLiteral("%1 with %2 % growth")
                 .arg(erlangText(*s.demandErlangs), QString::number(s.growthPercent, 'g', 4))});
    if (s.freshErlangs && s.retryShare > 0)
        lines.append({QStringLiteral("Fresh, without retries"), erlangText(*s.freshErlangs)});
    lines.append({QStringLiteral("Capacity at %1 blocking").arg(percentText(s.gos)),
                  erlangText(s.capacityErlangs)});
    if (s.portsNeeded)
        lines.append({QStringLiteral("Ports needed"), QString::number(*s.portsNeeded),
                      *s.portsNeeded > s.ports});
    if (s.portsToAdd && *s.portsToAdd > 0)
        lines.append({QStringLiteral("Ports to add"), QString::number(*s.portsToAdd), true});
    else if (s.headroomErlangs)
        lines.append({QStringLiteral("Headroom"),
                      QStringLiteral("%1 (%2 % of capacity)")
                          .arg(erlangText(*s.headroomErlangs), fixed(*s.headroomPercent, 1)),
                      s.verdict != Verdict::Enough});
    lines.append(
        {QStringLiteral("Blocking predicted / measured"),
         QStringLiteral("%1 / %2").arg(s.predictedBlocking ? percentText(*s.predictedBlocking)
                                                           : QStringLiteral("\u2013"),
                                       percentText(s.measuredBlocking)),
         s.measuredBlocking > s.gos || (s.predictedBlocking && *s.predictedBlocking > s.gos)});
}

// What the server's counts and the call records say of the day.
void appendEvidence(QList<VerdictLine>& lines, const CapacityFigures& f) {
    lines.append(
        {QStringLiteral("All ports busy"),
         QStringLiteral("%1 in %2 spells").arg(seconds(f.atbTotalSeconds)).arg(f.atbEpisodes),
         f.atbTotalSeconds > 0});
    lines.append({QStringLiteral("Longest all-busy spell"), seconds(f.atbLongestSeconds),
                  f.atbLongestSeconds > 0});
    lines.append({QStringLiteral("All ports busy in the busy hour"),
                  seconds(f.atbBusyHourSeconds()), f.atbBusyHourSeconds() > 0});
    lines.append({QStringLiteral("Dial-out ports"), QStringLiteral("%1, all busy %2")
                                                        .arg(erlangText(f.dialOutBusyHourErlangs()),
                                                             seconds(f.dialOutAllBusySeconds))});
    lines.append({QStringLiteral("Dial-outs on answer ports"), erlangText(f.overflowErlangs()),
                  f.overflowErlangs() > 0});
    lines.append({QStringLiteral("Peak lines / concurrent calls"),
                  QStringLiteral("%1 / %2").arg(f.peakLinesInUse).arg(f.peakConcurrentCalls)});
    lines.append(
        {QStringLiteral("Calls without a recorded end"), QString::number(f.callsWithoutEnd)});
}

} // namespace

QList<VerdictLine> capacityVerdict(const CapacityFigures& f, const Sizing& s) {
    QList<VerdictLine> lines;
    appendSizing(lines, f, s);
    appendEvidence(lines, f);
    return lines;
}

QByteArray capacityTrafficCsv(const CapacityFigures& f) {
    // The summary grid's cells, under its keys: they are the table's columns.
    const SummaryTable table = capacitySummary(f);
    QStringList header{QStringLiteral("QuarterHour")};
    for (const SummaryColumn& column : table.layout.columns)
        header << column.key;
    QByteArray out = header.join(QLatin1Char(',')).toLatin1() + '\n';
    for (int q = 0; q < kQuarterHours; ++q)
        out += (QString::number(q) + QLatin1Char(',') + table.rows[q].join(QLatin1Char(',')))
                   .toLatin1() +
               '\n';
    return out;
}

QByteArray capacityJson(const CapacityFigures& f, const Sizing& s) {
    QJsonObject byType;
    for (const store::CallTypeInfo& type : store::kCallTypes) {
        const std::size_t i = store::typeIndex(type.type);
        byType.insert(QLatin1String(store::kCallTypes[i].key), f.busyHourErlangs(i));
    }
    const QJsonObject busyHour{
        {QStringLiteral("start"), quarterStart(f.busyHourStart)},
        {QStringLiteral("end"), quarterStart(f.busyHourStart + kBusyHourQuarters)},
        {QStringLiteral("erlangs"), f.busyHourErlangs()},
        {QStringLiteral("byType"), byType}};
    const QJsonObject allPortsBusy{{QStringLiteral("seconds"), f.atbTotalSeconds},
                                   {QStringLiteral("episodes"), f.atbEpisodes},
                                   {QStringLiteral("longestSeconds"), f.atbLongestSeconds},
                                   {QStringLiteral("busyHourSeconds"), f.atbBusyHourSeconds()}};
    const QJsonObject dialOut{{QStringLiteral("busyHourErlangs"), f.dialOutBusyHourErlangs()},
                              {QStringLiteral("allBusySeconds"), f.dialOutAllBusySeconds},
                              {QStringLiteral("overflowErlangs"), f.overflowErlangs()}};
    const QJsonObject root{
        {QStringLiteral("schema"), 2},
        {QStringLiteral("day"), platform::isoDate(f.day)},
        {QStringLiteral("gos"), s.gos},
        {QStringLiteral("retryShare"), s.retryShare},
        {QStringLiteral("growthPercent"), s.growthPercent},
        {QStringLiteral("portsInService"), s.ports},
        {QStringLiteral("portsFrom"), portsFromKey(s.portsFrom)},
        {QStringLiteral("answerPorts"), f.answerPorts},
        {QStringLiteral("dialOutPorts"), f.dialOutPorts},
        {QStringLiteral("busyHour"), busyHour},
        {QStringLiteral("offeredErlangs"), orNull(s.offeredErlangs)},
        {QStringLiteral("offeredFromCountsErlangs"), orNull(s.offeredFromCounts)},
        {QStringLiteral("freshErlangs"), orNull(s.freshErlangs)},
        {QStringLiteral("demandErlangs"), orNull(s.demandErlangs)},
        {QStringLiteral("portsNeeded"), orNull(s.portsNeeded)},
        {QStringLiteral("capacityErlangs"), s.capacityErlangs},
        {QStringLiteral("headroomErlangs"), orNull(s.headroomErlangs)},
        {QStringLiteral("headroomPercent"), orNull(s.headroomPercent)},
        {QStringLiteral("portsToAdd"), orNull(s.portsToAdd)},
        {QStringLiteral("predictedBlocking"), orNull(s.predictedBlocking)},
        {QStringLiteral("measuredBlocking"), s.measuredBlocking},
        {QStringLiteral("verdict"), verdictKey(s.verdict)},
        {QStringLiteral("headline"), capacityHeadline(f, s)},
        {QStringLiteral("allPortsBusy"), allPortsBusy},
        {QStringLiteral("dialOut"), dialOut},
        {QStringLiteral("peakLinesInUse"), f.peakLinesInUse},
        {QStringLiteral("peakConcurrentCalls"), f.peakConcurrentCalls},
        {QStringLiteral("callsWithoutEnd"), f.callsWithoutEnd}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

SummaryTable capacitySummary(const CapacityFigures& f) {
    SummaryTable table;
    SummaryLayout& layout = table.layout;
    const auto column = [&layout](const QString& key, int width, const QString& header,
                                  const QString& csvHeader) {
        layout.columns.append({key, width, header});
        layout.csvHeader += QLatin1Char(',') + csvHeader;
        layout.csvValueKeys << key;
    };
    layout.csvHeader = QStringLiteral("Row");
    column(QStringLiteral("Start"), 900, QStringLiteral("Start"), QStringLiteral("Start"));
    column(QStringLiteral("RealSeconds"), 1200, QStringLiteral("Real (s)"),
           QStringLiteral("Real Seconds"));
    for (store::CallType type : kCapacityOrder) {
        // The columns hold the traffic of each call type, not its calls.
        const QString label = QLatin1String(store::info(type).label);
        column(QLatin1String(kErlangColumns[store::typeIndex(type)]), 1500,
               label + QStringLiteral(" (E)"), label + QStringLiteral(" Erlangs"));
    }
    column(QStringLiteral("TotalErlangs"), 1200, QStringLiteral("Total Erlangs"),
           QStringLiteral("Total Erlangs"));
    column(QStringLiteral("PoolErlangs"), 1200, QStringLiteral("Pool Erlangs"),
           QStringLiteral("Pool Erlangs"));
    column(QStringLiteral("AtbSeconds"), 1500, QStringLiteral("All Ports Busy (s)"),
           QStringLiteral("All Ports Busy Seconds"));
    layout.filePrefix = QStringLiteral("CapacitySummary_");
    for (int q = 0; q < kQuarterHours; ++q) {
        const auto i = static_cast<std::size_t>(q);
        QStringList row{quarterStart(q), QString::number(f.realSeconds[i])};
        for (store::CallType type : kCapacityOrder)
            row << fixed(f.erlangs(q, store::typeIndex(type)), 4);
        row << fixed(f.erlangs(q), 4) << fixed(f.poolErlangs(q), 4)
            << QString::number(f.atbSeconds[i]);
        table.rows.append(row);
    }
    return table;
}

charts::ChartModel capacityChart(const CapacityFigures& f, const Sizing& s) {
    charts::ChartModel model;
    model.style = charts::ChartStyle::Lines;
    model.xTitle = QStringLiteral("Time");
    model.yTitle = QStringLiteral("Erlangs");
    // Each quarter-hour is a flat step from its start to its end.
    const int minutesPerQuarter = kQuarterSeconds / 60;
    for (int q = 0; q < kQuarterHours; ++q) {
        model.xs.push_back(q * minutesPerQuarter);
        model.xs.push_back((q + 1) * minutesPerQuarter);
    }
    for (store::CallType type : kCapacityOrder) {
        charts::ChartSeries series{
            QLatin1String(store::info(type).label), {}, charts::SeriesKind::Stacked};
        series.color = charts::callTypeColour(store::typeIndex(type));
        for (int q = 0; q < kQuarterHours; ++q) {
            const double value = f.poolErlangs(q, store::typeIndex(type));
            series.values.insert(series.values.end(), 2, value);
        }
        model.series.push_back(std::move(series));
    }
    for (const CapacityLevel& level : capacityLevels(s))
        model.series.push_back({level.label, std::vector<double>(model.xs.size(), level.erlangs),
                                charts::SeriesKind::Level});
    model.xMin = 0;
    model.xMax = kMinutesPerDay;
    model.xLabels = timeLabels(kMinutesPerDay);
    model.band = charts::ChartBand{
        static_cast<double>(f.busyHourStart * minutesPerQuarter),
        static_cast<double>((f.busyHourStart + kBusyHourQuarters) * minutesPerQuarter),
        QStringLiteral("Busy hour ") + busyHourText(f)};
    return model;
}

std::array<CapacityLevel, 2> capacityLevels(const Sizing& s) {
    return {
        {{QStringLiteral("Ports that take calls (%1)").arg(s.ports), static_cast<double>(s.ports)},
         {QStringLiteral("Capacity at %1 (%2)")
              .arg(percentText(s.gos), erlangText(s.capacityErlangs)),
          s.capacityErlangs}}};
}

} // namespace tarrow::reports
