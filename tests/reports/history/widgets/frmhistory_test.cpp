#include "reports/history/historysummary.h"
#include "reports/history/widgets/frmhistory.h"
#include "reports/history/widgets/historychart.h"
#include "reports/history/widgets/historyheatmap.h"
#include "support/scripteddialogs.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QLineSeries>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QTableWidget>

#include <set>

#include <gtest/gtest.h>

namespace tarrow::reports {
namespace {

// Days of busy-hour traffic 10 + 0.1 t E on 20 ports: at 1 % they carry
// 12.031 E, which the trend reaches 21 days after the first day.
std::vector<HistoryDay> growingDays(int count) {
    std::vector<HistoryDay> days;
    for (int t = 0; t < count; ++t) {
        HistoryDay day;
        day.day = QDate(2026, 3, 1).addDays(t);
        day.busyHourStart = 36;
        day.busyHourErlangs = 10 + 0.1 * t;
        day.portsInService = 20;
        day.atbSeconds = 30 * t;
        day.calls[0] = 100 + t;
        day.quarterErlangs[40] = day.busyHourErlangs;
        days.push_back(day);
    }
    return days;
}

QStringList seriesNames(const QChart& chart) {
    QStringList names;
    for (const QAbstractSeries* series : chart.series())
        names << series->name();
    return names;
}

TEST(HistoryChart, DaysSitAtTheirPlaceInAnyZone) {
    for (const QDate& day : {QDate(1960, 1, 1), QDate(1970, 1, 1), QDate(2026, 3, 29),
                             QDate(2026, 10, 25), QDate(2099, 12, 31)}) {
        const qreal x = historyChartX(day);
        EXPECT_EQ(historyChartDay(x), day);
        EXPECT_EQ(historyChartDay(x - 0.49 * 86'400'000), day);
        EXPECT_EQ(historyChartDay(x + 0.49 * 86'400'000), day);
        EXPECT_EQ(historyChartDay(x + 0.51 * 86'400'000), day.addDays(1));
    }
}

TEST(HistoryChart, TheTrendRunsOnToTheMarkedDayThePortsRunOut) {
    const std::vector<HistoryDay> days = growingDays(20);
    const HistorySummary summary = summarizeHistory(days, 0, 0.01);
    ASSERT_TRUE(summary.exhaustion.has_value());
    EXPECT_EQ(*summary.exhaustion, QDate(2026, 3, 22));
    std::unique_ptr<QChart> chart(historyChart(days, summary, QStringLiteral("1 %")));
    const QStringList names = seriesNames(*chart);
    EXPECT_TRUE(names.contains(QStringLiteral("Busy-hour traffic")));
    EXPECT_TRUE(names.contains(QStringLiteral("Capacity: 20 ports at 1 %")));
    EXPECT_TRUE(names.contains(QStringLiteral("Trend")));
    EXPECT_TRUE(names.contains(QStringLiteral("Run out: 2026-03-22")));
    for (QAbstractSeries* series : chart->series()) {
        if (series->name() == QStringLiteral("Trend")) {
            const auto* trend = static_cast<QLineSeries*>(series);
            ASSERT_EQ(trend->count(), 2);
            EXPECT_EQ(historyChartDay(trend->at(1).x()), QDate(2026, 3, 22));
            EXPECT_NEAR(trend->at(1).y(), 12.1, 1e-9);
        }
        if (series->name().startsWith(QStringLiteral("Run out"))) {
            const auto* mark = static_cast<QScatterSeries*>(series);
            ASSERT_EQ(mark->count(), 1);
            EXPECT_GE(mark->at(0).y(), summary.capacityErlangs);
        }
    }

    // Under 14 days there is no trend to draw.
    const std::vector<HistoryDay> few = growingDays(13);
    std::unique_ptr<QChart> short_(historyChart(few, summarizeHistory(few, 0, 0.01), QStringLiteral("1 %")));
    EXPECT_FALSE(seriesNames(*short_).contains(QStringLiteral("Trend")));
}

TEST(HistoryHeatMap, EachCellTellsItsWeekdayHourAndMean) {
    HeatMap map{};
    map[1][14] = 12.345;
    EXPECT_EQ(heatMapCellText(map, 1, 14), QStringLiteral("Tuesday 14:00–15:00: 12.345 E"));
    EXPECT_EQ(heatMapCellText(map, 6, 23), QStringLiteral("Sunday 23:00–24:00: 0.000 E"));
    // Walk the drawing: every cell's middle finds that cell; the margins none.
    const QRectF area(0, 0, 620, 220);
    int found = 0;
    for (double y = 0; y < 220; y += 3)
        for (double x = 0; x < 620; x += 3)
            if (heatMapCellAt(area, {x, y}).first >= 0)
                ++found;
    EXPECT_GT(found, 0);
    EXPECT_EQ(heatMapCellAt(area, {2, 2}), std::make_pair(-1, -1));
    EXPECT_EQ(heatMapCellAt(area, {619, 219}), std::make_pair(-1, -1)) << "the legend strip";
    std::set<std::pair<int, int>> cells;
    for (double y = 0; y < 220; y += 1)
        for (double x = 0; x < 620; x += 1)
            if (const auto cell = heatMapCellAt(area, {x, y}); cell.first >= 0)
                cells.insert(cell);
    EXPECT_EQ(cells.size(), 7u * 24u);
}

class FrmHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        days = growingDays(20);
        window.showHistory(days, summarizeHistory(days, 0, 0.01), 0.01);
    }
    QString saved(const char* menu, const char* name) {
        const QString path = dir.file(QLatin1String(name));
        dialogs.saveAnswers << path;
        window.findChild<QAction*>(QLatin1String(menu))->trigger();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().left(64))
                                              : QString();
    }
    testing::TempFolder dir;
    testing::ScriptedDialogs dialogs;
    frmHistory window{dialogs};
    std::vector<HistoryDay> days;
};

