#include "reports/history/historychartmodel.h"

#include "platform/isodate.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace tarrow::reports {

namespace {

using charts::ChartSeries;
using charts::SeriesKind;

constexpr double kDayMs = 86'400'000;
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

ChartSeries series(const QString& label, SeriesKind kind, const QColor& color, double size) {
    ChartSeries s;
    s.label = label;
    s.kind = kind;
    s.color = color;
    s.size = size;
    return s;
}

void add(ChartSeries& s, double x, double y) {
    s.xs.push_back(x);
    s.values.push_back(y);
}

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

// Builds the series in drawing order; the Erlang axis's top grows with what
// is drawn.
class HistoryModelBuilder {
public:
    HistoryModelBuilder(const std::vector<HistoryDay>& days, const HistorySummary& s)
        : days_(days), s_(s), first_(days.front().day), last_(lastShown(days, s)),
          top_(s.capacityErlangs) {}

    // Each day's all-busy bar, and its offered traffic (the days sized apart).
    void days() {
        ChartSeries bars =
            series(QStringLiteral("All busy (s)"), SeriesKind::Bars, kAllBusy, kDayMs / 5.0);
        bars.secondAxis = true;
        sized_ = series(QStringLiteral("Days sized"), SeriesKind::Points, kTraffic, 9);
        sized_.name = QStringLiteral("OfferedDaysSized");
        others_ =
            series(QStringLiteral("Other days"), SeriesKind::Points, kTraffic.lighter(170), 7);
        others_.name = QStringLiteral("OfferedOtherDays");
        for (std::size_t d = 0; d < days_.size(); ++d) {
            const double x = historyChartX(days_[d].day);
            if (d < s_.offered.size() && s_.offered[d]) {
                add(s_.basis[d] ? sized_ : others_, x, *s_.offered[d]);
                top_ = std::max(top_, *s_.offered[d]);
            }
            add(bars, x, static_cast<double>(days_[d].atbSeconds));
            mostBusy_ = std::max(mostBusy_, days_[d].atbSeconds);
        }
        model_.series.push_back(std::move(bars));
    }

    // The run-out interval, shaded from its earliest to its latest day.
    void runOutInterval() {
        if (!s_.runOut || !s_.runOut->earliest)
            return;
        const QDate end = s_.runOut->latest ? *s_.runOut->latest : last_;
        ChartSeries shade =
            series(QStringLiteral("Run-out"), SeriesKind::Shade, QColor(0xb0, 0x00, 0x00, 0x28), 0);
        add(shade, historyChartX(*s_.runOut->earliest) - kDayMs / 2.0, 0);
        add(shade, historyChartX(end) + kDayMs / 2.0, 0);
        model_.series.push_back(std::move(shade));
    }

    void capacity(const QString& target) {
        ChartSeries level =
            series(QStringLiteral("Capacity: %1 ports at %2").arg(s_.ports).arg(target),
                   SeriesKind::Plain, kCapacity, 2);
        add(level, historyChartX(first_), s_.capacityErlangs);
        add(level, historyChartX(last_), s_.capacityErlangs);
        model_.series.push_back(std::move(level));
    }

    // The trend with its 95 % band, a point a day, and the likely run-out day.
    void trend() {
        if (!s_.trend)
            return;
        const Trend& trend = *s_.trend;
        ChartSeries line = series(QStringLiteral("Trend"), SeriesKind::Plain, kTrend, 1.5);
        line.dashed = true;
        ChartSeries band = series(QStringLiteral("95 % band"), SeriesKind::Band,
                                  QColor(0x80, 0x80, 0x80, 0x40), 0);
        for (QDate day = first_; day <= last_; day = day.addDays(1)) {
            const auto t = static_cast<double>(s_.trendOrigin.daysTo(day));
            const double x = historyChartX(day);
            add(line, x, trend.at(t));
            add(band, x, trend.at(t) + trend.halfBand(t));
            band.lower.push_back(std::max(0.0, trend.at(t) - trend.halfBand(t)));
            top_ = std::max(top_, trend.at(t) + trend.halfBand(t));
        }
        model_.series.push_back(std::move(band));
        model_.series.push_back(std::move(line));
        if (s_.runOut && s_.runOut->likely) {
            ChartSeries mark =
                series(QStringLiteral("Run out: %1").arg(platform::isoDate(*s_.runOut->likely)),
                       SeriesKind::Points, kRunOut, 12);
            add(mark, historyChartX(*s_.runOut->likely), s_.capacityErlangs);
            model_.series.push_back(std::move(mark));
        }
    }

    // The dots on top, then the axes.
    charts::ChartModel finish() {
        model_.series.push_back(std::move(others_));
        model_.series.push_back(std::move(sized_));
        model_.xTitle = QStringLiteral("Day");
        model_.dateFormat =
            first_.daysTo(last_) > 300 ? QStringLiteral("yyyy-MM") : QStringLiteral("MM-dd");
        model_.xTicks = static_cast<int>(std::clamp<qint64>(first_.daysTo(last_) + 1, 2, 10));
        model_.xMin = historyChartX(first_) - kDayMs / 2;
        model_.xMax = historyChartX(last_) + kDayMs / 2;
        model_.yTitle = QStringLiteral("Erlangs");
        model_.yMax = niceTop(top_ * 1.1);
        model_.y2Title = QStringLiteral("All ports busy (s)");
        model_.y2Max = niceTop(static_cast<double>(mostBusy_) * 1.1);
        return std::move(model_);
    }

private:
    const std::vector<HistoryDay>& days_;
    const HistorySummary& s_;
    QDate first_;
    QDate last_;
    double top_;
    qint64 mostBusy_ = 0;
    ChartSeries sized_;
    ChartSeries others_;
    charts::ChartModel model_;
};

} // namespace

double historyChartX(const QDate& day) {
    // A day stands at its noon in UTC: the axis labels it in local time, and
    // noon is the same date in every zone, whatever the clock does.
    return static_cast<double>(QDateTime(day, QTime(12, 0), Qt::UTC).toMSecsSinceEpoch());
}

QDate historyChartDay(double x) {
    const auto days = static_cast<qint64>(std::floor(x / kDayMs));
    return QDate(1970, 1, 1).addDays(days);
}

charts::ChartModel historyChartModel(const std::vector<HistoryDay>& days,
                                     const HistorySummary& summary, const QString& target) {
    if (days.empty()) {
        charts::ChartModel empty;
        empty.header = QStringLiteral("Offered traffic in the time-consistent busy hour");
        return empty;
    }
    HistoryModelBuilder build(days, summary);
    build.days();
    build.runOutInterval();
    build.capacity(target);
    build.trend();
    charts::ChartModel model = build.finish();
    model.header = QStringLiteral("Offered traffic in the time-consistent busy hour");
    return model;
}

} // namespace tarrow::reports
