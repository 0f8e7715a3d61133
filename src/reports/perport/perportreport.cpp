#include "reports/perport/perportreport.h"

#include "load/loadedday.h"
#include "store/perporttables.h"
#include "store/workingdatabase.h"

#include <QLocale>

#include <algorithm>

namespace tarrow::reports {

PerPortResult computePerPort(store::WorkingDatabase& database, const load::LoadedDay& day,
                             PerPortReport report, int startMinute, int endMinute,
                             const BeforeCompute& before) {
    const int peakPort = day.peakPort;
    if (before)
        before(peakPort);
    PerPortResult result;
    result.ports.resize(static_cast<std::size_t>(std::max(0, peakPort)));
    const bool timeUse = report == PerPortReport::PortTimeUse;
    // Minutes compared as seconds: started at or after the first second of
    // startMinute, ended before the first second after endMinute.
    const int firstSecond = startMinute * 60;
    const int pastLastSecond = (endMinute + 1) * 60;
    for (const store::RawRow& row : day.rows) {
        if (!row.closed || row.startSecond < firstSecond || row.endSecond >= pastLastSecond)
            continue;
        result.highestPortInRange = std::max<int>(result.highestPortInRange, row.port);
        if (!store::isCallType(row.callType) || row.port < 1 || row.port > peakPort)
            continue;
        if (timeUse && row.seconds < 0)
            continue;
        PortFigures& port = result.ports[static_cast<std::size_t>(row.port - 1)];
        const std::size_t t = store::typeIndex(row.callType);
        ++port.calls[t];
        port.seconds[t] += row.seconds;
    }
    store::storePerPortTable(database,
                             timeUse ? store::PerPortTable::PortTimeUsage
                                     : store::PerPortTable::CallDistribution,
                             result.ports);
    return result;
}

namespace {

// The per-port summary grid's columns, CSV header and default file name.
SummaryLayout perPortLayout(PerPortReport report) {
    const bool timeUse = report == PerPortReport::PortTimeUse;
    SummaryLayout layout;
    layout.columns = {
        {QStringLiteral("Port"), 465, QStringLiteral("Port")},
        {QStringLiteral("InboundCalls"), timeUse ? 1725 : 1140,
         timeUse ? QStringLiteral("Inbound Call Seconds") : QStringLiteral("Inbound Calls")},
        {QStringLiteral("MWIDialouts"), timeUse ? 1695 : 1110,
         timeUse ? QStringLiteral("MWI Dialout Seconds") : QStringLiteral("MWI Dialouts")},
        {QStringLiteral("NotificationDialouts"), timeUse ? 2160 : 1500,
         timeUse ? QStringLiteral("Notification Dialout Seconds")
                 : QStringLiteral("Notification Dialouts")},
        {QStringLiteral("TRAPDialouts"), timeUse ? 1785 : 1140,
         timeUse ? QStringLiteral("TRAP Dailout Seconds") : QStringLiteral("TRAP Dailouts")},
        {QStringLiteral("AMISDialouts"), 960,
         timeUse ? QStringLiteral("AMIS Dialout Seconds") : QStringLiteral("AMIS Dialouts")}};
    layout.csvHeader =
        timeUse ? QStringLiteral("Port, Inbound Call Seconds, MWI Dialout Seconds, Notification "
                                 "Dialout Seconds, TRAP Dialout Seconds, AMIS Dialout Seconds")
                : QStringLiteral("Port, Inbound Calls, MWI Dialouts, Notification Dialouts, TRAP "
                                 "Dialouts, AMIS Dialouts");
    layout.csvValueKeys = callTypeKeys();
    layout.filePrefix = timeUse ? QStringLiteral("PortTimeUseSummary_")
                                : QStringLiteral("CallDistributionSummary_");
    return layout;
}

} // namespace

SummaryTable perPortSummary(store::WorkingDatabase& database, PerPortReport report) {
    const bool timeUse = report == PerPortReport::PortTimeUse;
    SummaryTable t;
    t.layout = perPortLayout(report);
    const QList<QStringList> byPort =
        store::readPerPortTable(database, timeUse ? store::PerPortTable::PortTimeUsage
                                                  : store::PerPortTable::CallDistribution);
    const auto rows = static_cast<int>(byPort.size());
    const QString where =
        timeUse ? QStringLiteral("PortTimeUsage") : QStringLiteral("Call Distribution");
    for (int r = 1; r <= rows; ++r) {
        QStringList cells{QString::number(r)};
        if (byPort[r - 1].isEmpty())
            t.notices << QStringLiteral("Error, could not find port #%1 in the %2 database.")
                             .arg(r)
                             .arg(where);
        else
            cells << byPort[r - 1];
        t.rows.append(cells);
    }
    return t;
}

namespace {

// The locale's long time (with seconds), without a time-zone name.
QString longTime(const QTime& time) {
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale().toString(time, format.trimmed());
}

charts::ChartModel perPortChart(PerPortReport report, const PerPortResult& result) {
    const bool timeUse = report == PerPortReport::PortTimeUse;
    charts::ChartModel model;
    model.style = charts::ChartStyle::Bars;
    model.xTitle = QStringLiteral("Ports");
    model.yTitle = timeUse ? QStringLiteral("Time (seconds)") : QStringLiteral("Number of Calls");
    const std::size_t points = result.ports.size();
    for (std::size_t p = 0; p < points; ++p) {
        model.xs.push_back(static_cast<double>(p + 1));
        model.xLabels.append({static_cast<double>(p + 1), QString::number(p + 1)});
    }
    for (store::CallType type : store::kReadingOrder) {
        charts::ChartSeries series;
        series.label = timeUse && type == store::Inbound ? QStringLiteral("Incoming Calls")
                                                         : QLatin1String(store::info(type).label);
        const std::size_t t = store::typeIndex(type);
        for (const PortFigures& port : result.ports)
            series.values.push_back(timeUse ? port.seconds[t] : static_cast<double>(port.calls[t]));
        model.series.push_back(std::move(series));
    }
    // The whole range: every port from 1, or every port at zero when the range
    // holds no call.
    const int highest = result.highestPortInRange;
    model.xMin = highest >= 1 || points > 0 ? 1 : 0;
    model.xMax = highest >= 1 ? 1 + highest : static_cast<double>(points) + 1;
    return model;
}

} // namespace

ReportOutput perPortReport(PerPortReport report, const ReportInput& input) {
    const PerPortResult result =
        computePerPort(input.database, input.day, report, input.range.startMinute(),
                       input.range.endMinute(), input.before);
    ReportOutput out;
    out.summary = perPortSummary(input.database, report);
    out.chart = perPortChart(report, result);
    out.chart.header =
        (report == PerPortReport::PortTimeUse ? QStringLiteral("Port Time Usage Report for ")
                                              : QStringLiteral("Call Distribution Report for ")) +
        longDate(input.day.dataDate.date()) + QStringLiteral("\r\nFrom ") +
        longTime(input.range.from) + QStringLiteral(" to ") + longTime(input.range.to);
    out.highestPortInRange = result.highestPortInRange;
    return out;
}

} // namespace tarrow::reports
