#include "reports/perport/widgets/portaxiswindow.h"

#include "charts/widgets/chart2d.h"
#include "load/loadedday.h"
#include "platform/statusdisplay.h"
#include "platform/widgets/twips.h"
#include "reports/widgets/reporthost.h"

#include <QAction>
#include <QCheckBox>
#include <QLocale>
#include <QMenuBar>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace tarrow::reports {

using charts::Chart2D;
using platform::twips;

MenuDesign portZoomMenu() {
    return {
        QStringLiteral("mnuZoom"),
        QStringLiteral("Zoom"),
        {{QStringLiteral("mnuZoomNone"), QStringLiteral("No Zoom"), MenuAction::Zoom, 0},
         {QStringLiteral("mnuZoom24Ports"), QStringLiteral("Show 24 Ports"), MenuAction::Zoom, 1}}};
}

PortAxisWindow::PortAxisWindow(PortAxisDesign design, ReportHost& host, QWidget* parent)
    : ChartWindow(design.window, host, parent), portDesign_(std::move(design)) {
    for (QAction* action : menuActions()) {
        if (action->objectName() == QLatin1String("mnuZoomNone"))
            zoomNone_ = action;
        else if (action->objectName() == QLatin1String("mnuZoom24Ports"))
            zoom24_ = action;
    }
    zoomNone_->setCheckable(true);
    zoom24_->setCheckable(true);
    zoomMenu_ = menuBar()->findChild<QAction*>(portZoomMenu().name);
    if (portDesign_.totalTimeOption) {
        auto* option = new QCheckBox(QStringLiteral("Set Y Axis Scale to Total Time"), client());
        option->setObjectName(QStringLiteral("chkYAxesSetToTotalTime"));
        option->setFont(frameFont());
        QRect geometry = twips(portDesign_.totalTimeTwips);
        geometry.setSize(geometry.size().expandedTo(option->sizeHint()));
        // Beside the series frame, never over it.
        geometry.moveLeft(std::max(geometry.left(), frameGeometryInClient().right() + twips(120)));
        option->setGeometry(geometry);
        if (geometry.right() + twips(120) > width())
            resize(geometry.right() + twips(120), height());
        connect(option, &QCheckBox::clicked, this, &PortAxisWindow::onTotalTime);
    }
}

void PortAxisWindow::draw(const ReportDocument& document) {
    host().status().hideStatus();
    highest_ = document.highestPortInRange;
    QScrollBar& bar = scrollBar();
    bar.setRange(1, std::max(1, highest_));
    bar.setValue(1);
    zoomMenu_->setEnabled(highest_ > kZoomPorts);
    applyZoom(0);
    // The maximum the chart chose for the data, kept for the Y axis option.
    automaticYMax_ = static_cast<int>(std::nearbyint(chart().GetAxisMax(Chart2D::Y)));
}

void PortAxisWindow::applyZoom(int level) {
    QScrollBar& bar = scrollBar();
    if (highest_ < 1) {
        // A range without calls has no port to scroll over: the chart shows
        // every port, all at zero, and zooming stays off.
        zoomNone_->setChecked(true);
        zoom24_->setChecked(false);
        bar.setEnabled(false);
        chart().SetAxisMin(Chart2D::X, chart().pointCount() > 0 ? 1 : 0);
        chart().SetAxisMax(Chart2D::X, chart().pointCount() + 1);
        return;
    }
    zoomNone_->setChecked(level == 0);
    zoom24_->setChecked(level == 1);
    const int v = bar.value();
    const int max = bar.maximum();
    const int span = level == 0 ? max : kZoomPorts;
    bar.setPageStep(span);
    if (level == 1)
        bar.setSingleStep(1);
    bar.setEnabled(level == 1);
    const int start = v + span > max ? max - span + 1 : v;
    bar.setValue(start);
    chart().SetAxisMin(Chart2D::X, start);
    chart().SetAxisMax(Chart2D::X, start + span);
    bar.update();
}

void PortAxisWindow::onScroll(int value) {
    Chart2D& c = chart();
    c.SetBatchMode(true);
    const int max = scrollBar().maximum();
    const int span = scrollBar().pageStep();
    int first = value;
    int last = value + span - 1;
    if (last > max) {
        last = max;
        first = last - span;
    }
    c.SetAxisMin(Chart2D::X, first - 1);
    c.SetAxisMax(Chart2D::X, last);
    c.SetBatchMode(false);
}

void PortAxisWindow::onTotalTime(bool checked) {
    const TimeRange range = shownParams().range;
    const int totalSeconds = range.from.secsTo(range.to);
    chart().SetAxisMax(Chart2D::Y, checked ? totalSeconds : automaticYMax_);
}

void PortAxisWindow::layoutChart(QSize outer, QSize inner) {
    const int width = outer.width() - twips(360);
    chart().resize(width, inner.height() - twips(1155));
    scrollBar().setGeometry(scrollBar().x(), inner.height() - twips(270), width,
                            scrollBar().height());
}

} // namespace tarrow::reports
