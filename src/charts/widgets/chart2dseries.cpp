// The chart adapter's Qt side: its state drawn as Qt Charts series and axes.
#include "charts/widgets/chart2d.h"

#include "charts/axisticks.h"
#include "charts/widgets/chart2dstyle.h"

#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace tarrow::charts {

using chart2d::arial;
using chart2d::index;
using chart2d::seriesColor;

void Chart2D::rebuildSeries() {
    // Series are rebuilt only when their number or kind changes; data updates
    // replace the points in place.
    chart_->removeAllSeries();
    // A legend below the chart shares its width among the entries and cuts
    // their names; more than six entries stand in a column beside it.
    const auto entries = labels_.size() + (band_ ? 1 : 0);
    chart_->legend()->setAlignment(entries > 6 ? Qt::AlignRight : Qt::AlignBottom);
    series_.clear();
    addLegendTitle();
    bars_ = drawsBars();
    if (bars_) {
        auto* bars = new QBarSeries;
        for (std::size_t s = 0; s < ys_.size(); ++s) {
            if (!shown_[s])
                continue;
            auto* set = new QBarSet(labels_.value(static_cast<qsizetype>(s)));
            set->setPen(Qt::NoPen);
            set->setColor(seriesColorOf(s));
            bars->append(set);
        }
        bars->setBarWidth(0.8);
        series_.append(bars);
    } else {
        addBand();
        for (std::size_t s = 0; s < ys_.size(); ++s)
            series_.append(lineOrArea(s));
    }
    for (QAbstractSeries* series : series_) {
        chart_->addSeries(series);
        series->attachAxis(axisX_);
        series->attachAxis(axisY_);
    }
    updateData();
}

QAbstractSeries* Chart2D::lineOrArea(std::size_t s) {
    const QColor color = seriesColorOf(s);
    QAbstractSeries* made = nullptr;
    if (s < kinds_.size() && kinds_[s] == SeriesKind::Stacked) {
        // The area owns its two edges; the chart deletes the area.
        auto* upper = new QLineSeries;
        auto* lower = new QLineSeries;
        auto* area = new QAreaSeries(upper, lower);
        upper->setParent(area);
        lower->setParent(area);
        QColor fill = color;
        fill.setAlpha(190);
        area->setBrush(fill);
        area->setPen(QPen(color.darker(120), 1));
        made = area;
    } else {
        auto* line = new QLineSeries;
        QPen pen(color, 1.5);
        if (s < kinds_.size() && kinds_[s] == SeriesKind::Level) {
            pen.setWidthF(2);
            pen.setStyle(Qt::DashLine);
        }
        line->setPen(pen);
        made = line;
    }
    made->setName(labels_.value(static_cast<qsizetype>(s)));
    made->setVisible(shown_[s]);
    return made;
}

void Chart2D::addBand() {
    bandSeries_ = nullptr;
    if (!band_)
        return;
    auto* upper = new QLineSeries;
    auto* lower = new QLineSeries;
    bandSeries_ = new QAreaSeries(upper, lower);
    upper->setParent(bandSeries_);
    lower->setParent(bandSeries_);
    bandSeries_->setName(band_->label);
    bandSeries_->setBrush(QColor(255, 220, 120, 110));
    bandSeries_->setPen(Qt::NoPen);
    chart_->addSeries(bandSeries_);
    bandSeries_->attachAxis(axisX_);
    bandSeries_->attachAxis(axisY_);
}

void Chart2D::updateBand() {
    if (!bandSeries_ || !band_)
        return;
    const double top = GetAxisMax(Y);
    bandSeries_->upperSeries()->replace({QPointF(band_->from, top), QPointF(band_->to, top)});
    bandSeries_->lowerSeries()->replace({QPointF(band_->from, 0), QPointF(band_->to, 0)});
}

