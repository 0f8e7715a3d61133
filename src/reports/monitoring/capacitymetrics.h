#pragma once

#include "platform/result.h"
#include "reports/capacity/sizing.h"
#include "reports/history/historysummary.h"
#include "reports/monitoring/metricstext.h"

#include <QDateTime>

namespace tarrow::reports {

// One day's capacity figures and their sizing, labelled with the day (and
// the target blocking where the figure depends on it).
void addCapacityMetrics(MetricsText& metrics, const CapacityFigures& figures, const Sizing& sizing);

// A history's across-day figures: the demand and capacity sized, the status,
// the time to the likely run-out from the last day, labelled with the target.
void addHistoryMetrics(MetricsText& metrics, const std::vector<HistoryDay>& days,
                       const HistorySummary& summary);

// "tarrow_last_success_timestamp_seconds": when the run that wrote the file
// finished its figures, for alerts on a stale file.
void addSuccessTime(MetricsText& metrics, const QDateTime& now);

// Stamps the figures with the success time (now) and writes them to path
// through the atomic save: the file is replaced whole or stays as it was.
platform::Result saveMetricsFile(const QString& path, MetricsText metrics);

} // namespace tarrow::reports
