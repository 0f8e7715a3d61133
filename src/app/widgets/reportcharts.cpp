#include "app/widgets/reportcharts.h"

#include "charts/widgets/chartbuilder.h"

namespace tarrow::app {

namespace {

// The size of a report window's chart area when the window opens.
constexpr QSize kPictureSize(700, 420);

} // namespace

ChartWriter chartPictureWriter() {
    return [](const reports::ReportEntry&, const charts::ChartModel& chart, ChartFormat format,
              const QString& path) {
        return charts::drawChartToFile(chart, kPictureSize, format == ChartFormat::Png ? 2 : 1,
                                       path);
    };
}

} // namespace tarrow::app
