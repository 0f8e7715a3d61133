#pragma once

#include "charts/chartmodel.h"
#include "platform/result.h"

#include <QSize>
#include <QString>

#include <future>
#include <memory>

class QWidget;

namespace tarrow::charts {

class Chart2D;

// Draws a chart model through the chart's operations: its series, axes,
// labels, header and style. The one way any chart of a report gets drawn; in
// batch mode the chart draws once when the caller ends it.
void applyChartModel(Chart2D& chart, const ChartModel& model);

// Lays a widget out off screen at the given size, so it can be drawn into a
// picture, drawing or page without ever showing. Needs a QApplication.
void layOutOffscreen(QWidget& widget, QSize size);

// A chart of the model laid out off screen at the given size, ready to be
// drawn into a picture, drawing or page. Needs a QApplication.
[[nodiscard]] std::unique_ptr<Chart2D> offscreenChart(const ChartModel& model, QSize size);

// Draws a chart model off screen at the given size into a picture file in a
// format of Chart2D::DrawToFile. Needs a QApplication. The chart is drawn on
// the calling thread; a bitmap or PNG is encoded and written on a thread of
// its own, so the next chart is drawn meanwhile: the result comes when it is
// written.
[[nodiscard]] std::future<platform::Result> drawChartToFile(const ChartModel& model, QSize size,
                                                            int format, const QString& path);

} // namespace tarrow::charts
