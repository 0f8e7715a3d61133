#include "charts/widgets/chart2d.h"

#include "charts/widgets/chart2dstyle.h"
#include "platform/fileoutput.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace tarrow::charts {

using chart2d::arial;
using chart2d::index;
using chart2d::seriesColor;

namespace {

// A line's points within [lo, hi] on X, with its crossings of either edge
// added, so the line stops where the plot does.
QList<QPointF> clippedToX(const QList<QPointF>& points, double lo, double hi) {
    const auto at = [](QPointF a, QPointF b, double x) {
        return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
    };
    QList<QPointF> kept;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QPointF p = points[i];
        if (i > 0) {
            const QPointF q = points[i - 1];
            if (q.x() < lo && p.x() > lo)
                kept << at(q, p, lo);
            if (q.x() < hi && p.x() > hi)
                kept << at(q, p, hi);
        }
        if (p.x() >= lo && p.x() <= hi)
            kept << p;
    }
    return kept;
}

// Lines with the points they hold.
using SavedLines = std::vector<std::pair<QXYSeries*, QList<QPointF>>>;

// The lines of a chart (areas' edges included), each with its points.
SavedLines linesOf(QChart& chart) {
    SavedLines lines;
    for (QAbstractSeries* series : chart.series()) {
        if (auto* area = qobject_cast<QAreaSeries*>(series)) {
            for (QXYSeries* edge : {static_cast<QXYSeries*>(area->upperSeries()),
                                    static_cast<QXYSeries*>(area->lowerSeries())})
                if (edge)
                    lines.emplace_back(edge, edge->points());
        } else if (auto* line = qobject_cast<QXYSeries*>(series)) {
            lines.emplace_back(line, line->points());
        }
    }
    return lines;
}

} // namespace

Chart2D::Chart2D(QWidget* parent)
    // The view is given its chart at once: a view made without one makes a
    // default chart of its own, which setChart would leave behind undeleted.
    : QChartView(new QChart, parent), chart_(QChartView::chart()), axisX_(new QCategoryAxis),
      axisY_(new QValueAxis) {
    setObjectName(QStringLiteral("Chart2D1"));
    setRenderHint(QPainter::Antialiasing, false);
    chart_->setFont(arial(9));
    chart_->setTitleFont(arial(11, true));
    chart_->legend()->setFont(arial(9));
    chart_->legend()->setAlignment(Qt::AlignBottom);
    chart_->setAnimationOptions(QChart::NoAnimation);
    for (QAbstractAxis* axis :
         {static_cast<QAbstractAxis*>(axisX_), static_cast<QAbstractAxis*>(axisY_)}) {
        axis->setLabelsFont(arial(8));
        axis->setTitleFont(arial(9, true));
    }
    axisX_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axisX_->setTruncateLabels(false);
    axisY_->setLabelFormat(QStringLiteral("%.0f"));
    axisY_->setTruncateLabels(false);
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
}

Chart2D::~Chart2D() = default;

void Chart2D::setSeriesLabels(const QStringList& labels) {
    labels_ = labels;
    changed(true);
}

void Chart2D::setSeriesLabel(int series, const QString& label) {
    if (series < 1 || series > labels_.size())
        return;
    labels_[series - 1] = label;
    // A line or area keeps its own name; bars are rebuilt from the labels.
    if (!bars_ && series <= series_.size())
        series_[series - 1]->setName(label);
    else
        changed(true);
}

void Chart2D::setAxisTitle(Axis axis, const QString& title) {
    (axis == X ? static_cast<QAbstractAxis*>(axisX_) : axisY_)->setTitleText(title);
}

void Chart2D::setLegendTitle(const QString& title) {
    legendTitle_ = title;
    changed(true);
}

QString Chart2D::legendTitle() const {
    return legendTitle_;
}

void Chart2D::addLegendTitle() {
    // Qt Charts legends have no title: an empty series whose legend entry has
    // no marker and a bold label stands first in the legend instead.
    if (legendTitle_.isEmpty())
        return;
    auto* title = new QLineSeries;
    title->setName(legendTitle_);
    title->setPen(QPen(Qt::transparent));
    title->setColor(Qt::transparent);
    chart_->addSeries(title);
    title->attachAxis(axisX_);
    title->attachAxis(axisY_);
    for (QLegendMarker* marker : chart_->legend()->markers(title)) {
        marker->setBrush(Qt::transparent);
        marker->setPen(QPen(Qt::transparent));
        marker->setShape(QLegend::MarkerShapeRectangle);
        marker->setFont(arial(9, true));
    }
}

