#include "reports/history/widgets/historychart.h"

#include "charts/widgets/calendarchart.h"

namespace tarrow::reports {

QChart* historyChart(const std::vector<HistoryDay>& days, const HistorySummary& summary,
                     const QString& target) {
    return charts::calendarChart(historyChartModel(days, summary, target));
}

} // namespace tarrow::reports
