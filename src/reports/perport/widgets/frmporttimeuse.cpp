#include "reports/perport/widgets/frmporttimeuse.h"

namespace tarrow::reports {

namespace {

PortAxisDesign windowDesign() {
    PortAxisDesign p;
    p.totalTimeOption = true;
    p.totalTimeTwips = QRect(7740, 360, 2475, 195);
    ChartWindowDesign& d = p.window;
    d.report = ReportId::PortTimeUse;
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
    d.summaryName = QStringLiteral("frmPortTimeUseSummary");
    d.summary = summaryOf<frmPortTimeUseSummary>();
    return p;
}

SummaryDesign summaryDesign() {
    SummaryDesign d;
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

frmPortTimeUse::frmPortTimeUse(ReportHost& host, QWidget* parent)
    : PortAxisWindow(windowDesign(), host, parent) {}

frmPortTimeUseSummary::frmPortTimeUseSummary(ReportHost& host, const SummaryTable& figures,
                                             const QDate& day, QWidget* parent)
    : SummaryWindow(summaryDesign(), host, figures, day, parent) {}

} // namespace tarrow::reports
