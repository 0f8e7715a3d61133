#include "charts/widgets/calendarchart.h"

#include <QAreaSeries>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

namespace tarrow::charts {

namespace {

QLineSeries* lineOf(const ChartSeries& s) {
    auto* line = new QLineSeries;
    for (std::size_t i = 0; i < s.values.size() && i < s.xs.size(); ++i)
        line->append(s.xs[i], s.values[i]);
    return line;
}

QAbstractSeries* points(const ChartSeries& s) {
    auto* series = new QScatterSeries;
    for (std::size_t i = 0; i < s.values.size() && i < s.xs.size(); ++i)
        series->append(s.xs[i], s.values[i]);
    series->setColor(s.color);
    series->setBorderColor(s.color.darker());
    series->setMarkerSize(s.size);
    return series;
}

QAbstractSeries* line(const ChartSeries& s) {
    QLineSeries* series = lineOf(s);
    QPen pen(s.color);
    pen.setStyle(s.dashed ? Qt::DashLine : Qt::SolidLine);
    pen.setWidthF(s.size);
    series->setPen(pen);
    return series;
}

QAreaSeries* area(QLineSeries* upper, QLineSeries* lower, const QColor& color, bool border) {
    auto* series = new QAreaSeries(upper, lower);
    series->setColor(color);
    series->setBorderColor(border ? color.darker() : QColor(Qt::transparent));
    return series;
}

// Each bar: up half its width before its X, down half its width after.
QAbstractSeries* bars(const ChartSeries& s) {
    auto* top = new QLineSeries;
    for (std::size_t i = 0; i < s.values.size() && i < s.xs.size(); ++i)
        *top << QPointF(s.xs[i] - s.size, 0) << QPointF(s.xs[i] - s.size, s.values[i])
             << QPointF(s.xs[i] + s.size, s.values[i]) << QPointF(s.xs[i] + s.size, 0);
    return area(top, nullptr, s.color, true);
}

QAbstractSeries* band(const ChartSeries& s) {
    ChartSeries lower = s;
    lower.values = s.lower;
    return area(lineOf(s), lineOf(lower), s.color, false);
}

// From the first X to the last, the full height of the Y axis.
QAbstractSeries* shade(const ChartSeries& s, double top) {
    ChartSeries full = s;
    std::fill(full.values.begin(), full.values.end(), top);
    return area(lineOf(full), nullptr, s.color, false);
}

QAbstractSeries* seriesOf(const ChartSeries& s, double top) {
    switch (s.kind) {
    case SeriesKind::Points:
        return points(s);
    case SeriesKind::Band:
        return band(s);
    case SeriesKind::Bars:
        return bars(s);
    case SeriesKind::Shade:
        return shade(s, top);
    default:
        return line(s);
    }
}

QValueAxis* valueAxis(const QString& title, double top) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(0, top);
    axis->applyNiceNumbers();
    axis->setLabelFormat(QStringLiteral("%g"));
    return axis;
}

} // namespace

QChart* calendarChart(const ChartModel& model) {
    auto* chart = new QChart;
    chart->setTitle(model.header);
    chart->legend()->setAlignment(Qt::AlignBottom);
    if (model.series.empty())
        return chart;
    const double top = model.yMax.value_or(1);
    auto* days = new QDateTimeAxis;
    days->setFormat(model.dateFormat);
    days->setTitleText(model.xTitle);
    days->setTickCount(std::max(2, model.xTicks));
    days->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(model.xMin), Qt::UTC),
                   QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(model.xMax), Qt::UTC));
    QValueAxis* left = valueAxis(model.yTitle, top);
    QValueAxis* right = valueAxis(model.y2Title, model.y2Max > 0 ? model.y2Max : 1);
    chart->addAxis(days, Qt::AlignBottom);
    chart->addAxis(left, Qt::AlignLeft);
    chart->addAxis(right, Qt::AlignRight);
    for (const ChartSeries& s : model.series) {
        QAbstractSeries* series = seriesOf(s, top);
        series->setName(s.label);
        series->setObjectName(s.name);
        chart->addSeries(series);
        series->attachAxis(days);
        series->attachAxis(s.secondAxis ? right : left);
    }
    return chart;
}

} // namespace tarrow::charts
