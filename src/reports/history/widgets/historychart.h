#pragma once

#include "reports/history/historysummary.h"

#include <QDate>
#include <QString>

#include <vector>

class QChart;

namespace tarrow::reports {

// The History chart over the calendar days: the daily busy-hour traffic, the
// capacity of the ports in service at the target, the trend drawn on to the
// day the ports run out (marked with its date), and the daily all-ports-busy
// seconds as bars on a second axis. `target` names the blocking in the legend.
[[nodiscard]] QChart* historyChart(const std::vector<HistoryDay>& days,
                                   const HistorySummary& summary, const QString& target);

// Where a day sits on the chart's X axis, and the day nearest to a point of it.
[[nodiscard]] qreal historyChartX(const QDate& day);
[[nodiscard]] QDate historyChartDay(qreal x);

} // namespace tarrow::reports
