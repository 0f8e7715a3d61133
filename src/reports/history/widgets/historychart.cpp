#include "reports/history/widgets/historychart.h"

#include "platform/isodate.h"

#include <QAreaSeries>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace tarrow::reports {

namespace {

constexpr qint64 kDayMs = 86'400'000;
const QColor kTraffic(0x1f, 0x5f, 0xa8);
const QColor kCapacity(0x1a, 0x6b, 0x2a);
const QColor kTrend(0x80, 0x80, 0x80);
const QColor kRunOut(0xb0, 0x00, 0x00);
const QColor kAllBusy(0xe0, 0x80, 0x30, 0x90);

// A round top for an axis: 1, 2 or 5 times a power of ten, above the value.
double niceTop(double value) {
    if (value <= 0)
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (double step : {1.0, 2.0, 5.0, 10.0})
        if (step * power >= value)
            return step * power;
    return 10 * power;
}

QLineSeries* line(const QString& name, const QColor& color, Qt::PenStyle style, qreal width) {
    auto* series = new QLineSeries;
    series->setName(name);
    QPen pen(color);
    pen.setStyle(style);
    pen.setWidthF(width);
    series->setPen(pen);
    return series;
}

} // namespace

qreal historyChartX(const QDate& day) {
    // A day stands at its noon in UTC: the axis labels it in local time, and
    // noon is the same date in every zone, whatever the clock does.
    return static_cast<qreal>(QDateTime(day, QTime(12, 0), Qt::UTC).toMSecsSinceEpoch());
}

QDate historyChartDay(qreal x) {
    const auto days = static_cast<qint64>(std::floor(x / kDayMs));
    return QDate(1970, 1, 1).addDays(days);
}

namespace {

// The last day the chart shows: the last day, or the run-out interval's end.
QDate lastShown(const std::vector<HistoryDay>& days, const HistorySummary& s) {
    QDate last = days.back().day;
    if (s.runOut)
        for (const std::optional<QDate>& day :
             {s.runOut->earliest, s.runOut->likely, s.runOut->latest})
            if (day)
                last = std::max(last, *day);
    return last;
}

QScatterSeries* points(const QString& name, const QColor& color, qreal size) {
    auto* series = new QScatterSeries;
    series->setName(name);
    series->setColor(color);
    series->setBorderColor(color.darker());
    series->setMarkerSize(size);
    return series;
}

// Builds the chart series by series; the Erlang axis's top grows with what
// is drawn.
class HistoryChartBuilder {
public:
    HistoryChartBuilder(const std::vector<HistoryDay>& days, const HistorySummary& s, QChart& chart)
        : days_(days), s_(s), chart_(chart), first_(days.front().day), last_(lastShown(days, s)),
          top_(s.capacityErlangs) {}

    // Each day's offered traffic (the days sized apart) and its all-busy bar.
    void days() {
        sized_ = points(QStringLiteral("Days sized"), kTraffic, 9);
        others_ = points(QStringLiteral("Other days"), kTraffic.lighter(170), 7);
        sized_->setObjectName(QStringLiteral("OfferedDaysSized"));
        others_->setObjectName(QStringLiteral("OfferedOtherDays"));
        auto* barsTop = new QLineSeries;
        for (std::size_t d = 0; d < days_.size(); ++d) {
            const HistoryDay& day = days_[d];
            const qreal x = historyChartX(day.day);
            if (d < s_.offered.size() && s_.offered[d]) {
                (s_.basis[d] ? sized_ : others_)->append(x, *s_.offered[d]);
                top_ = std::max(top_, *s_.offered[d]);
            }
            mostBusy_ = std::max(mostBusy_, day.atbSeconds);
            // Each day's bar: up at a fifth of a day before it, down a fifth after.
            const auto seconds = static_cast<qreal>(day.atbSeconds);
            *barsTop << QPointF(x - kDayMs / 5.0, 0) << QPointF(x - kDayMs / 5.0, seconds)
                     << QPointF(x + kDayMs / 5.0, seconds) << QPointF(x + kDayMs / 5.0, 0);
        }
        allBusy_ = new QAreaSeries(barsTop);
        allBusy_->setName(QStringLiteral("All busy (s)"));
        allBusy_->setColor(kAllBusy);
        allBusy_->setBorderColor(kAllBusy.darker());
        chart_.addSeries(allBusy_);
    }

    // The run-out interval, shaded from its earliest to its latest day up to
    // the top of the axis (set once the top is known).
    void runOutInterval() {
        if (!s_.runOut || !s_.runOut->earliest)
            return;
        const QDate end = s_.runOut->latest ? *s_.runOut->latest : last_;
        intervalTop_ = new QLineSeries;
        *intervalTop_ << QPointF(historyChartX(*s_.runOut->earliest) - kDayMs / 2.0, 0)
                      << QPointF(historyChartX(end) + kDayMs / 2.0, 0);
        auto* interval = new QAreaSeries(intervalTop_);
        interval->setName(QStringLiteral("Run-out"));
        interval->setColor(QColor(0xb0, 0x00, 0x00, 0x28));
        interval->setBorderColor(Qt::transparent);
        add(interval);
    }

