#include "reports/timeofday/calltraffic.h"

#include "load/loadedday.h"
#include "reports/timeofday/hourlysummary.h"
#include "reports/timeofday/timeofdaychart.h"

namespace tarrow::reports {

QStringList callTrafficColumns() {
    QStringList columns;
    for (store::CallType type : store::kStoredOrder)
        columns << QLatin1String(store::info(type).countColumn);
    return columns;
}

namespace {

ResultTable compute(const std::vector<store::RawRow>& rows) {
    ResultTable table = store::minuteTable(QStringLiteral("CallTraffic"), callTrafficColumns());
    // The column of each call type, looked up once rather than per row.
    std::array<std::vector<qint64>*, store::kCallTypeCount> columnOf{};
    for (const store::CallTypeInfo& type : store::kCallTypes)
        columnOf[store::typeIndex(type.type)] =
            &table.values[static_cast<std::size_t>(trafficColumn(type.type))];
    for (const store::RawRow& row : rows) {
        if (row.startMinute() < 1 || row.startMinute() > kMinutesPerDay ||
            !store::isCallType(row.callType))
            continue;
        ++(*columnOf[store::typeIndex(row.callType)])[static_cast<std::size_t>(row.startMinute() -
                                                                               1)];
    }
    return table;
}

} // namespace

ResultTable callTrafficTable(const load::LoadedDay& day) {
    return compute(day.rows);
}

ReportDocument callTrafficDocument(const ResultTable& table, const load::LoadedDay& day,
                                   const ReportParams& params) {
    ReportDocument doc = documentOf(ReportId::CallTraffic, day.dataDate.date(), params);
    doc.summary = callTrafficSummary(table);
    std::vector<MinuteSeries> series;
    for (store::CallType type : store::kTrafficSeriesOrder)
        series.push_back({QLatin1String(store::info(type).label), trafficColumn(type),
                          charts::callTypeColour(store::typeIndex(type))});
    doc.chart = timeOfDayChart(table, series);
    doc.chart.header = QStringLiteral("Call Traffic Report for ") + longDate(doc.day);
    doc.chart.yTitle = QStringLiteral("Number of Calls");
    doc.table = table;
    return doc;
}

ReportDocument callTrafficReport(const load::LoadedDay& day, const ReportParams& params) {
    return callTrafficDocument(callTrafficTable(day), day, params);
}

} // namespace tarrow::reports
