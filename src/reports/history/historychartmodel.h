#pragma once

#include "charts/chartmodel.h"
#include "reports/history/historysummary.h"

#include <QDate>
#include <QString>

#include <vector>

namespace tarrow::reports {

// The History chart over the calendar days: each day's offered traffic in the
// time-consistent busy hour (the days sized apart from the others), the trend
// with its 95 % band, the capacity at the target, the run-out interval shaded
// with its likely day marked, and the daily all-ports-busy seconds as bars on
// a second axis. `target` names the blocking in the legend.
[[nodiscard]] charts::ChartModel historyChartModel(const std::vector<HistoryDay>& days,
                                                   const HistorySummary& summary,
                                                   const QString& target);

// Where a day sits on the chart's X axis, and the day nearest to a point of it.
[[nodiscard]] double historyChartX(const QDate& day);
[[nodiscard]] QDate historyChartDay(double x);

} // namespace tarrow::reports
