#pragma once

#include "charts/chartmodel.h"
#include "reports/reportdocument.h"

#include <QColor>

#include <vector>

namespace tarrow::reports {

struct MinuteSeries {
    QString label;
    int column;     // the result column drawn
    QColor color{}; // a call type's own colour; none: the series' place in the palette
};

// A per-minute table as a line chart over the whole day: X is the minute 1 to
// 1440, one series per given column, times labelled every three hours.
[[nodiscard]] charts::ChartModel timeOfDayChart(const ResultTable& table,
                                                const std::vector<MinuteSeries>& series);

// The X labels of a time-of-day chart showing span minutes: every three hours
// over the whole day, closer together when zoomed in, so a one-hour view
// still reads its times.
[[nodiscard]] QList<QPair<double, QString>> timeLabels(int span);

} // namespace tarrow::reports
