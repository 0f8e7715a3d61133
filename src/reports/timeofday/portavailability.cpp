#include "reports/timeofday/portavailability.h"

#include "load/loadedday.h"
#include "reports/timeofday/hourlysummary.h"
#include "reports/timeofday/timeofdaychart.h"

#include <algorithm>

namespace tarrow::reports {

namespace {

ResultTable compute(const std::vector<store::RawRow>& rows, std::int16_t peakAvailable,
                    bool& noActivity) {
    constexpr qint64 kNone = -1;
    std::vector<qint64> available(kMinutesPerDay + 1, kNone);
    std::vector<qint64> busy(kMinutesPerDay + 1, kNone);
    // Every row is a sample, call start or disconnect alike: the fewest lines
    // available (never above 999) and the most ports busy (never below 0).
    for (const store::RawRow& row : rows) {
        if (row.startMinute() < 1 || row.startMinute() > kMinutesPerDay)
            continue;
        const auto m = static_cast<std::size_t>(row.startMinute());
        if (busy[m] == kNone) {
            busy[m] = 0;
            available[m] = 999;
        }
        busy[m] = std::max<qint64>(busy[m], row.linesInUse);
        available[m] = std::min<qint64>(available[m], row.linesAvailable);
    }
    // All lines are free before the first and after the last sample.
    const auto idle = [&](int m) {
        busy[static_cast<std::size_t>(m)] = 0;
        available[static_cast<std::size_t>(m)] = peakAvailable;
    };
    int last = kMinutesPerDay;
    while (last >= 1 && busy[static_cast<std::size_t>(last)] == kNone)
        idle(last--);
    noActivity = last < 1;
    for (int m = 1; m <= last && busy[static_cast<std::size_t>(m)] == kNone; ++m)
        idle(m);
    // Between samples, a minute holds the figures of the last minute that had some.
    for (int m = 2; m <= kMinutesPerDay; ++m) {
        if (busy[static_cast<std::size_t>(m)] == kNone) {
            busy[static_cast<std::size_t>(m)] = busy[static_cast<std::size_t>(m - 1)];
            available[static_cast<std::size_t>(m)] = available[static_cast<std::size_t>(m - 1)];
        }
    }
    ResultTable table =
        store::minuteTable(QStringLiteral("PortAvailability"), portAvailabilityColumns());
    table.values = {std::vector<qint64>(available.begin() + 1, available.end()),
                    std::vector<qint64>(busy.begin() + 1, busy.end())};
    return table;
}

} // namespace

QStringList portAvailabilityColumns() {
    return {QStringLiteral("MinLinesAvailableToTakeCalls"), QStringLiteral("MaxLinesInUse")};
}

ResultTable portAvailabilityTable(const load::LoadedDay& day, bool* noActivity) {
    bool none = false;
    ResultTable table = compute(day.rows, day.peakAvailable, none);
    if (noActivity)
        *noActivity = none;
    return table;
}

ReportDocument portAvailabilityDocument(const ResultTable& table, const load::LoadedDay& day,
                                        const ReportParams& params) {
    ReportDocument doc = documentOf(ReportId::PortAvailability, day.dataDate.date(), params);
    doc.summary = portAvailabilitySummary(table);
    doc.chart =
        timeOfDayChart(table, {{QStringLiteral("Lines available to take calls"), MinLinesAvailable},
                               {QStringLiteral("Ports currently busy"), MaxLinesInUse}});
    doc.chart.header = QStringLiteral("Port Availability Report for ") + longDate(doc.day);
    doc.chart.yTitle = QStringLiteral("Ports Available Or In Use");
    doc.chart.legendTitle = QStringLiteral("Legend");
    doc.table = table;
    return doc;
}

ReportDocument portAvailabilityReport(const load::LoadedDay& day, const ReportParams& params) {
    bool noActivity = false;
    ReportDocument doc =
        portAvailabilityDocument(portAvailabilityTable(day, &noActivity), day, params);
    if (noActivity)
        doc.notes << noActivityMessage();
    return doc;
}

QString noActivityMessage() {
    return QStringLiteral("No call activity found in log!");
}

} // namespace tarrow::reports
