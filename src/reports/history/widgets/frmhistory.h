#pragma once

#include "reports/history/historysummary.h"

#include <QMainWindow>

#include <vector>

class QChartView;
class QFormLayout;
class QLabel;
class QTableWidget;

namespace tarrow::charts {
class ChartLegend;
}
namespace tarrow::platform {
class UserDialogs;
}

namespace tarrow::reports {

class HistoryHeatMap;

// The History window: the days of a range as a chart over the calendar, the
// across-day figures with the day the ports run out, the weekday × hour heat
// map and the days as a grid. Clicking a day in the chart or the grid asks
// the main window to load it.
class frmHistory : public QMainWindow {
    Q_OBJECT
public:
    explicit frmHistory(platform::UserDialogs& dialogs, QWidget* parent = nullptr);

    // Shows a run: its days in date order, their across-day figures and the
    // blocking target they were sized at.
    void showHistory(std::vector<HistoryDay> days, const HistorySummary& summary, double gos);

    [[nodiscard]] const std::vector<HistoryDay>& days() const { return days_; }
    [[nodiscard]] const HistorySummary& summary() const { return summary_; }
    [[nodiscard]] double gos() const { return gos_; }
    [[nodiscard]] QChartView* chartView() const { return chart_; }
    [[nodiscard]] QTableWidget* grid() const { return grid_; }
    [[nodiscard]] HistoryHeatMap* heatMap() const { return heatMap_; }
    // The status and the verdict as shown: label and value per line.
    [[nodiscard]] QString status() const;
    [[nodiscard]] QList<QPair<QString, QString>> verdictShown() const;

    // The File menu's work.
    void saveTable();
    void saveJson();
    void saveBitmap();
    void print();

signals:
    void dayChosen(const QDate& day);

private:
    void buildMenus();
    QWidget* buildVerdictPanel();
    void chooseDay(const QDate& day);

    platform::UserDialogs& dialogs_;
    std::vector<HistoryDay> days_;
    HistorySummary summary_;
    double gos_ = 0.01;
    QChartView* chart_ = nullptr;
    charts::ChartLegend* legend_ = nullptr;
    QWidget* chartPanel_ = nullptr; // the chart and its legend, as saved
    QLabel* lblRange = nullptr;
    QLabel* lblStatus = nullptr;
    QFormLayout* verdictForm_ = nullptr;
    HistoryHeatMap* heatMap_ = nullptr;
    QTableWidget* grid_ = nullptr;
};

} // namespace tarrow::reports
