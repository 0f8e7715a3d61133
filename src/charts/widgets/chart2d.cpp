#include "charts/widgets/chart2d.h"

#include "platform/fileoutput.h"

#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QDir>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace tarrow::charts {

namespace {

QFont arial(int pointSize, bool bold = false) {
    QFont font(QStringLiteral("Arial"), pointSize);
    font.setBold(bold);
    // No ligatures: a chart saved as SVG or PDF keeps "Traffic" searchable.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

std::size_t index(int oneBased) {
    return static_cast<std::size_t>(oneBased - 1);
}

// Each series keeps its colour whether drawn as a line or a bar, and whether or
// not the series before it are shown.
QColor seriesColor(std::size_t series) {
    static const QColor kColors[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28),
                                     QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e),
                                     QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                                     QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f)};
    return kColors[series % (sizeof kColors / sizeof kColors[0])];
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
            renderVector(painter, QRectF(rect()));
            if (!painter.end())
                return platform::Result::failure(
                    QStringLiteral("The drawing could not be written."));
            return platform::Result();
        });
    const QImage image = grab().toImage();
    return platform::saveDrawnAtomically(path, [&](QIODevice& file) {
        if (image.isNull() || !image.save(&file, format == kPng ? "PNG" : "BMP"))
            return platform::Result::failure(
                QStringLiteral("The chart picture could not be written."));
        return platform::Result();
    });
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
            set->setColor(seriesColor(s));
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
    const QColor color = seriesColor(s);
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
    axisY_->setTickCount(6);
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
