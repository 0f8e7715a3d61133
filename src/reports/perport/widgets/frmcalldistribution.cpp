#include "reports/perport/widgets/frmcalldistribution.h"

namespace tarrow::reports {

namespace {

PortAxisDesign windowDesign() {
    PortAxisDesign p;
    ChartWindowDesign& d = p.window;
    d.report = ReportId::CallDistribution;
    d.caption = QStringLiteral("Call Distribution Report");
    d.clientTwips = QSize(10155, 7170);
    d.minimumTwips = QSize(7170, 4980);
    d.frameName = QStringLiteral("frExclude");
    d.frameCaption = QStringLiteral("Included data in chart:");
    d.frameTwips = QRect(120, 120, 7560, 645);
    d.checkName = QStringLiteral("chkESeries1");
    d.checks = {{QStringLiteral("Inbound Calls"), QRect(120, 255, 1260, 330)},
                {QStringLiteral("MWI Dialouts"), QRect(6180, 255, 1260, 330)},
                {QStringLiteral("Notification Dialouts"), QRect(2940, 255, 1800, 330)},
                {QStringLiteral("TRAP Dailouts"), QRect(1485, 255, 1380, 330)},
                {QStringLiteral("AMIS Dialouts"), QRect(4740, 255, 1560, 330)}};
    d.chartTwips = QRect(120, 840, 9915, 6015);
    d.scrollTwips = QRect(120, 6900, 9915, 255);
    d.menus = chartMenus({.file = QStringLiteral("mnuFile"),
                          .fileCaption = QStringLiteral("File"),
                          .print = QStringLiteral("mnuPrintChart"),
                          .bitmap = QStringLiteral("SaveChartAsBitmap"),
                          .bitmapCaption = QStringLiteral("Save chart to bitmap"),
                          .separator1 = QStringLiteral("mnuSkip2"),
                          .summary = QStringLiteral("mnuSummaryInfo"),
                          .summaryCaption = QStringLiteral("Show Summary Information"),
                          .separator2 = QStringLiteral("mnuSkip1"),
                          .exit = QStringLiteral("mnuExit"),
                          .exitCaption = QStringLiteral("Exit"),
                          .help = QStringLiteral("mnuHelp"),
                          .helpCaption = QStringLiteral("Help"),
                          .helpItem = QStringLiteral("mnuHelpFile"),
                          .separator3 = QStringLiteral("mnuSkip"),
                          .about = QStringLiteral("mnuAbout")},
                         portZoomMenu());
    d.summaryName = QStringLiteral("frmCallDistributionSummary");
    d.summary = summaryOf<frmCallDistributionSummary>();
    return p;
}

SummaryDesign summaryDesign() {
    SummaryDesign d;
    d.caption = QStringLiteral("Call Distribution Summary");
    d.clientTwips = QSize(6645, 4725);
    d.gridTwips = QRect(30, 30, 6585, 4665);
    d.menus = summaryMenus({QStringLiteral("mnuSaveToCSV"), QStringLiteral("Save as CSV File"),
                            QStringLiteral("seperator"), QStringLiteral("mnuHelp"),
                            QStringLiteral("Help"), QStringLiteral("seperator2"),
                            QStringLiteral("About")});
    d.minimumTwips = QSize(6030, 3000);
    d.gridMarginTwips = QSize(180, 750);
    return d;
}

} // namespace

frmCallDistribution::frmCallDistribution(ReportHost& host, QWidget* parent)
    : PortAxisWindow(windowDesign(), host, parent) {}

frmCallDistributionSummary::frmCallDistributionSummary(ReportHost& host,
                                                       const SummaryTable& figures,
                                                       const QDate& day, QWidget* parent)
    : SummaryWindow(summaryDesign(), host, figures, day, parent) {}

} // namespace tarrow::reports
