#pragma once

#include "charts/chartmodel.h"
#include "platform/result.h"

#include <QSize>
#include <QString>

namespace tarrow::charts {

class Chart2D;

// Draws a chart model through the chart's operations: its series, axes,
// labels, header and style. The one way any chart of a report gets drawn; in
// batch mode the chart draws once when the caller ends it.
void applyChartModel(Chart2D& chart, const ChartModel& model);

// Draws a chart model off screen at the given size into a picture file:
// format 1 a Windows bitmap, 2 a PNG image. Needs a QApplication.
platform::Result drawChartToFile(const ChartModel& model, QSize size, int format,
                                 const QString& path);

} // namespace tarrow::charts
