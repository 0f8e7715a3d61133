#include "reports/perport/perportreport.h"

#include "load/loadedday.h"

#include <QLocale>

#include <algorithm>

namespace tarrow::reports {

PerPortResult computePerPort(const load::LoadedDay& day, PerPortReport report, int startMinute,
                             int endMinute) {
    const int peakPort = day.peakPort;
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
    return result;
}

ResultTable perPortTable(PerPortReport report, const std::vector<PortFigures>& ports) {
    const bool timeUse = report == PerPortReport::PortTimeUse;
    ResultTable table;
    table.name = timeUse ? QStringLiteral("PortTimeUsage") : QStringLiteral("CallDistribution");
    table.key = QStringLiteral("Port");
    for (store::CallType type : store::kStoredOrder) {
        const std::size_t t = store::typeIndex(type);
        table.columns << QLatin1String(store::info(type).countColumn);
        table.real.push_back(false);
        table.values.emplace_back();
        for (const PortFigures& port : ports)
            table.values.back().push_back(port.calls[t]);
        if (!timeUse)
            continue;
        table.columns << QLatin1String(store::info(type).secondsColumn);
        table.real.push_back(true);
        table.values.emplace_back();
        for (const PortFigures& port : ports)
            table.values.back().push_back(port.seconds[t]);
    }
    return table;
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

SummaryTable perPortSummary(PerPortReport report, const std::vector<PortFigures>& ports) {
    const bool timeUse = report == PerPortReport::PortTimeUse;
    SummaryTable t;
    t.layout = perPortLayout(report);
    int number = 0;
    for (const PortFigures& port : ports) {
        QStringList cells{QString::number(++number)};
        for (store::CallType type : store::kReadingOrder) {
            const std::size_t c = store::typeIndex(type);
            cells << QString::number(timeUse ? port.seconds[c] : port.calls[c]);
        }
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
        series.color = charts::callTypeColour(store::typeIndex(type));
        series.label = timeUse && type == store::Inbound ? QStringLiteral("Incoming Calls")
                                                         : QLatin1String(store::info(type).label);
        const std::size_t t = store::typeIndex(type);
        for (const PortFigures& port : result.ports)
            series.values.push_back(static_cast<double>(timeUse ? port.seconds[t] : port.calls[t]));
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

ReportDocument perPortReport(PerPortReport report, const load::LoadedDay& day,
                             const ReportParams& params) {
    const PerPortResult result =
        computePerPort(day, report, params.range.startMinute(), params.range.endMinute());
    ReportDocument doc = documentOf(
        report == PerPortReport::PortTimeUse ? ReportId::PortTimeUse : ReportId::CallDistribution,
        day.dataDate.date(), params);
    doc.table = perPortTable(report, result.ports);
    doc.summary = perPortSummary(report, result.ports);
    doc.chart = perPortChart(report, result);
    doc.chart.header =
        (report == PerPortReport::PortTimeUse ? QStringLiteral("Port Time Usage Report for ")
                                              : QStringLiteral("Call Distribution Report for ")) +
        longDate(doc.day) + QStringLiteral("\r\nFrom ") + longTime(params.range.from) +
        QStringLiteral(" to ") + longTime(params.range.to);
    doc.highestPortInRange = result.highestPortInRange;
    return doc;
}

} // namespace tarrow::reports
