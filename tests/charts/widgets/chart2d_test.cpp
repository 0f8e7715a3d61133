#include "charts/chartmodel.h"
#include "charts/widgets/chart2d.h"
#include "charts/widgets/chartbuilder.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <malloc.h>

namespace tarrow::charts {
namespace {

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

ChartModel dayModel() {
    ChartModel model;
    model.header = QStringLiteral("Call Traffic");
    for (int m = 0; m < 1440; ++m)
        model.xs.push_back(m);
    for (int s = 0; s < 5; ++s) {
        ChartSeries series;
        series.label = QStringLiteral("Series %1").arg(s);
        for (int m = 0; m < 1440; ++m)
            series.values.push_back((m * (s + 1)) % 17);
        model.series.push_back(series);
    }
    model.xMin = 0;
    model.xMax = 1439;
    return model;
}

TEST(Chart2DMemory, AChartFreesEverythingItMade) {
    const ChartModel model = dayModel();
    const auto makeAndDrop = [&model] {
        Chart2D chart;
        chart.resize(800, 500);
        chart.SetBatchMode(true);
        applyChartModel(chart, model);
        chart.SetBatchMode(false);
    };
    for (int i = 0; i < 5; ++i) // the toolkit's own caches fill first
        makeAndDrop();
    QCoreApplication::processEvents();
    const std::size_t before = heapInUse();
    for (int i = 0; i < 40; ++i)
        makeAndDrop();
    QCoreApplication::processEvents();
    const auto grown = static_cast<long long>(heapInUse()) - static_cast<long long>(before);
    EXPECT_LT(grown, 200 * 1024) << "bytes kept after 40 charts came and went";
}

} // namespace
} // namespace tarrow::charts
