#include "reports/timeofday/calltraffic.h"

#include "load/loadedday.h"
#include "reports/timeofday/hourlysummary.h"
#include "reports/timeofday/timeofdaychart.h"

namespace tarrow::reports {

namespace {

QStringList storedColumns() {
    QStringList columns;
    for (store::CallType type : store::kStoredOrder)
        columns << QLatin1String(store::info(type).countColumn);
    return columns;
}

MinuteTable compute(const std::vector<store::RawRow>& rows) {
    MinuteTable table;
    table.columns = storedColumns();
    table.values.assign(store::kCallTypeCount, std::vector<qint64>(kMinutesPerDay, 0));
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

CallTrafficResult computeCallTraffic(store::WorkingDatabase& database, const load::LoadedDay& day,
                                     const BeforeCompute& before) {
    CallTrafficResult result;
    result.table = ensureMinuteTable(
        database, QStringLiteral("CallTraffic"), storedColumns(),
        [&] {
            if (before)
                before(kMinutesPerDay);
            return compute(day.rows);
        },
        &result.computed);
    return result;
}

ReportOutput callTrafficReport(const ReportInput& input) {
    const MinuteTable table = computeCallTraffic(input.database, input.day, input.before).table;
    ReportOutput out;
    out.summary = callTrafficSummary(table);
    std::vector<MinuteSeries> series;
    for (store::CallType type : store::kTrafficSeriesOrder)
        series.push_back({QLatin1String(store::info(type).label), trafficColumn(type)});
    out.chart = timeOfDayChart(table, series);
    out.chart.header =
        QStringLiteral("Call Traffic Report for ") + longDate(input.day.dataDate.date());
    out.chart.yTitle = QStringLiteral("Number of Calls");
    return out;
}

} // namespace tarrow::reports