void Chart2D::setSeriesKind(int series, SeriesKind kind) {
    if (series < 1)
        return;
    if (kinds_.size() < index(series) + 1)
        kinds_.resize(index(series) + 1, SeriesKind::Plain);
    kinds_[index(series)] = kind;
    changed(true);
}

SeriesKind Chart2D::seriesKind(int series) const {
    return series >= 1 && index(series) < kinds_.size() ? kinds_[index(series)] : SeriesKind::Plain;
}

void Chart2D::setBand(const std::optional<ChartBand>& band) {
    band_ = band;
    changed(true);
}

double Chart2D::stackedTop(int series, int point) const {
    if (series < 1 || index(series) >= ys_.size() || point < 1 || index(point) >= xs_.size())
        return 0.0;
    if (seriesKind(series) != SeriesKind::Stacked)
        return ys_[index(series)][index(point)];
    double top = 0;
    for (int s = 1; s <= series; ++s)
        if (seriesKind(s) == SeriesKind::Stacked && (s == series || shown_[index(s)]))
            top += ys_[index(s)][index(point)];
    return top;
}

void Chart2D::SetBatchMode(bool on) {
    // Batches nest: a scroll handler's batch inside a window's load draws
    // nothing until the load's batch ends.
    batch_ = on ? batch_ + 1 : std::max(0, batch_ - 1);
    if (batch_ == 0)
        flush();
}

void Chart2D::setStyle(ChartStyle style) {
    style_ = style;
    changed(true);
}

void Chart2D::SetSeriesCount(int count) {
    ys_.resize(static_cast<std::size_t>(std::max(0, count)), std::vector<double>(xs_.size(), 0.0));
    shown_.resize(ys_.size(), true);
    kinds_.resize(ys_.size(), SeriesKind::Plain);
    changed(true);
}

void Chart2D::SetPointCount(int, int count) {
    const auto n = static_cast<std::size_t>(std::max(0, count));
    xs_.resize(n, 0.0);
    for (auto& ys : ys_)
        ys.resize(n, 0.0);
    changed(true);
}

void Chart2D::SetX(int, int point, double value) {
    if (point < 1 || index(point) >= xs_.size())
        return;
    xs_[index(point)] = value;
    changed();
}

void Chart2D::SetY(int series, int point, double value) {
    if (series < 1 || index(series) >= ys_.size() || point < 1 || index(point) >= xs_.size())
        return;
    ys_[index(series)][index(point)] = value;
    changed();
}

void Chart2D::SetSeriesDisplay(int series, int code) {
    if (series < 1 || index(series) >= shown_.size())
        return;
    shown_[index(series)] = code != 3;
    if (static_cast<qsizetype>(index(series)) < series_.size() && !bars_) {
        series_[static_cast<qsizetype>(index(series))]->setVisible(shown_[index(series)]);
        // The stacked bands above a hidden one move down onto what is left.
        if (std::find(kinds_.begin(), kinds_.end(), SeriesKind::Stacked) != kinds_.end())
            changed();
    } else {
        changed(true);
    }
}

void Chart2D::SetAxisMin(Axis axis, double value) {
    (axis == X ? xMin_ : yMin_) = value;
    changed();
}

void Chart2D::SetAxisMax(Axis axis, double value) {
    (axis == X ? xMax_ : yMax_) = value;
    changed();
}

double Chart2D::GetAxisMax(Axis axis) const {
    if (axis == X)
        return xMax_ ? *xMax_ : (xs_.empty() ? 0.0 : *std::max_element(xs_.begin(), xs_.end()));
    return yMax_ ? *yMax_ : autoYMax();
}

double Chart2D::axisMin(Axis axis) const {
    if (axis == X)
        return xMin_ ? *xMin_ : (xs_.empty() ? 0.0 : *std::min_element(xs_.begin(), xs_.end()));
    return yMin_ ? *yMin_ : 0.0;
}

void Chart2D::SetGridAuto(Axis axis) {
    (axis == X ? static_cast<QAbstractAxis*>(axisX_) : axisY_)->setGridLineVisible(true);
}

