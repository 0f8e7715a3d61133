// The run-out interval checked against the sample generator's simulation:
// ninety days of a server whose offered traffic grows 2 % a week, weekends at
// 45 %, where the day the true offered traffic passes the capacity is known.
#include "reports/history/historydays.h"
#include "reports/history/historysummary.h"
#include "samplegenerator.h"
#include "support/tempfolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace tarrow::reports {
namespace {

// The day a straight line through the weekdays' true offered traffic in the
// time-consistent busy hour reaches the capacity.
QDate trueRunOut(const QString& truthFile, const HistorySummary& s) {
    QFile truth(truthFile);
    EXPECT_TRUE(truth.open(QIODevice::ReadOnly));
    truth.readLine();
    std::map<QDate, double> offered;
    while (!truth.atEnd()) {
        const QList<QByteArray> f = truth.readLine().trimmed().split(',');
        const QDate day = QDate::fromString(QString::fromLatin1(f[0]), Qt::ISODate);
        const int q = f[1].toInt();
        if (day.dayOfWeek() < 6 && q >= s.tcbhStart && q < s.tcbhStart + kBusyHourQuarters)
            offered[day] += f[7].toDouble() / kBusyHourQuarters;
    }
    std::vector<std::pair<double, double>> points;
    for (const auto& [day, erlangs] : offered)
        points.emplace_back(static_cast<double>(s.trendOrigin.daysTo(day)), erlangs);
    const std::optional<Trend> line = fitTrend(points);
    EXPECT_TRUE(line && line->slopePerDay > 0);
    const double t = (s.capacityErlangs - line->intercept) / line->slopePerDay;
    return s.trendOrigin.addDays(static_cast<qint64>(std::ceil(t)));
}

TEST(HistoryAgainstTheSimulation, TheIntervalHoldsTheDayTheTrueDemandPassesTheCapacity) {
    struct Case {
        double peakLoad;
        HistoryStatus status;
    };
    // Out after the ninety days, and out within them.
    for (const Case c : {Case{0.28, HistoryStatus::RunsOut}, Case{0.32, HistoryStatus::Exhausted}})
        for (const std::uint32_t seed : {1U, 2U}) {
            SCOPED_TRACE(::testing::Message() << "load " << c.peakLoad << ", seed " << seed);
            testing::TempFolder dir;
            tools::SampleOptions o;
            o.firstDay = QDate(2026, 1, 5); // a Monday
            o.days = 90;
            o.peakLoad = c.peakLoad;
            o.weekendShare = 0.45;
            o.growthPercent = 8.57; // 2 % a week
            o.seed = seed;
            o.malformedLines = false;
            o.truthFile = dir.file(QStringLiteral("truth.csv"));
            ASSERT_TRUE(tools::writeSampleLogs(dir.file(QStringLiteral("logs")), o).isEmpty());

            load::LoadRequest request;
            request.folder = dir.file(QStringLiteral("logs"));
            request.prefix = logparse::olderGenerationPrefix();
            request.zone = QTimeZone::utc();
            QString error;
            const std::vector<HistoryDay> days = computeHistoryDays(
                request, o.firstDay, o.firstDay.addDays(o.days - 1), 0.01, error);
            ASSERT_EQ(days.size(), 90u) << error.toStdString();
            const HistorySummary s = summarizeHistory(days, {});
            EXPECT_TRUE(s.weekdaysBasis);
            EXPECT_EQ(s.ports, 16) << "the answering ports";
            EXPECT_EQ(s.status, c.status) << statusKey(s.status).toStdString();
            ASSERT_TRUE(s.runOut && s.runOut->earliest && s.runOut->likely && s.runOut->latest);
            const QDate truth = trueRunOut(o.truthFile, s);
            EXPECT_LE(*s.runOut->earliest, truth);
            EXPECT_GE(*s.runOut->latest, truth);
            EXPECT_LE(std::abs(s.runOut->likely->daysTo(truth)), 10)
                << s.runOut->likely->toString(Qt::ISODate).toStdString() << " against "
                << truth.toString(Qt::ISODate).toStdString();
        }
}

} // namespace
} // namespace tarrow::reports
