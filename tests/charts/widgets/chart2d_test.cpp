#include "charts/chartmodel.h"
#include "charts/widgets/chart2d.h"
#include "charts/widgets/chartbuilder.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTemporaryDir>

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

// An SVG of a chart zoomed to an hour keeps its lines inside the plot: the
// drawing has no clip of its own, so points beyond the axis would otherwise
// be drawn over the axis titles.
TEST(Chart2DDrawing, AZoomedSvgKeepsItsLinesInThePlot) {
    const auto drawn = offscreenChart(dayModel(), QSize(800, 500));
    Chart2D& chart = *drawn;
    chart.SetAxisMin(Chart2D::X, 600);
    chart.SetAxisMax(Chart2D::X, 660);
    QCoreApplication::processEvents();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zoomed.svg"));
    ASSERT_TRUE(chart.DrawToFile(path, Chart2D::kSvg).ok());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(file.readAll());
    const QRectF plot = chart.chart()->plotArea();
    const QString stroke = chart.seriesColorOf(0).name();
    // A series' lines are polylines in a group of its colour, drawn from the
    // group's offset.
    const QRegularExpression group(
        QStringLiteral("stroke=\"%1\"[^>]*transform=\"matrix\\(1,0,0,1,([-\\d.]+),[-\\d.]+\\)\"[^>]"
                       "*>((\\s*<polyline[^>]*>)*)")
            .arg(stroke));
    const QRegularExpression points(QStringLiteral("points=\"([^\"]*)\""));
    int lines = 0;
    for (auto match = group.globalMatch(svg); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        const double offset = found.captured(1).toDouble();
        for (auto line = points.globalMatch(found.captured(2)); line.hasNext();) {
            ++lines;
            for (const QString& point :
                 line.next().captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const double x = offset + point.section(QLatin1Char(','), 0, 0).toDouble();
                EXPECT_GE(x, plot.left() - 1) << point.toStdString();
                EXPECT_LE(x, plot.right() + 1) << point.toStdString();
            }
        }
    }
    EXPECT_GE(lines, 1) << svg.left(3000).toStdString();
    // The chart on screen still holds the whole day.
    EXPECT_EQ(chart.pointCount(), 1440);
}

} // namespace
} // namespace tarrow::charts
