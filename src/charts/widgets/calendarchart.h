#pragma once

#include "charts/chartmodel.h"

class QChart;

namespace tarrow::charts {

// A chart over calendar days drawn with the toolkit's charts: points, lines
// (dashed where asked), bands, bars on the second axis and shaded stretches
// the full height of the Y axis, in the model's order; a date axis below, the
// Y axis on the left and the second axis on the right. The caller owns it.
[[nodiscard]] QChart* calendarChart(const ChartModel& model);

} // namespace tarrow::charts
