#include "charts/widgets/chartbuilder.h"

#include "charts/widgets/chart2d.h"

#include <QCoreApplication>

namespace tarrow::charts {

void applyChartModel(Chart2D& chart, const ChartModel& model) {
    chart.setStyle(model.style);
    QStringList labels;
    std::vector<QColor> colors;
    for (const ChartSeries& series : model.series) {
        labels << series.label;
        colors.push_back(series.color);
    }
    chart.setSeriesLabels(labels);
    chart.setSeriesColors(colors);
    chart.setAxisTitle(Chart2D::X, model.xTitle);
    chart.setAxisTitle(Chart2D::Y, model.yTitle);
    chart.setLegendTitle(model.legendTitle);
    chart.SetHeaderText(model.header);
    chart.ShowHeader(true);
    const auto seriesCount = static_cast<int>(model.series.size());
    const auto points = static_cast<int>(model.xs.size());
    chart.SetSeriesCount(seriesCount);
    for (int s = 1; s <= seriesCount; ++s)
        chart.setSeriesKind(s, model.series[static_cast<std::size_t>(s - 1)].kind);
    chart.setBand(model.band);
    for (int s = 1; s <= seriesCount; ++s)
        chart.SetPointCount(s, points);
    for (int p = 1; p <= points; ++p) {
        const auto i = static_cast<std::size_t>(p - 1);
        chart.SetX(1, p, model.xs[i]);
        for (int s = 1; s <= seriesCount; ++s)
            chart.SetY(s, p, model.series[static_cast<std::size_t>(s - 1)].values[i]);
    }
    chart.SetAnnotationMode(Chart2D::X, 2);
    chart.ClearValueLabels(Chart2D::X);
    for (const auto& [position, text] : model.xLabels)
        chart.AddValueLabel(Chart2D::X, position, text);
    chart.SetAxisMin(Chart2D::X, model.xMin);
    chart.SetAxisMax(Chart2D::X, model.xMax);
    if (model.yMax)
        chart.SetAxisMax(Chart2D::Y, *model.yMax);
}

void layOutOffscreen(QWidget& widget, QSize size) {
    widget.setAttribute(Qt::WA_DontShowOnScreen);
    widget.resize(size);
    widget.show();
    QCoreApplication::processEvents();
}

std::unique_ptr<Chart2D> offscreenChart(const ChartModel& model, QSize size) {
    auto chart = std::make_unique<Chart2D>();
    chart->SetBatchMode(true);
    applyChartModel(*chart, model);
    chart->SetBatchMode(false);
    layOutOffscreen(*chart, size);
    return chart;
}

std::future<platform::Result> drawChartToFile(const ChartModel& model, QSize size, int format,
                                              const QString& path) {
    const std::unique_ptr<Chart2D> chart = offscreenChart(model, size);
    if (format == Chart2D::kSvg) {
        std::promise<platform::Result> drawn;
        drawn.set_value(chart->DrawToFile(path, format));
        return drawn.get_future();
    }
    return std::async(std::launch::async, [image = chart->picture(), path, format] {
        return Chart2D::savePicture(image, path, format);
    });
}

} // namespace tarrow::charts
