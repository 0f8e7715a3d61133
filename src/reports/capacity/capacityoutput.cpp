#include "reports/capacity/capacityoutput.h"

#include "platform/isodate.h"
#include "reports/timeofday/timeofdaychart.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace tarrow::reports {

namespace {

const char* const kErlangColumns[store::kCallTypeCount] = {
    "InboundErlangs", "NotificationErlangs", "MWIErlangs", "TRAPErlangs", "AMISErlangs"};
const char* const kJsonTypeKeys[store::kCallTypeCount] = {"inbound", "notification", "mwi", "trap",
                                                          "amis"};
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

} // namespace

QString percentText(double probability) {
    return QString::number(probability * 100, 'g', 4) + QStringLiteral(" %");
}

QString erlangText(double erlangs) {
    return fixed(erlangs, 3) + QStringLiteral(" E");
}

QString capacityHeadline(const CapacityFigures& f, const Sizing& s) {
    if (!f.hasTraffic())
        return QStringLiteral("No call carried traffic on this day: nothing to size.");
    if (s.portsToAdd > 0)
        return QStringLiteral("Not enough ports: add %1 to carry %2 at %3 blocking.")
            .arg(s.portsToAdd)
            .arg(erlangText(s.erlangs), percentText(s.gos));
    return QStringLiteral("Enough ports: %1 ports carry %2 at %3 blocking, %4 more than the busy "
                          "hour needs.")
        .arg(s.ports)
        .arg(erlangText(s.capacityErlangs), percentText(s.gos), erlangText(s.headroomErlangs));
}

QList<VerdictLine> capacityVerdict(const CapacityFigures& f, const Sizing& s) {
    QList<VerdictLine> lines;
    QString traffic = erlangText(f.busyHourErlangs());
    if (s.growthPercent > 0)
        traffic += QStringLiteral(" (%1 with %2 % growth)")
                       .arg(erlangText(s.erlangs), QString::number(s.growthPercent, 'g', 4));
    lines.append({QStringLiteral("Busy hour"), busyHourText(f)});
    lines.append({QStringLiteral("Busy-hour traffic"), traffic});
    lines.append(
        {QStringLiteral("Ports in service"),
         QStringLiteral("%1 (%2)").arg(s.ports).arg(
             s.portsFromUser ? QStringLiteral("as set") : QStringLiteral("from the calls"))});
    lines.append({QStringLiteral("Carried at %1 blocking").arg(percentText(s.gos)),
                  erlangText(s.capacityErlangs)});
    lines.append({QStringLiteral("Ports needed"), QString::number(s.portsNeeded)});
    if (s.portsToAdd > 0)
        lines.append({QStringLiteral("Ports to add"), QString::number(s.portsToAdd), true});
    else
        lines.append({QStringLiteral("Headroom"),
                      QStringLiteral("%1 (%2 % of capacity)")
                          .arg(erlangText(s.headroomErlangs), fixed(s.headroomPercent, 1))});
    lines.append({QStringLiteral("All ports busy"),
                  QStringLiteral("%1 in %2 spells, longest %3")
                      .arg(seconds(f.atbTotalSeconds))
                      .arg(f.atbEpisodes)
                      .arg(seconds(f.atbLongestSeconds)),
                  f.atbTotalSeconds > 0});
    lines.append({QStringLiteral("All ports busy in the busy hour"),
                  seconds(f.atbBusyHourSeconds()), f.atbBusyHourSeconds() > 0});
    lines.append({QStringLiteral("Blocking predicted / measured"),
                  QStringLiteral("%1 / %2").arg(percentText(s.predictedBlocking),
                                                percentText(s.measuredBlocking)),
                  s.predictedBlocking > s.gos});
    lines.append({QStringLiteral("Peak lines in use / concurrent calls"),
                  QStringLiteral("%1 / %2").arg(f.peakLinesInUse).arg(f.peakConcurrentCalls)});
    lines.append(
        {QStringLiteral("Calls without a recorded end"), QString::number(f.callsWithoutEnd)});
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
        byType.insert(QLatin1String(kJsonTypeKeys[i]), f.busyHourErlangs(i));
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
    const QJsonObject root{{QStringLiteral("schema"), 1},
                           {QStringLiteral("day"), platform::isoDate(f.day)},
                           {QStringLiteral("gos"), s.gos},
                           {QStringLiteral("portsInService"), s.ports},
                           {QStringLiteral("portsInServiceFrom"),
                            s.portsFromUser ? QStringLiteral("user") : QStringLiteral("calls")},
                           {QStringLiteral("busyHour"), busyHour},
                           {QStringLiteral("portsNeeded"), s.portsNeeded},
                           {QStringLiteral("capacityErlangs"), s.capacityErlangs},
                           {QStringLiteral("headroomErlangs"), s.headroomErlangs},
                           {QStringLiteral("headroomPercent"), s.headroomPercent},
                           {QStringLiteral("portsToAdd"), s.portsToAdd},
                           {QStringLiteral("predictedBlocking"), s.predictedBlocking},
                           {QStringLiteral("measuredBlocking"), s.measuredBlocking},
                           {QStringLiteral("allPortsBusy"), allPortsBusy},
                           {QStringLiteral("peakLinesInUse"), f.peakLinesInUse},
                           {QStringLiteral("peakConcurrentCalls"), f.peakConcurrentCalls},
                           {QStringLiteral("callsWithoutEnd"), f.callsWithoutEnd}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

SummaryTable capacitySummary(const CapacityFigures& f) {
    SummaryTable table;
    SummaryLayout& layout = table.layout;
    layout.columns.append({QStringLiteral("Start"), 900, QStringLiteral("Start")});
    layout.csvHeader = QStringLiteral("Row,Start");
    layout.csvValueKeys << QStringLiteral("Start");
    for (store::CallType type : kCapacityOrder) {
        const QString key = QLatin1String(kErlangColumns[store::typeIndex(type)]);
        const QString header = QLatin1String(store::info(type).label);
        layout.columns.append({key, 1500, header});
        layout.csvHeader += QLatin1Char(',') + header;
        layout.csvValueKeys << key;
    }
    layout.columns.append({QStringLiteral("TotalErlangs"), 1200, QStringLiteral("Total Erlangs")});
    layout.columns.append(
        {QStringLiteral("AtbSeconds"), 1500, QStringLiteral("All Ports Busy (s)")});
    layout.csvHeader += QStringLiteral(",Total Erlangs,All Ports Busy Seconds");
    layout.csvValueKeys << QStringLiteral("TotalErlangs") << QStringLiteral("AtbSeconds");
    layout.filePrefix = QStringLiteral("CapacitySummary_");
    for (int q = 0; q < kQuarterHours; ++q) {
        QStringList row{quarterStart(q)};
        for (store::CallType type : kCapacityOrder)
            row << fixed(f.erlangs(q, store::typeIndex(type)), 4);
        row << fixed(f.erlangs(q), 4) << QString::number(f.atbSeconds[static_cast<std::size_t>(q)]);
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
        for (int q = 0; q < kQuarterHours; ++q) {
            const double value = f.erlangs(q, store::typeIndex(type));
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
    return {{{QStringLiteral("Ports in service (%1)").arg(s.ports), static_cast<double>(s.ports)},
             {QStringLiteral("Capacity at %1 (%2)")
                  .arg(percentText(s.gos), erlangText(s.capacityErlangs)),
              s.capacityErlangs}}};
}

} // namespace tarrow::reports
