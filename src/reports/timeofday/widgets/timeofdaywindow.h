#pragma once

#include "reports/reportdocument.h"
#include "reports/widgets/chartwindow.h"
#include "reports/widgets/summarywindow.h"

namespace tarrow::reports {

// Where the Port Availability and Call Traffic windows differ beyond the chart
// window's design.
struct TimeOfDayDesign {
    ChartWindowDesign window;
    QString drawCaption; // status caption while drawing
    // What the window opens on: a zoom level and the first minute shown.
    int openingZoom = 1;    // twelve hours ...
    int openingStart = 360; // ... from six o'clock
};

// The File and Help menu names of the Call Traffic window, which the Capacity
// window shares.
[[nodiscard]] ChartMenuNames trafficMenuNames();
// The Call Traffic summary's menu names, which the Capacity summary shares.
[[nodiscard]] SummaryMenuNames trafficSummaryMenuNames();

// The zoom menu of a time-of-day window: items "mnuZoom" 0 to 3, the whole day
// (captioned noZoom), 12, 4 and 1 hours.
[[nodiscard]] MenuDesign timeOfDayZoomMenu(const QString& menuName, const QString& noZoom);

// A chart over the minutes of the day with zoom levels, a scroll bar and series
// check boxes. The X axis and the scroll position are minutes (60 is 1:00).
class TimeOfDayWindow : public ChartWindow {
    Q_OBJECT
public:
    static constexpr int kZoomSpans[] = {1440, 720, 240, 60};
    static constexpr int kZoomSmallSteps[] = {0, 30, 10, 1};

    TimeOfDayWindow(TimeOfDayDesign design, ReportHost& host, QWidget* parent = nullptr);

    void applyZoom(int level) override;

protected:
    void beforeDraw() override;
    void draw(const ReportDocument& document) override;
    void onScroll(int value) override;
    void layoutChart(QSize outer, QSize inner) override;

private:
    void setTimeLabels(int span);

    TimeOfDayDesign timeDesign_;
    QList<QAction*> zoomItems_;
};

} // namespace tarrow::reports
