#pragma once

#include "reports/history/historychartmodel.h"

class QChart;

namespace tarrow::reports {

// The History chart drawn (see historyChartModel); the caller owns it.
[[nodiscard]] QChart* historyChart(const std::vector<HistoryDay>& days,
                                   const HistorySummary& summary, const QString& target);

} // namespace tarrow::reports