    void capacity(const QString& target) {
        auto* level = line(QStringLiteral("Capacity: %1 ports at %2").arg(s_.ports).arg(target),
                           kCapacity, Qt::SolidLine, 2);
        *level << QPointF(historyChartX(first_), s_.capacityErlangs)
               << QPointF(historyChartX(last_), s_.capacityErlangs);
        add(level);
    }

    // The trend with its 95 % band, a point a day, and the likely run-out day.
    void trend() {
        if (!s_.trend)
            return;
        const Trend& trend = *s_.trend;
        auto* trendLine = line(QStringLiteral("Trend"), kTrend, Qt::DashLine, 1.5);
        auto* bandTop = new QLineSeries;
        auto* bandBottom = new QLineSeries;
        for (QDate day = first_; day <= last_; day = day.addDays(1)) {
            const auto t = static_cast<double>(s_.trendOrigin.daysTo(day));
            const qreal x = historyChartX(day);
            *trendLine << QPointF(x, trend.at(t));
            *bandTop << QPointF(x, trend.at(t) + trend.halfBand(t));
            *bandBottom << QPointF(x, std::max(0.0, trend.at(t) - trend.halfBand(t)));
            top_ = std::max(top_, trend.at(t) + trend.halfBand(t));
        }
        auto* band = new QAreaSeries(bandTop, bandBottom);
        band->setName(QStringLiteral("95 % band"));
        band->setColor(QColor(0x80, 0x80, 0x80, 0x40));
        band->setBorderColor(Qt::transparent);
        add(band);
        add(trendLine);
        if (s_.runOut && s_.runOut->likely) {
            auto* runOut =
                points(QStringLiteral("Run out: %1").arg(platform::isoDate(*s_.runOut->likely)),
                       kRunOut, 12);
            runOut->append(historyChartX(*s_.runOut->likely), s_.capacityErlangs);
            add(runOut);
        }
    }

    // The dots on top, then the axes.
    void finish() {
        add(others_);
        add(sized_);
        auto* xAxis = new QDateTimeAxis;
        xAxis->setFormat(first_.daysTo(last_) > 300 ? QStringLiteral("yyyy-MM")
                                                    : QStringLiteral("MM-dd"));
        xAxis->setTitleText(QStringLiteral("Day"));
        xAxis->setTickCount(static_cast<int>(std::clamp<qint64>(first_.daysTo(last_) + 1, 2, 10)));
        xAxis->setRange(
            QDateTime::fromMSecsSinceEpoch(qint64(historyChartX(first_)) - kDayMs / 2, Qt::UTC),
            QDateTime::fromMSecsSinceEpoch(qint64(historyChartX(last_)) + kDayMs / 2, Qt::UTC));
        const double top = niceTop(top_ * 1.1);
        if (intervalTop_)
            for (int i = 0; i < intervalTop_->count(); ++i)
                intervalTop_->replace(i, intervalTop_->at(i).x(), top);
        auto* erlangs = valueAxis(QStringLiteral("Erlangs"), top);
        auto* seconds = valueAxis(QStringLiteral("All ports busy (s)"),
                                  niceTop(static_cast<double>(mostBusy_) * 1.1));
        chart_.addAxis(xAxis, Qt::AlignBottom);
        chart_.addAxis(erlangs, Qt::AlignLeft);
        chart_.addAxis(seconds, Qt::AlignRight);
        for (QAbstractSeries* series : chart_.series())
            series->attachAxis(xAxis);
        for (QAbstractSeries* series : left_)
            series->attachAxis(erlangs);
        allBusy_->attachAxis(seconds);
    }

private:
    void add(QAbstractSeries* series) {
        chart_.addSeries(series);
        left_ << series;
    }
    static QValueAxis* valueAxis(const QString& title, double top) {
        auto* axis = new QValueAxis;
        axis->setTitleText(title);
        axis->setRange(0, top);
        axis->applyNiceNumbers();
        axis->setLabelFormat(QStringLiteral("%g"));
        return axis;
    }

    const std::vector<HistoryDay>& days_;
    const HistorySummary& s_;
    QChart& chart_;
    QDate first_;
    QDate last_;
    double top_;
    qint64 mostBusy_ = 0;
    QScatterSeries* sized_ = nullptr;
    QScatterSeries* others_ = nullptr;
    QAreaSeries* allBusy_ = nullptr;
    QLineSeries* intervalTop_ = nullptr;
    QList<QAbstractSeries*> left_; // on the Erlang axis
};

} // namespace

QChart* historyChart(const std::vector<HistoryDay>& days, const HistorySummary& summary,
                     const QString& target) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Offered traffic in the time-consistent busy hour"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    if (days.empty())
        return chart;
    HistoryChartBuilder build(days, summary, *chart);
    build.days();
    build.runOutInterval();
    build.capacity(target);
    build.trend();
    build.finish();
    return chart;
}

} // namespace tarrow::reports
