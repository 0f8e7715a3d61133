#pragma once

#include "reports/reporttable.h"
#include "reports/widgets/summarywindow.h"
#include "reports/widgets/windowdesign.h"

#include <QDate>
#include <QMainWindow>
#include <QRect>

#include <functional>

class QCheckBox;
class QGroupBox;
class QScrollBar;

namespace tarrow::charts {
class Chart2D;
}

namespace tarrow::reports {

class ReportHost;

// What every report chart window is made of; the windows differ in these data.
struct ChartWindowDesign {
    ReportId report = ReportId::PortAvailability;
    QString caption;
    QSize clientTwips;
    QSize minimumTwips; // the outer window is never smaller
    QString frameName;
    QString frameCaption;
    QRect frameTwips;
    QString checkName;
    struct Check {
        QString caption;
        QRect twips; // relative to the frame
        bool checked = true;
    };
    QList<Check> checks; // check box i switches chart series i + 1
    QRect chartTwips;
    QRect scrollTwips;
    QList<MenuDesign> menus;
    QString summaryName; // the summary window's name
    // Makes the summary window of the figures drawn (see summaryOf).
    std::function<QWidget*(ReportHost& host, const SummaryTable& figures, const QDate& day,
                           QWidget* parent)>
        summary;
};

// The summary maker of a window design: a summary window of type W, filled.
template <typename W> auto summaryOf() {
    return [](ReportHost& host, const SummaryTable& figures, const QDate& day, QWidget* parent) {
        return loadedSummary<W>(host, figures, day, parent);
    };
}

// The names and captions of a chart window's File and Help menus, which every
// chart window has in one shape: File holds print, save as bitmap, a
// separator, the summary, a separator and exit; Help holds help, a separator
// and about (about first where aboutFirst is set).
struct ChartMenuNames {
    QString file, fileCaption, print, bitmap, bitmapCaption, separator1, summary, summaryCaption,
        separator2, exit, exitCaption;
    QString help, helpCaption, helpItem, separator3, about;
    bool aboutFirst = false;
};

// File, the window's zoom menu, then Help.
[[nodiscard]] QList<MenuDesign> chartMenus(const ChartMenuNames& names, const MenuDesign& zoom);

// A report chart with series check boxes in a frame above it, a scroll bar
// below it and menus for printing, saving, the summary, zooming and help.
class ChartWindow : public QMainWindow {
    Q_OBJECT
public:
    ~ChartWindow() override;

    // Draws the report's figures and keeps their summary for the File menu.
    void showDocument(const ReportDocument& document);
    [[nodiscard]] ReportId report() const { return design_.report; }
    // The day and choices the figures shown were computed for.
    [[nodiscard]] QDate shownDay() const { return day_; }
    [[nodiscard]] const ReportParams& shownParams() const { return params_; }
    // Zoom level 0 shows the whole range; higher levels show less of it.
    virtual void applyZoom(int level) = 0;

    [[nodiscard]] charts::Chart2D& chart() const { return *chart_; }
    [[nodiscard]] QScrollBar& scrollBar() const { return *scrollBar_; }

protected:
    ChartWindow(ChartWindowDesign design, ReportHost& host, QWidget* parent);

    // Before the figures are drawn: the window's own state.
    virtual void beforeDraw() {}
    // The report's figures: draws them and sets the window's zoom.
    virtual void draw(const ReportDocument& document) = 0;
    virtual void onScroll(int value) = 0;
    // Places chart and scroll bar for the window's outer and inner sizes.
    virtual void layoutChart(QSize outer, QSize inner) = 0;
    // What a print of the chart shows above it (a verdict); nothing by default.
    [[nodiscard]] virtual QStringList printHeading() const { return {}; }
    // A menu item of the window's own; false when it is not one.
    virtual bool runOwnMenuItem(MenuAction, int) { return false; }

    [[nodiscard]] const ChartWindowDesign& design() const { return design_; }
    [[nodiscard]] const ReportEntry& entry() const { return reportEntry(design_.report); }
    [[nodiscard]] ReportHost& host() const { return host_; }
    // Summary windows belong to the main window when there is one.
    [[nodiscard]] QWidget* summaryParent();
    [[nodiscard]] QWidget* client() const { return centralWidget(); }
    [[nodiscard]] QList<QAction*> menuActions() const { return actions_; }
    [[nodiscard]] QRect frameGeometryInClient() const;
    [[nodiscard]] QFont frameFont() const;

    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildChecks();
    void onMenu(MenuAction action, int index);

    ChartWindowDesign design_;
    ReportHost& host_;
    SummaryTable figures_; // the summary of what the chart shows
    QDate day_;            // the day the chart shows
    ReportParams params_;
    charts::Chart2D* chart_ = nullptr;
    QGroupBox* frame_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QList<QCheckBox*> checks_;
    QList<QAction*> actions_;
};

} // namespace tarrow::reports
