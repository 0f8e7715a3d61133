#include "reports/timeofday/hourlysummary.h"

#include "reports/timeofday/calltraffic.h"
#include "reports/timeofday/portavailability.h"

#include <algorithm>

namespace tarrow::reports {

namespace {

// Hour cells and non-negative figures of the grid carry one leading blank.
QString padded(qint64 value) {
    return value >= 0 ? QLatin1Char(' ') + QString::number(value) : QString::number(value);
}

} // namespace

SummaryTable portAvailabilitySummary(const ResultTable& pa) {
    SummaryTable t;
    t.layout.columns = {
        {QStringLiteral("Hour"), 675, QStringLiteral("Hour")},
        {QStringLiteral("MaxPortsInUse"), 2010, QStringLiteral("Maximum Ports In Use")},
        {QStringLiteral("minPortsAvailableToTakeCalls"), 2595,
         QStringLiteral("Min Ports Available To Take Calls")}};
    t.layout.csvHeader =
        QStringLiteral("Hour, Max ports in use, Minimum ports available to take calls");
    t.layout.csvValueKeys = {QStringLiteral("MaxPortsInUse"),
                             QStringLiteral("MinPortsAvailableToTakeCalls")};
    t.layout.filePrefix = QStringLiteral("PortAvailabilitySummary_");
    for (int h = 1; h <= 24; ++h) {
        qint64 most = 0;
        qint64 fewest = 1000;
        for (int m = std::max(1, (h - 1) * 60); m < h * 60; ++m) {
            fewest = std::min(fewest, pa.at(MinLinesAvailable, m));
            most = std::max(most, pa.at(MaxLinesInUse, m));
        }
        t.rows.append({padded(h), padded(most), padded(fewest)});
    }
    return t;
}

SummaryTable callTrafficSummary(const ResultTable& ct) {
    SummaryTable t;
    t.layout.columns = {
        {QStringLiteral("Hour"), 510, QStringLiteral("Hour")},
        {QStringLiteral("InboundCalls"), 1140, QStringLiteral("Inbound Calls")},
        {QStringLiteral("MWIDialouts"), 1110, QStringLiteral("MWI Dialouts")},
        {QStringLiteral("NotificationDialouts"), 1500, QStringLiteral("Notification Dialouts")},
        {QStringLiteral("TRAPDialouts"), 1140, QStringLiteral("TRAP Dailouts")},
        {QStringLiteral("AMISDialouts"), 960, QStringLiteral("AMIS Dialouts")}};
    t.layout.csvHeader = QStringLiteral(
        "Hour, Inbound Calls, MWI Dialouts, Notification Dialouts, TRAP Dialouts, AMIS Dialouts");
    t.layout.csvValueKeys = callTypeKeys();
    t.layout.filePrefix = QStringLiteral("CallTrafficSummary_");
    for (int h = 0; h < 24; ++h) {
        QStringList row{padded(h + 1)};
        for (store::CallType type : store::kReadingOrder) {
            const int column = trafficColumn(type);
            qint64 sum = 0;
            for (int m = h * 60 + 1; m <= h * 60 + 60; ++m)
                sum += ct.at(column, m);
            row << QString::number(sum);
        }
        t.rows.append(row);
    }
    return t;
}

} // namespace tarrow::reports
