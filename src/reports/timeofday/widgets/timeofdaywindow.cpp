#include "reports/timeofday/widgets/timeofdaywindow.h"

#include "charts/widgets/chart2d.h"
#include "platform/statusdisplay.h"
#include "platform/widgets/twips.h"
#include "reports/timeofday/timeofdaychart.h"
#include "reports/widgets/reporthost.h"

#include <QAction>
#include <QLocale>
#include <QScrollBar>

#include <algorithm>

namespace tarrow::reports {

using charts::Chart2D;
using platform::twips;

ChartMenuNames trafficMenuNames() {
    return {.file = QStringLiteral("File"),
            .fileCaption = QStringLiteral("File"),
            .print = QStringLiteral("PrintChart"),
            .bitmap = QStringLiteral("SaveChartToBitmap"),
            .bitmapCaption = QStringLiteral("Save chart to Bitmap"),
            .separator1 = QStringLiteral("seperator2"),
            .summary = QStringLiteral("mnuSummaryData"),
            .summaryCaption = QStringLiteral("Show summary information"),
            .separator2 = QStringLiteral("spacer"),
            .exit = QStringLiteral("Exit"),
            .exitCaption = QStringLiteral("Exit"),
            .help = QStringLiteral("HelpMenu"),
            .helpCaption = QStringLiteral("Help"),
            .helpItem = QStringLiteral("Help"),
            .separator3 = QStringLiteral("spacer2"),
            .about = QStringLiteral("About")};
}

SummaryMenuNames trafficSummaryMenuNames() {
    return {QStringLiteral("mnuSaveToCSV"), QStringLiteral("Save to CSV file"),
            QStringLiteral("seperator"),    QStringLiteral("mnuHelp"),
            QStringLiteral("Help"),         QStringLiteral("seperator2"),
            QStringLiteral("mnuAbout")};
}

MenuDesign timeOfDayZoomMenu(const QString& menuName, const QString& noZoom) {
    const QString item = QStringLiteral("mnuZoom");
    return {menuName,
            QStringLiteral("Zoom"),
            {{item, noZoom, MenuAction::Zoom, 0},
             {item, QStringLiteral("Show 12 Hours"), MenuAction::Zoom, 1},
             {item, QStringLiteral("Show 4 Hours"), MenuAction::Zoom, 2},
             {item, QStringLiteral("Show 1 Hour"), MenuAction::Zoom, 3}}};
}

TimeOfDayWindow::TimeOfDayWindow(TimeOfDayDesign design, ReportHost& host, QWidget* parent)
    : ChartWindow(design.window, host, parent), timeDesign_(std::move(design)) {
    for (QAction* action : menuActions())
        if (action->objectName().startsWith(QStringLiteral("mnuZoom_"))) {
            action->setCheckable(true);
            zoomItems_.append(action);
        }
}

void TimeOfDayWindow::beforeDraw() {
    scrollBar().setRange(0, kMinutesPerDay);
}

void TimeOfDayWindow::draw(const ReportDocument&) {
    host().status().showStatus(timeDesign_.drawCaption, kMinutesPerDay);
    applyZoom(timeDesign_.openingZoom);
    scrollBar().setValue(timeDesign_.openingStart);
    host().status().setStatusValue(kMinutesPerDay);
}

void TimeOfDayWindow::applyZoom(int level) {
    for (int i = 0; i < zoomItems_.size(); ++i)
        zoomItems_[i]->setChecked(i == level);
    QScrollBar& bar = scrollBar();
    const int v = bar.value();
    const int span = kZoomSpans[level];
    bar.setPageStep(span);
    if (level > 0)
        bar.setSingleStep(kZoomSmallSteps[level]);
    bar.setEnabled(level > 0);
    // The whole day leaves the bar where it is, so that zooming in again
    // returns to the stretch last looked at rather than to 0:00.
    const int start = level == 0 ? 0 : std::min(v, kMinutesPerDay - span);
    if (level > 0)
        bar.setValue(start); // runs the scroll handler when the value changes
    setTimeLabels(span);
    chart().SetAxisMin(Chart2D::X, start);
    chart().SetAxisMax(Chart2D::X, start + span);
    bar.update();
}

void TimeOfDayWindow::onScroll(int value) {
    // The whole day shows whatever the bar holds.
    if (!scrollBar().isEnabled())
        return;
    Chart2D& c = chart();
    c.SetBatchMode(true);
    const int span = scrollBar().pageStep();
    value = std::min(value, kMinutesPerDay);
    int start = value;
    int end = value + span - 1;
    if (end > kMinutesPerDay) {
        end = kMinutesPerDay;
        start = kMinutesPerDay - span;
    }
    c.SetAxisMin(Chart2D::X, start - 1);
    c.SetAxisMax(Chart2D::X, end - 1);
    c.SetBatchMode(false);
}

void TimeOfDayWindow::setTimeLabels(int span) {
    chart().ClearValueLabels(Chart2D::X);
    for (const auto& [minute, text] : timeLabels(span))
        chart().AddValueLabel(Chart2D::X, minute, text);
}

void TimeOfDayWindow::layoutChart(QSize outer, QSize) {
    const int width = outer.width() - twips(400);
    const int height = outer.height() - twips(1863);
    chart().resize(width, height);
    scrollBar().setGeometry(scrollBar().x(), chart().y() + height + twips(40), width,
                            scrollBar().height());
}

} // namespace tarrow::reports
