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

QChart* historyChart(const std::vector<HistoryDay>& days, const HistorySummary& summary,
                     const QString& target) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Daily busy-hour traffic"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    if (days.empty())
        return chart;
    const QDate first = days.front().day;
    QDate last = days.back().day;
    if (summary.exhaustion)
        last = std::max(last, *summary.exhaustion);

    auto* traffic = line(QStringLiteral("Busy-hour traffic"), kTraffic, Qt::SolidLine, 2);
    traffic->setPointsVisible(true);
    double top = summary.capacityErlangs;
    qint64 mostBusy = 0;
    auto* allBusyTop = new QLineSeries;
    for (const HistoryDay& day : days) {
        traffic->append(historyChartX(day.day), day.busyHourErlangs);
        top = std::max(top, day.busyHourErlangs);
        mostBusy = std::max(mostBusy, day.atbSeconds);
        // Each day's bar: up at a fifth of a day before it, down a fifth after.
        const qreal x = historyChartX(day.day);
        const auto seconds = static_cast<qreal>(day.atbSeconds);
        *allBusyTop << QPointF(x - kDayMs / 5.0, 0) << QPointF(x - kDayMs / 5.0, seconds)
                    << QPointF(x + kDayMs / 5.0, seconds) << QPointF(x + kDayMs / 5.0, 0);
    }
    auto* allBusy = new QAreaSeries(allBusyTop);
    allBusy->setName(QStringLiteral("All ports busy (s)"));
    allBusy->setColor(kAllBusy);
    allBusy->setBorderColor(kAllBusy.darker());

    auto* capacity =
        line(QStringLiteral("Capacity: %1 ports at %2").arg(summary.sizingPorts).arg(target),
             kCapacity, Qt::SolidLine, 2);
    *capacity << QPointF(historyChartX(first), summary.capacityErlangs)
              << QPointF(historyChartX(last), summary.capacityErlangs);

    chart->addSeries(allBusy);
    chart->addSeries(capacity);
    chart->addSeries(traffic);
    QList<QAbstractSeries*> leftSeries{capacity, traffic};
    if (summary.trend) {
        const Trend& trend = *summary.trend;
        auto* trendLine =
            line(QStringLiteral("Trend"),
                 kTrend, Qt::DashLine, 1.5);
        const auto endT = static_cast<double>(first.daysTo(last));
        *trendLine << QPointF(historyChartX(first), trend.at(0))
                   << QPointF(historyChartX(last), trend.at(endT));
        top = std::max({top, trend.at(0), trend.at(endT)});
        chart->addSeries(trendLine);
        leftSeries << trendLine;
        if (summary.exhaustion) {
            auto* runOut = new QScatterSeries;
            runOut->setName(
                QStringLiteral("Run out: %1").arg(platform::isoDate(*summary.exhaustion)));
            runOut->setColor(kRunOut);
            runOut->setMarkerSize(12);
            runOut->append(historyChartX(*summary.exhaustion),
                           trend.at(static_cast<double>(first.daysTo(*summary.exhaustion))));
            chart->addSeries(runOut);
            leftSeries << runOut;
        }
    }

    auto* xAxis = new QDateTimeAxis;
    xAxis->setFormat(first.daysTo(last) > 300 ? QStringLiteral("yyyy-MM")
                                              : QStringLiteral("MM-dd"));
    xAxis->setTitleText(QStringLiteral("Day"));
    xAxis->setTickCount(static_cast<int>(std::clamp<qint64>(first.daysTo(last) + 1, 2, 10)));
    xAxis->setRange(QDateTime::fromMSecsSinceEpoch(qint64(historyChartX(first)) - kDayMs / 2,
                                                    Qt::UTC),
                    QDateTime::fromMSecsSinceEpoch(qint64(historyChartX(last)) + kDayMs / 2,
                                                    Qt::UTC));
    auto* erlangs = new QValueAxis;
    erlangs->setTitleText(QStringLiteral("Erlangs"));
    erlangs->setRange(0, niceTop(top * 1.1));
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