void Chart2D::SetAnnotationMode(Axis axis, int code) {
    if (axis == X)
        annotateX_ = code == 2;
    changed();
}

void Chart2D::AddValueLabel(Axis axis, double position, const QString& text) {
    if (axis == X)
        xValueLabels_.append({position, text});
    changed();
}

void Chart2D::ClearValueLabels(Axis axis) {
    if (axis == X)
        xValueLabels_.clear();
    changed();
}

void Chart2D::SetHeaderText(const QString& text) {
    header_ = text;
    chart_->setTitle(headerShown_
                         ? QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("<br>"))
                         : QString());
}

void Chart2D::ShowHeader(bool on) {
    headerShown_ = on;
    SetHeaderText(header_);
}

void Chart2D::renderVector(QPainter& painter, const QRectF& target) {
    flush();
    render(&painter, target, rect(), Qt::KeepAspectRatio);
}

platform::Result Chart2D::DrawToFile(const QString& path, int format) {
    flush();
    if (format == kSvg)
        return platform::saveDrawnAtomically(path, [&](QIODevice& file) {
            QSvgGenerator svg;
            svg.setOutputDevice(&file);
            svg.setSize(size());
            svg.setViewBox(rect());
            svg.setTitle(header_.split(QStringLiteral("\r\n")).constFirst());
            QPainter painter;
            if (!painter.begin(&svg))
                return platform::Result::failure(
                    QStringLiteral("The drawing could not be started."));
            // An SVG drawing keeps no clip, so a zoomed chart's lines are cut
            // at the plot's edges here and put back whole after drawing.
            const SavedLines lines = bars_ ? SavedLines() : linesOf(*chart_);
            for (const auto& [line, points] : lines)
                line->replace(clippedToX(points, axisMin(X), axisMax(X)));
            renderVector(painter, QRectF(rect()));
            for (const auto& [line, points] : lines)
                line->replace(points);
            if (!painter.end())
                return platform::Result::failure(
                    QStringLiteral("The drawing could not be written."));
            return platform::Result();
        });
    return savePicture(picture(), path, format);
}

QImage Chart2D::picture() {
    flush();
    return grab().toImage();
}

platform::Result Chart2D::savePicture(const QImage& image, const QString& path, int format) {
    // Charts are flat colours: zlib's fastest level (the toolkit's quality
    // 89) packs them a tenth larger than its default, in half the time.
    constexpr int kFastPng = 89;
    return platform::saveDrawnAtomically(path, [&](QIODevice& file) {
        if (image.isNull() ||
            !image.save(&file, format == kPng ? "PNG" : "BMP", format == kPng ? kFastPng : -1))
            return platform::Result::failure(
                QStringLiteral("The chart picture could not be written."));
        return platform::Result();
    });
}

void Chart2D::setSeriesColors(const std::vector<QColor>& colors) {
    colors_ = colors;
}

QColor Chart2D::seriesColorOf(std::size_t series) const {
    return series < colors_.size() && colors_[series].isValid() ? colors_[series]
                                                                : seriesColor(series);
}

double Chart2D::xValue(int point) const {
    return point >= 1 && index(point) < xs_.size() ? xs_[index(point)] : 0.0;
}

double Chart2D::yValue(int series, int point) const {
    if (series < 1 || index(series) >= ys_.size() || point < 1 || index(point) >= xs_.size())
        return 0.0;
    return ys_[index(series)][index(point)];
}

bool Chart2D::seriesShown(int series) const {
    return series >= 1 && index(series) < shown_.size() && shown_[index(series)];
}

QList<QPair<double, QString>> Chart2D::valueLabels(Axis axis) const {
    return axis == X ? xValueLabels_ : QList<QPair<double, QString>>{};
}

QStringList Chart2D::visibleXLabels() const {
    return axisX_->categoriesLabels();
}

bool Chart2D::drawsBars() const {
    return style_ == ChartStyle::Bars && !xs_.empty();
}

void Chart2D::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    updateXLabels();
}

void Chart2D::changed(bool structure) {
    structureDirty_ = structureDirty_ || structure;
    dataDirty_ = true;
    if (!batch_)
        flush();
}

void Chart2D::flush() {
    if (structureDirty_)
        rebuildSeries();
    else if (dataDirty_)
        updateData();
    updateAxes();
    structureDirty_ = dataDirty_ = false;
}

} // namespace tarrow::charts
