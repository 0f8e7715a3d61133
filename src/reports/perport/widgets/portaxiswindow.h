#pragma once

#include "reports/widgets/chartwindow.h"

#include <QTime>

namespace tarrow::reports {

// Where the Call Distribution and Port Time Use windows differ beyond the chart
// window's design.
struct PortAxisDesign {
    ChartWindowDesign window;
    bool totalTimeOption = false; // "Set Y Axis Scale to Total Time"
    QRect totalTimeTwips;
};

// The zoom menu "mnuZoom" of both per-port windows: "No Zoom", "Show 24 Ports".
[[nodiscard]] MenuDesign portZoomMenu();

// A chart over the port numbers with "No Zoom" and "Show 24 Ports", a scroll
// bar and series check boxes; the report is computed anew at every load.
class PortAxisWindow : public ChartWindow {
    Q_OBJECT
public:
    static constexpr int kZoomPorts = 24;

    PortAxisWindow(PortAxisDesign design, ReportHost& host, QWidget* parent = nullptr);

    // Zoom level 0 "No Zoom", 1 "Show 24 Ports".
    void applyZoom(int level) override;
    [[nodiscard]] int highestPortInRange() const { return highest_; }
    [[nodiscard]] int automaticYMax() const { return automaticYMax_; }

protected:
    void draw(const ReportDocument& document) override;
    void onScroll(int value) override;
    void layoutChart(QSize outer, QSize inner) override;

private:
    void onTotalTime(bool checked);

    PortAxisDesign portDesign_;
    QAction* zoomNone_ = nullptr;
    QAction* zoom24_ = nullptr;
    QAction* zoomMenu_ = nullptr;
    int highest_ = 0;
    int automaticYMax_ = 0;
};

} // namespace tarrow::reports