TEST_F(FrmHistoryTest, ShowsTheDaysAndSavesWhatItShows) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("History 2026-03-01 to 2026-03-20"));
    EXPECT_EQ(window.grid()->rowCount(), 20);
    EXPECT_EQ(window.grid()->horizontalHeaderItem(7)->text(), QStringLiteral("BusyHourErlangs"));
    EXPECT_EQ(window.grid()->item(19, 7)->text(), QStringLiteral("11.9000"));
    EXPECT_TRUE(window.verdictShown().contains(
        {QStringLiteral("Ports run out:"), QStringLiteral("2026-03-22")}));
    EXPECT_EQ(window.heatMap()->heatMap(), summarizeHistory(days, 0, 0.01).heatmap);

    EXPECT_EQ(saved("mnuSaveCsv", "days.csv"), QString::fromLatin1(historyCsv(days).left(64)));
    EXPECT_EQ(saved("mnuSaveJson", "days.json"),
              QString::fromLatin1(historyJson(summarizeHistory(days, 0, 0.01)).left(64)));
    EXPECT_TRUE(saved("mnuSaveBitmap", "chart.bmp").startsWith(QStringLiteral("BM")));
    EXPECT_EQ(dialogs.texts(), (QStringList{QStringLiteral("History days saved"),
                                           QStringLiteral("History figures saved"),
                                           QStringLiteral("Chart saved")}));
    dialogs.printToPdf = dir.file(QStringLiteral("printed.pdf"));
    window.findChild<QAction*>(QStringLiteral("mnuPrint"))->trigger();
    EXPECT_GT(QFile(dialogs.printToPdf).size(), 1000);
}

TEST_F(FrmHistoryTest, ClickingADayAsksForIt) {
    QSignalSpy chosen(&window, &frmHistory::dayChosen);
    emit window.grid()->cellClicked(4, 0);
    for (QAbstractSeries* series : window.chartView()->chart()->series())
        if (series->name() == QStringLiteral("Busy-hour traffic"))
            emit static_cast<QLineSeries*>(series)->clicked(
                QPointF(historyChartX(QDate(2026, 3, 9)) + 3'600'000, 10.8));
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_EQ(chosen[0][0].toDate(), QDate(2026, 3, 5));
    EXPECT_EQ(chosen[1][0].toDate(), QDate(2026, 3, 9));
}

} // namespace
} // namespace tarrow::reports
