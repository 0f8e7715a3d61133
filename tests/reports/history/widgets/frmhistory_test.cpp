#include "reports/capacity/erlangb.h"
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
#include <QLabel>
#include <QLineSeries>
#include <QProcess>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QTableWidget>

#include <cmath>
#include <set>

#include <gtest/gtest.h>

namespace tarrow::reports {
namespace {

// Days whose busy hour, 10:00 to 11:00, was offered 10 + 0.1 t E on 20
// ports: at 1 % they carry 12.031 E, which the trend reaches 21 days after
// the first day.
std::vector<HistoryDay> growingDays(int count) {
    std::vector<HistoryDay> days;
    for (int t = 0; t < count; ++t) {
        HistoryDay day;
        day.day = QDate(2026, 3, 1).addDays(t);
        day.busyHourStart = 40;
        day.busyHourErlangs = erlang::carried(10 + 0.1 * t, 20);
        day.portsInService = 20;
        day.atbSeconds = 30 * t;
        day.calls[0] = 100 + t;
        day.realSeconds.fill(kQuarterSeconds);
        for (std::size_t q = 40; q < 44; ++q) {
            day.quarterErlangs[q] = day.busyHourErlangs;
            day.poolSeconds[q] = std::llround(day.busyHourErlangs * kQuarterSeconds);
        }
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

TEST(HistoryChart, TheTrendAndItsBandRunOnToTheMarkedDayThePortsRunOut) {
    const std::vector<HistoryDay> days = growingDays(20);
    const HistorySummary summary = summarizeHistory(days, {});
    ASSERT_TRUE(summary.runOut && summary.runOut->likely);
    EXPECT_EQ(*summary.runOut->likely, QDate(2026, 3, 22));
    EXPECT_EQ(summary.status, HistoryStatus::RunsOut);
    std::unique_ptr<QChart> chart(historyChart(days, summary, QStringLiteral("1 %")));
    const QStringList names = seriesNames(*chart);
    for (const char* name : {"Days sized", "Capacity: 20 ports at 1 %", "Trend", "95 % band",
                             "Run-out", "Run out: 2026-03-22"})
        EXPECT_TRUE(names.contains(QLatin1String(name))) << name;
    for (QAbstractSeries* series : chart->series()) {
        if (series->name() == QStringLiteral("Trend")) {
            const auto* trend = static_cast<QLineSeries*>(series);
            ASSERT_EQ(trend->count(), 22) << "a point a day up to the run-out day";
            EXPECT_EQ(historyChartDay(trend->at(21).x()), QDate(2026, 3, 22));
            EXPECT_NEAR(trend->at(21).y(), 12.1, 1e-3);
        }
        if (series->name() == QStringLiteral("Days sized")) {
            EXPECT_EQ(static_cast<QScatterSeries*>(series)->count(), 20);
        }
        if (series->name().startsWith(QStringLiteral("Run out"))) {
            const auto* mark = static_cast<QScatterSeries*>(series);
            ASSERT_EQ(mark->count(), 1);
            EXPECT_DOUBLE_EQ(mark->at(0).y(), summary.capacityErlangs);
        }
    }

    // Under 10 days there is no trend to draw.
    const std::vector<HistoryDay> few = growingDays(9);
    std::unique_ptr<QChart> short_(
        historyChart(few, summarizeHistory(few, {}), QStringLiteral("1 %")));
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
        window.showHistory(days, summarizeHistory(days, {}), 0.01);
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
    EXPECT_EQ(window.grid()->item(19, 7)->text(),
              QString::number(erlang::carried(11.9, 20), 'f', 4));
    EXPECT_EQ(window.grid()->horizontalHeaderItem(15)->text(), QStringLiteral("OfferedErlangs"));
    EXPECT_EQ(window.grid()->item(19, 15)->text(), QStringLiteral("11.9000"));
    EXPECT_TRUE(window.status().startsWith(QStringLiteral("Ports run out between")))
        << window.status().toStdString();
    bool runOut = false;
    for (const auto& [label, value] : window.verdictShown())
        runOut = runOut || (label == QStringLiteral("Ports run out:") &&
                            value.startsWith(QStringLiteral("2026-03-22")));
    EXPECT_TRUE(runOut);
    // The legend names every series whole, wrapping rather than cutting.
    const auto* legend = window.findChild<QLabel*>(QStringLiteral("HistoryLegend"));
    ASSERT_NE(legend, nullptr);
    EXPECT_TRUE(legend->wordWrap());
    for (const QString& whole :
         {QStringLiteral("Run&nbsp;out:&nbsp;2026-03-22"), QStringLiteral("Days&nbsp;sized")})
        EXPECT_TRUE(legend->text().contains(whole)) << legend->text().toStdString();
    const HistorySummary summary = summarizeHistory(days, {});
    EXPECT_EQ(window.heatMap()->heatMap(), summary.heatmap);

    EXPECT_EQ(saved("mnuSaveCsv", "days.csv"),
              QString::fromLatin1(historyCsv(days, summary).left(64)));
    EXPECT_EQ(saved("mnuSaveJson", "days.json"),
              QString::fromLatin1(historyJson(summary).left(64)));
    EXPECT_TRUE(saved("mnuSaveBitmap", "chart.bmp").startsWith(QStringLiteral("BM")));
    EXPECT_EQ(dialogs.texts(), (QStringList{QStringLiteral("History days saved"),
                                            QStringLiteral("History figures saved"),
                                            QStringLiteral("Chart saved")}));
}

// The print is a document: the run's page with its text, then every day in a
// table that goes on over pages with its header repeated.
TEST_F(FrmHistoryTest, PrintIsADocumentWithEveryDay) {
    days = growingDays(70);
    window.showHistory(days, summarizeHistory(days, {}), 0.01);
    dialogs.printToPdf = dir.file(QStringLiteral("printed.pdf"));
    window.findChild<QAction*>(QStringLiteral("mnuPrint"))->trigger();
    EXPECT_TRUE(dialogs.messages.isEmpty());
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {dialogs.printToPdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QStringLiteral("History from 2026-03-01 to 2026-05-09")));
    EXPECT_TRUE(printed.contains(window.status())) << printed.toStdString();
    for (const HistoryDay& day : days)
        EXPECT_TRUE(printed.contains(day.day.toString(Qt::ISODate)))
            << day.day.toString().toStdString();
    // pdftotext ends each page with a form feed.
    const QStringList pages = printed.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    qsizetype tablePages = 0;
    for (const QString& page : pages)
        if (page.contains(QStringLiteral("Dialouts"))) {
            ++tablePages;
            EXPECT_EQ(page.count(QStringLiteral("Dialouts")), 4) << page.toStdString();
            EXPECT_TRUE(page.contains(QStringLiteral("Measured"))) << page.toStdString();
        }
    EXPECT_GE(tablePages, 2);
    EXPECT_TRUE(pages.last().contains(QStringLiteral("2026-05-09")));
}

TEST_F(FrmHistoryTest, ClickingADayAsksForIt) {
    QSignalSpy chosen(&window, &frmHistory::dayChosen);
    emit window.grid()->cellClicked(4, 0);
    for (QAbstractSeries* series : window.chartView()->chart()->series())
        if (series->objectName() == QStringLiteral("OfferedDaysSized"))
            emit static_cast<QScatterSeries*>(series)->clicked(
                QPointF(historyChartX(QDate(2026, 3, 9)) + 3'600'000, 10.8));
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_EQ(chosen[0][0].toDate(), QDate(2026, 3, 5));
    EXPECT_EQ(chosen[1][0].toDate(), QDate(2026, 3, 9));
}

} // namespace
} // namespace tarrow::reports
