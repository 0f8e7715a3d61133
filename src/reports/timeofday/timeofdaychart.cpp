#include "reports/timeofday/timeofdaychart.h"

namespace tarrow::reports {

charts::ChartModel timeOfDayChart(const ResultTable& table,
                                  const std::vector<MinuteSeries>& series) {
    charts::ChartModel model;
    model.style = charts::ChartStyle::Lines;
    model.xTitle = QStringLiteral("Time");
    model.xs.resize(kMinutesPerDay);
    for (int m = 1; m <= kMinutesPerDay; ++m)
        model.xs[static_cast<std::size_t>(m - 1)] = m;
    for (const MinuteSeries& s : series) {
        charts::ChartSeries drawn{s.label, std::vector<double>(kMinutesPerDay)};
        drawn.color = s.color;
        for (int m = 1; m <= kMinutesPerDay; ++m)
            drawn.values[static_cast<std::size_t>(m - 1)] =
                static_cast<double>(table.at(s.column, m));
        model.series.push_back(std::move(drawn));
    }
    model.xMin = 0;
    model.xMax = kMinutesPerDay;
    model.xLabels = timeLabels(kMinutesPerDay);
    return model;
}

QList<QPair<double, QString>> timeLabels(int span) {
    const int step = span >= 1440 ? 180 : span >= 720 ? 60 : span >= 240 ? 30 : 10;
    QList<QPair<double, QString>> labels;
    for (int m = 0; m <= kMinutesPerDay; m += step)
        labels.append({static_cast<double>(m),
                       QStringLiteral("%1:%2").arg(m / 60).arg(m % 60, 2, 10, QLatin1Char('0'))});
    return labels;
}

} // namespace tarrow::reports
