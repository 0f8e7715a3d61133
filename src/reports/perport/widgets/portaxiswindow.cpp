#include "reports/perport/widgets/portaxiswindow.h"

#include "charts/widgets/chart2d.h"
#include "platform/statusdisplay.h"
#include "platform/widgets/twips.h"
#include "reports/widgets/reportcontext.h"

#include <QAction>
#include <QCheckBox>
#include <QLocale>
#include <QMenuBar>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace tarrow::reports {

using platform::Chart2D;
using platform::twips;

namespace {

// The locale's long time (with seconds), without a time-zone name.
QString longTime(const QTime& time) {
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale().toString(time, format.trimmed());
}

int minuteOf(const QTime& t) {
    return t.hour() * 60 + t.minute();
}

} // namespace

MenuDesign portZoomMenu() {
    return {
        QStringLiteral("mnuZoom"),
        QStringLiteral("Zoom"),
        {{QStringLiteral("mnuZoomNone"), QStringLiteral("No Zoom"), MenuAction::Zoom, 0},
         {QStringLiteral("mnuZoom24Ports"), QStringLiteral("Show 24 Ports"), MenuAction::Zoom, 1}}};
}

PortAxisWindow::PortAxisWindow(PortAxisDesign design, ReportContext& context, QWidget* parent)
    : ChartWindow(design.window, context, parent), portDesign_(std::move(design)) {
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

std::pair<QTime, QTime> PortAxisWindow::pickers() const {
    return context().pickers ? context().pickers(design().name)
                             : std::make_pair(QTime(0, 0), QTime(23, 59, 59));
}

void PortAxisWindow::load() {
    beginLoad();
    const auto [from, to] = pickers();
    const QLocale locale;
    chart().SetHeaderText(
        design().headerPrefix + locale.toString(context().dataDate.date(), QLocale::LongFormat) +
        QStringLiteral("\r\nFrom ") + longTime(from) + QStringLiteral(" to ") + longTime(to));
    chart().ShowHeader(true);
    const int peakPort = context().totals.peakPort;
    try {
        const PerPortResult result = computePerPort(
            context().database, portDesign_.report, minuteOf(from), minuteOf(to), peakPort,
            [this, peakPort] {
                context().status.showStatus(QStringLiteral("Crunching database..."), peakPort);
            });
        context().status.setStatusValue(peakPort);
        context().status.hideStatus();
        draw(result);
    } catch (const std::exception& e) {
        reportFailure(e);
    }
    handOver();
    endLoad();
    // The maximum the chart chose for the data, kept for the Y axis option.
    automaticYMax_ = static_cast<int>(std::nearbyint(chart().GetAxisMax(Chart2D::Y)));
}

void PortAxisWindow::draw(const PerPortResult& result) {
    const bool seconds = portDesign_.report == PerPortReport::PortTimeUse;
    const auto points = static_cast<int>(result.ports.size());
    Chart2D& c = chart();
    c.SetChartTypeCode(1, 4);
    c.SetDataLayout(1);
    c.SetSeriesCount(5);
    for (int s = 1; s <= 5; ++s)
        c.SetPointCount(s, points);
    c.SetAnnotationMode(Chart2D::X, 2);
    c.ClearValueLabels(Chart2D::X);
    for (int i = 1; i <= points; ++i) {
        const PortFigures& port = result.ports[static_cast<std::size_t>(i - 1)];
        c.SetX(1, i, i);
        for (int type = 1; type <= 5; ++type) {
            const auto t = static_cast<std::size_t>(type - 1);
            c.SetY(kSeriesOfType[t], i,
                   seconds ? port.seconds[t] : static_cast<double>(port.calls[t]));
        }
        c.AddValueLabel(Chart2D::X, i, QString::number(i));
    }
    highest_ = result.highestPortInRange;
}

void PortAxisWindow::handOver() {
    QScrollBar& bar = scrollBar();
    bar.setRange(1, std::max(1, highest_));
    bar.setValue(1);
    zoomMenu_->setEnabled(highest_ > kZoomPorts);
    applyZoom(0);
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
    const auto [from, to] = pickers();
    const int totalSeconds = from.secsTo(to);
    chart().SetAxisMax(Chart2D::Y, checked ? totalSeconds : automaticYMax_);
}

void PortAxisWindow::layoutChart(QSize outer, QSize inner) {
    const int width = outer.width() - twips(360);
    chart().resize(width, inner.height() - twips(1155));
    scrollBar().setGeometry(scrollBar().x(), inner.height() - twips(270), width,
                            scrollBar().height());
}

} // namespace tarrow::reports
