#include "reports/timeofday/widgets/frmportavailability.h"

namespace tarrow::reports {

namespace {

TimeOfDayDesign windowDesign() {
    TimeOfDayDesign t;
    ChartWindowDesign& d = t.window;
    d.report = ReportId::PortAvailability;
    d.minimumTwips = QSize(7005, 5415);
    d.caption = QStringLiteral("Port Availability Report");
    d.clientTwips = QSize(9285, 7185);
    d.frameName = QStringLiteral("Frame1");
    d.frameCaption = QStringLiteral("Include Data In Chart");
    d.frameTwips = QRect(120, 180, 4695, 555);
    d.checkName = QStringLiteral("chkShowData");
    d.checks = {{QStringLiteral("Ports available to take calls"), QRect(240, 240, 2235, 195), true},
                {QStringLiteral("Ports currently busy"), QRect(2760, 240, 1755, 195), false}};
    d.chartTwips = QRect(120, 840, 9015, 6015);
    d.scrollTwips = QRect(120, 6900, 9015, 255);
    d.menus =
        chartMenus({.file = QStringLiteral("mnuFile"),
                    .fileCaption = QStringLiteral("&File"),
                    .print = QStringLiteral("mnuPrintChart"),
                    .bitmap = QStringLiteral("SaveChartToBitmap"),
                    .bitmapCaption = QStringLiteral("Save Chart to Bitmap"),
                    .separator1 = QStringLiteral("mnuSkip2"),
                    .summary = QStringLiteral("mnuSummaryInfo"),
                    .summaryCaption = QStringLiteral("Show Summary Information"),
                    .separator2 = QStringLiteral("mnuSkip1"),
                    .exit = QStringLiteral("mnuExit"),
                    .exitCaption = QStringLiteral("E&xit"),
                    .help = QStringLiteral("mnuHelp"),
                    .helpCaption = QStringLiteral("&Help"),
                    .helpItem = QStringLiteral("mnuShowHelp"),
                    .separator3 = QStringLiteral("mnuSkip"),
                    .about = QStringLiteral("mnuAbout"),
                    .aboutFirst = true},
                   timeOfDayZoomMenu(QStringLiteral("mnuZoomMenu"), QStringLiteral("no Zoom")));
    t.drawCaption = QStringLiteral("Generating report, please wait...");
    d.summaryName = QStringLiteral("frmPortAvailabilitySummary");
    d.summary = summaryOf<frmPortAvailabilitySummary>();
    return t;
}

SummaryDesign summaryDesign() {
    SummaryDesign d;
    d.caption = QStringLiteral("Port Availability Summary Information");
    d.clientTwips = QSize(5910, 4890);
    d.gridTwips = QRect(60, 180, 5775, 4635);
    d.menus = summaryMenus({QStringLiteral("mnuSaveAsCSV"), QStringLiteral("Save As CSV File"),
                            QStringLiteral("mnuSeperator"), QStringLiteral("mnuHelpHeader"),
                            QStringLiteral("mnuHelp"), QStringLiteral("mnuSeperator2"),
                            QStringLiteral("mnuAbout")});
    d.minimumTwips = QSize(6030, 6000);
    d.gridMarginTwips = QSize(180, 945);
    return d;
}

} // namespace

frmPortAvailability::frmPortAvailability(ReportHost& host, QWidget* parent)
    : TimeOfDayWindow(windowDesign(), host, parent) {}

frmPortAvailabilitySummary::frmPortAvailabilitySummary(ReportHost& host,
                                                       const SummaryTable& figures,
                                                       const QDate& day, QWidget* parent)
    : SummaryWindow(summaryDesign(), host, figures, day, parent) {}

} // namespace tarrow::reports
