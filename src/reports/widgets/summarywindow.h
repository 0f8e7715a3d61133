#pragma once

#include "reports/summarytable.h"
#include "reports/widgets/windowdesign.h"

#include <QMainWindow>
#include <QRect>
#include <QSize>

#include <functional>

class QTableWidget;

namespace tarrow::reports {

struct ReportContext;

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
    SummaryWindow(SummaryDesign design, ReportContext& context,
                  std::function<SummaryTable()> compute, QWidget* parent = nullptr);

    // Fills the grid from the report's stored figures.
    void load();
    // Asks for a file and writes the grid to it as CSV.
    void saveCsv();
    [[nodiscard]] QTableWidget& grid() const { return *grid_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void onMenu(MenuAction action);

    SummaryDesign design_;
    ReportContext& context_;
    std::function<SummaryTable()> compute_;
    SummaryTable table_;
    QTableWidget* grid_ = nullptr;
};

// A summary window of type W, filled from its report's figures.
template <typename W> QWidget* loadedSummary(ReportContext& context) {
    auto* summary = new W(context);
    summary->load();
    return summary;
}

} // namespace tarrow::reports
