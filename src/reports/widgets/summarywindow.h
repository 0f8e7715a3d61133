#pragma once

#include "reports/summarytable.h"
#include "reports/widgets/windowdesign.h"

#include <QMainWindow>
#include <QRect>
#include <QSize>

#include <QDate>

class QTableWidget;

namespace tarrow::reports {

class ReportHost;

// Where the summary windows differ.
struct SummaryDesign {
    QString name;
    QString caption;
    QSize clientTwips;
    QRect gridTwips;
    QList<MenuDesign> menus;
    QSize minimumTwips;    // the window is never smaller
    QSize gridMarginTwips; // grid size = window size minus this
};

// The menus every summary window has: File with its save item, a separator and
// "Exit"; Help with "Help", a separator and "About". The names differ.
struct SummaryMenuNames {
    QString save, saveCaption, separator, helpMenu, help, separator2, about;
};
[[nodiscard]] QList<MenuDesign> summaryMenus(const SummaryMenuNames& names);

// A grid of a report's figures that can be saved as a CSV file.
class SummaryWindow : public QMainWindow {
    Q_OBJECT
public:
    // The figures of one day's report; parent owns the window.
    SummaryWindow(SummaryDesign design, ReportHost& host, SummaryTable figures, const QDate& day,
                  QWidget* parent);

    // Fills the grid from the figures.
    void load();
    // Asks for a file and writes the grid to it as CSV.
    void saveCsv();
    [[nodiscard]] QTableWidget& grid() const { return *grid_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void onMenu(MenuAction action);

    SummaryDesign design_;
    ReportHost& host_;
    SummaryTable table_;
    QDate day_;
    QTableWidget* grid_ = nullptr;
};

// A summary window of type W over figures, filled.
template <typename W>
QWidget* loadedSummary(ReportHost& host, const SummaryTable& figures, const QDate& day,
                       QWidget* parent) {
    auto* summary = new W(host, figures, day, parent);
    summary->load();
    return summary;
}

} // namespace tarrow::reports
