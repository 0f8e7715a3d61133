#include "reports/perport/widgets/frmporttimeuse.h"

#include "reports/widgets/reportcontext.h"

namespace tarrow::reports {

namespace {

PortAxisDesign windowDesign() {
    PortAxisDesign p;
    p.report = PerPortReport::PortTimeUse;
    p.totalTimeOption = true;
    p.totalTimeTwips = QRect(7740, 360, 2475, 195);
    ChartWindowDesign& d = p.window;
    d.name = QStringLiteral("frmPortTimeUse");
    d.caption = QStringLiteral("Port Time Usage");
    d.clientTwips = QSize(10590, 6900);
    d.minimumTwips = QSize(10410, 4980);
    d.frameName = QStringLiteral("frExclude");
    d.frameCaption = QStringLiteral("Included data in chart:");
    d.frameTwips = QRect(60, 120, 7560, 645);
    d.checkName = QStringLiteral("chkESeries1");
    d.checks = {{QStringLiteral("Inbound Calls"), QRect(120, 255, 1260, 330)},
                {QStringLiteral("MWI Dialouts"), QRect(6180, 255, 1260, 330)},
                {QStringLiteral("Notification Dialouts"), QRect(2940, 255, 1800, 330)},
                {QStringLiteral("TRAP Dialouts"), QRect(1485, 255, 1380, 330)},
                {QStringLiteral("AMIS Dialouts"), QRect(4740, 255, 1440, 330)}};
    d.chartTwips = QRect(60, 840, 10455, 5775);
    d.scrollTwips = QRect(60, 6660, 10455, 255);
    d.menus = chartMenus({.file = QStringLiteral("File"),
                          .fileCaption = QStringLiteral("File"),
                          .print = QStringLiteral("PrintChart"),
                          .bitmap = QStringLiteral("SaveChartToBitmap"),
                          .bitmapCaption = QStringLiteral("Save Chart to Bitmap"),
                          .separator1 = QStringLiteral("seperator2"),
                          .summary = QStringLiteral("mnuShowSummary"),
                          .summaryCaption = QStringLiteral("Show Summary Information"),
                          .separator2 = QStringLiteral("spacer"),
                          .exit = QStringLiteral("Exit"),
                          .exitCaption = QStringLiteral("Exit"),
                          .help = QStringLiteral("HelpMenu"),
                          .helpCaption = QStringLiteral("Help"),
                          .helpItem = QStringLiteral("Help"),
                          .separator3 = QStringLiteral("spacer2"),
                          .about = QStringLiteral("About")},
                         portZoomMenu());
    d.headerPrefix = QStringLiteral("Port Time Usage Report for ");
    d.seriesLabels = {QStringLiteral("Incoming Calls"), QStringLiteral("MWI Dialouts"),
                      QStringLiteral("Notification Dialouts"), QStringLiteral("TRAP Dialouts"),
                      QStringLiteral("AMIS Dialouts")};
    d.xTitle = QStringLiteral("Ports");
    d.yTitle = QStringLiteral("Time (seconds)");
    d.errorPrefix = QStringLiteral("Error in form Load procedure for frmPortTimeUse form: ");
    d.bitmapPrefix = QStringLiteral("PortTimeUseGraph_");
    d.summaryName = QStringLiteral("frmPortTimeUseSummary");
    return p;
}

SummaryDesign summaryDesign() {
    SummaryDesign d;
    d.name = QStringLiteral("frmPortTimeUseSummary");
    d.caption = QStringLiteral("Port Time Usage Summary");
    d.clientTwips = QSize(9735, 4695);
    d.gridTwips = QRect(30, 0, 9645, 4665);
    d.menus = summaryMenus({QStringLiteral("mnuSaveToCSV"), QStringLiteral("Save to CSV file"),
                            QStringLiteral("seperator"), QStringLiteral("mnuHelp"),
                            QStringLiteral("Help"), QStringLiteral("seperator2"),
                            QStringLiteral("mnuAbout")});
    d.minimumTwips = QSize(6030, 3000);
    d.gridMarginTwips = QSize(180, 720);
    return d;
}

} // namespace

frmPortTimeUse::frmPortTimeUse(ReportContext& context, QWidget* parent)
    : PortAxisWindow(windowDesign(), context, parent) {}

QWidget* frmPortTimeUse::createSummary() {
    return loadedSummary<frmPortTimeUseSummary>(context());
}

frmPortTimeUseSummary::frmPortTimeUseSummary(ReportContext& context, QWidget* parent)
    : SummaryWindow(
          summaryDesign(), context,
          [&context] { return perPortSummary(context.database, PerPortReport::PortTimeUse); },
          parent) {}

} // namespace tarrow::reports