void Chart2D::updateData() {
    if (bars_) {
        auto* bars = static_cast<QBarSeries*>(series_.value(0));
        if (!bars)
            return;
        int set = 0;
        for (std::size_t s = 0; s < ys_.size(); ++s) {
            if (!shown_[s])
                continue;
            QList<qreal> values(ys_[s].begin(), ys_[s].end());
            QBarSet* barSet = bars->barSets().value(set++);
            barSet->remove(0, barSet->count());
            barSet->append(values);
        }
        return;
    }
    // Stacked series stand on the shown stacked series before them.
    std::vector<double> base(xs_.size(), 0.0);
    for (std::size_t s = 0; s < ys_.size() && static_cast<qsizetype>(s) < series_.size(); ++s) {
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(xs_.size()));
        QAbstractSeries* drawn = series_[static_cast<qsizetype>(s)];
        if (drawn->type() != QAbstractSeries::SeriesTypeArea) {
            for (std::size_t p = 0; p < xs_.size(); ++p)
                points.append(QPointF(xs_[p], ys_[s][p]));
            static_cast<QLineSeries*>(drawn)->replace(points);
            continue;
        }
        QList<QPointF> bottom;
        bottom.reserve(static_cast<qsizetype>(xs_.size()));
        for (std::size_t p = 0; p < xs_.size(); ++p) {
            bottom.append(QPointF(xs_[p], base[p]));
            points.append(QPointF(xs_[p], base[p] + ys_[s][p]));
            if (shown_[s])
                base[p] += ys_[s][p];
        }
        auto* area = static_cast<QAreaSeries*>(drawn);
        area->upperSeries()->replace(points);
        area->lowerSeries()->replace(bottom);
    }
}

double Chart2D::autoYMax() const {
    double most = 0;
    for (const auto& ys : ys_)
        for (double y : ys)
            most = std::max(most, y);
    // Stacked series reach as high as their shown sum.
    for (std::size_t p = 0; p < xs_.size(); ++p) {
        double stack = 0;
        for (std::size_t s = 0; s < ys_.size(); ++s)
            if (s < kinds_.size() && kinds_[s] == SeriesKind::Stacked && shown_[s])
                stack += ys_[s][p];
        most = std::max(most, stack);
    }

    // Round up to a readable scale: 1, 2 or 5 times a power of ten, with a
    // little headroom above the highest value.
    const double target = std::max(1.0, most * 1.05);
    const double magnitude = std::pow(10.0, std::floor(std::log10(target)));
    for (double step : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (step * magnitude >= target)
            return step * magnitude;
    return 10 * magnitude;
}

double Chart2D::barOffset() const {
    return bars_ && !xs_.empty() ? xs_.front() : 0.0;
}

void Chart2D::updateAxes() {
    const double offset = barOffset();
    const double pad = bars_ ? 0.5 : 0.0;
    axisX_->setRange(axisMin(X) - offset - pad, GetAxisMax(X) - offset + pad);
    axisY_->setRange(axisMin(Y), GetAxisMax(Y));
    // Lines at readable steps, with the decimals a small scale needs (a chart
    // of 2 E reads 0, 0.5, 1, ... rather than 0, 0, 1, 1, ...).
    const AxisTicks ticks = readableTicks(axisMin(Y), GetAxisMax(Y));
    axisY_->setTickCount(ticks.steps + 1);
    axisY_->setLabelFormat(QStringLiteral("%.") + QString::number(ticks.decimals) +
                           QLatin1Char('f'));
    updateBand();
    updateXLabels();
}

void Chart2D::updateXLabels() {
    // Keep only the labels inside the visible range, and thin them so they
    // never overlap: at most one label per 40 pixels of plot width.
    for (const QString& label : axisX_->categoriesLabels())
        axisX_->remove(label);
    const double lo = axisMin(X);
    const double hi = GetAxisMax(X);
    QList<QPair<double, QString>> labels;
    if (annotateX_ || !xValueLabels_.isEmpty()) {
        for (const auto& label : xValueLabels_)
            if (label.first >= lo - 1e-9 && label.first <= hi + 1e-9)
                labels.append(label);
    }
    const int room = std::max(2, static_cast<int>(chart_->plotArea().width() / 40));
    const qsizetype step = std::max<qsizetype>(1, (labels.size() + room - 1) / room);
    const double offset = barOffset();
    axisX_->setStartValue(lo - offset - (bars_ ? 0.5 : 0.0));
    for (qsizetype i = 0; i < labels.size(); i += step)
        axisX_->append(labels[i].second, labels[i].first - offset);
}

} // namespace tarrow::charts
