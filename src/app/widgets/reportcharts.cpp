#include "app/widgets/reportcharts.h"

#include "charts/widgets/chart2d.h"
#include "charts/widgets/chartbuilder.h"

namespace tarrow::app {

namespace {

// The size of a report window's chart area when the window opens.
constexpr QSize kPictureSize(700, 420);

} // namespace

ChartWriter chartPictureWriter() {
    return [](const reports::ReportEntry&, const charts::ChartModel& chart, ChartFormat format,
              const QString& path) {
        const int drawn = format == ChartFormat::Png   ? charts::Chart2D::kPng
                          : format == ChartFormat::Svg ? charts::Chart2D::kSvg
                                                       : charts::Chart2D::kBitmap;
        return charts::drawChartToFile(chart, kPictureSize, drawn, path);
    };
}

} // namespace tarrow::app
