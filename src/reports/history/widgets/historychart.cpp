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

} // namespace

QChart* historyChart(const std::vector<HistoryDay>& days, const HistorySummary& summary,
                     const QString& target) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Offered traffic in the time-consistent busy hour"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    if (days.empty())
        return chart;
    const QDate first = days.front().day;
    const QDate last = lastShown(days, summary);

    auto* sized = points(QStringLiteral("Days sized"), kTraffic, 9);
    auto* others = points(QStringLiteral("Other days"), kTraffic.lighter(170), 7);
    sized->setObjectName(QStringLiteral("OfferedDaysSized"));
    others->setObjectName(QStringLiteral("OfferedOtherDays"));
    double top = summary.capacityErlangs;
    qint64 mostBusy = 0;
    auto* allBusyTop = new QLineSeries;
    for (std::size_t d = 0; d < days.size(); ++d) {
        const HistoryDay& day = days[d];
        const qreal x = historyChartX(day.day);
        if (d < summary.offered.size() && summary.offered[d]) {
            (summary.basis[d] ? sized : others)->append(x, *summary.offered[d]);
            top = std::max(top, *summary.offered[d]);
        }
        mostBusy = std::max(mostBusy, day.atbSeconds);
        // Each day's bar: up at a fifth of a day before it, down a fifth after.
        const auto seconds = static_cast<qreal>(day.atbSeconds);
        *allBusyTop << QPointF(x - kDayMs / 5.0, 0) << QPointF(x - kDayMs / 5.0, seconds)
                    << QPointF(x + kDayMs / 5.0, seconds) << QPointF(x + kDayMs / 5.0, 0);
    }
    auto* allBusy = new QAreaSeries(allBusyTop);
    allBusy->setName(QStringLiteral("All busy (s)"));
    allBusy->setColor(kAllBusy);
    allBusy->setBorderColor(kAllBusy.darker());
    chart->addSeries(allBusy);

    QList<QAbstractSeries*> leftSeries;
    const auto add = [&](QAbstractSeries* series) {
        chart->addSeries(series);
        leftSeries << series;
    };
    QLineSeries* intervalTop = nullptr;
    if (summary.runOut && summary.runOut->earliest) {
        // The run-out interval, shaded from its earliest to its latest day up
        // to the top of the axis (set once the top is known).
        const QDate end = summary.runOut->latest ? *summary.runOut->latest : last;
        intervalTop = new QLineSeries;
        *intervalTop << QPointF(historyChartX(*summary.runOut->earliest) - kDayMs / 2.0, 0)
                     << QPointF(historyChartX(end) + kDayMs / 2.0, 0);
        auto* interval = new QAreaSeries(intervalTop);
        interval->setName(QStringLiteral("Run-out"));
        interval->setColor(QColor(0xb0, 0x00, 0x00, 0x28));
        interval->setBorderColor(Qt::transparent);
        add(interval);
    }
    auto* capacity = line(QStringLiteral("Capacity: %1 ports at %2").arg(summary.ports).arg(target),
                          kCapacity, Qt::SolidLine, 2);
    *capacity << QPointF(historyChartX(first), summary.capacityErlangs)
              << QPointF(historyChartX(last), summary.capacityErlangs);
    add(capacity);
    if (summary.trend) {
        const Trend& trend = *summary.trend;
        auto* trendLine = line(QStringLiteral("Trend"), kTrend, Qt::DashLine, 1.5);
        auto* bandTop = new QLineSeries;
        auto* bandBottom = new QLineSeries;
        for (QDate day = first; day <= last; day = day.addDays(1)) {
            const auto t = static_cast<double>(summary.trendOrigin.daysTo(day));
            const qreal x = historyChartX(day);
            *trendLine << QPointF(x, trend.at(t));
            *bandTop << QPointF(x, trend.at(t) + trend.halfBand(t));
            *bandBottom << QPointF(x, std::max(0.0, trend.at(t) - trend.halfBand(t)));
            top = std::max(top, trend.at(t) + trend.halfBand(t));
        }
        auto* band = new QAreaSeries(bandTop, bandBottom);
        band->setName(QStringLiteral("95 % band"));
        band->setColor(QColor(0x80, 0x80, 0x80, 0x40));
        band->setBorderColor(Qt::transparent);
        add(band);
        add(trendLine);
        if (summary.runOut && summary.runOut->likely) {
            auto* runOut = points(
                QStringLiteral("Run out: %1").arg(platform::isoDate(*summary.runOut->likely)),
                kRunOut, 12);
            runOut->append(historyChartX(*summary.runOut->likely), summary.capacityErlangs);
            add(runOut);
        }
    }
    add(others);
    add(sized);

    auto* xAxis = new QDateTimeAxis;
    xAxis->setFormat(first.daysTo(last) > 300 ? QStringLiteral("yyyy-MM")
                                              : QStringLiteral("MM-dd"));
    xAxis->setTitleText(QStringLiteral("Day"));
    xAxis->setTickCount(static_cast<int>(std::clamp<qint64>(first.daysTo(last) + 1, 2, 10)));
    xAxis->setRange(
        QDateTime::fromMSecsSinceEpoch(qint64(historyChartX(first)) - kDayMs / 2, Qt::UTC),
        QDateTime::fromMSecsSinceEpoch(qint64(historyChartX(last)) + kDayMs / 2, Qt::UTC));
    auto* erlangs = new QValueAxis;
    erlangs->setTitleText(QStringLiteral("Erlangs"));
    erlangs->setRange(0, niceTop(top * 1.1));
    if (intervalTop)
        for (int i = 0; i < intervalTop->count(); ++i)
            intervalTop->replace(i, intervalTop->at(i).x(), niceTop(top * 1.1));
    erlangs->applyNiceNumbers();
    erlangs->setLabelFormat(QStringLiteral("%g"));
    auto* seconds = new QValueAxis;
    seconds->setTitleText(QStringLiteral("All ports busy (s)"));
    seconds->setRange(0, niceTop(static_cast<double>(mostBusy) * 1.1));
    seconds->applyNiceNumbers();
    seconds->setLabelFormat(QStringLiteral("%g"));
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(erlangs, Qt::AlignLeft);
    chart->addAxis(seconds, Qt::AlignRight);
    for (QAbstractSeries* series : chart->series())
        series->attachAxis(xAxis);
    for (QAbstractSeries* series : leftSeries)
        series->attachAxis(erlangs);
    allBusy->attachAxis(seconds);
    return chart;
}

} // namespace tarrow::reports
