#include "reports/timeofday/widgets/frmcalltraffic.h"

namespace tarrow::reports {

namespace {

TimeOfDayDesign windowDesign() {
    TimeOfDayDesign t;
    ChartWindowDesign& d = t.window;
    d.report = ReportId::CallTraffic;
    d.minimumTwips = QSize(7005, 5415);
    d.caption = QStringLiteral("Call Traffic");
    d.clientTwips = QSize(10110, 7185);
    d.frameName = QStringLiteral("frExclude");
    d.frameCaption = QStringLiteral("Included data in chart:");
    d.frameTwips = QRect(120, 120, 7560, 645);
    d.checkName = QStringLiteral("chkESeries1");
    d.checks = {{QStringLiteral("TRAP Dailouts"), QRect(1485, 255, 1380, 330), true},
                {QStringLiteral("Inbound Calls"), QRect(120, 255, 1260, 330), true},
                {QStringLiteral("Notification Dialouts"), QRect(2940, 255, 1800, 330), true},
                {QStringLiteral("AMIS Dialouts"), QRect(4740, 255, 1380, 330), true},
                {QStringLiteral("MWI Dialouts"), QRect(6180, 255, 1260, 330), true}};
    d.chartTwips = QRect(120, 840, 9915, 6015);
    d.scrollTwips = QRect(120, 6900, 9915, 255);
    d.menus = chartMenus(trafficMenuNames(),
                         timeOfDayZoomMenu(QStringLiteral("Zoom"), QStringLiteral("No Zoom")));
    t.drawCaption = QStringLiteral("Generating report...");
    d.summaryName = QStringLiteral("frmCallTrafficSummary");
    d.summary = summaryOf<frmCallTrafficSummary>();
    return t;
}

SummaryDesign summaryDesign() {
    SummaryDesign d;
    d.caption = QStringLiteral("Call Traffic Summary");
    d.clientTwips = QSize(6630, 4680);
    d.gridTwips = QRect(0, 0, 6615, 4665);
    d.menus = summaryMenus(trafficSummaryMenuNames());
    d.minimumTwips = QSize(6030, 6000);
    d.gridMarginTwips = QSize(135, 705);
    return d;
}

} // namespace

frmCallTraffic::frmCallTraffic(ReportHost& host, QWidget* parent)
    : TimeOfDayWindow(windowDesign(), host, parent) {}

frmCallTrafficSummary::frmCallTrafficSummary(ReportHost& host, const SummaryTable& figures,
                                             const QDate& day, QWidget* parent)
    : SummaryWindow(summaryDesign(), host, figures, day, parent) {}

} // namespace tarrow::reports
