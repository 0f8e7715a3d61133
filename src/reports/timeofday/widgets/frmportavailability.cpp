#include "reports/timeofday/widgets/frmportavailability.h"

#include "platform/statusdisplay.h"
#include "platform/userdialogs.h"
#include "reports/widgets/reportcontext.h"
#include "reports/timeofday/hourlysummary.h"
#include "reports/timeofday/portavailability.h"

namespace tarrow::reports {

namespace {

TimeOfDayDesign windowDesign() {
    TimeOfDayDesign t;
    ChartWindowDesign& d = t.window;
    d.minimumTwips = QSize(7005, 5415);
    d.xTitle = QStringLiteral("Time");
    d.name = QStringLiteral("frmPortAvailability");
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
    d.headerPrefix = QStringLiteral("Port Availability Report for ");
    d.seriesLabels = {QStringLiteral("Lines available to take calls"),
                      QStringLiteral("Ports currently busy")};
    d.yTitle = QStringLiteral("Ports Available Or In Use");
    d.legendTitle = QStringLiteral("Legend");
    d.errorPrefix = QStringLiteral("Error in frmPortAvailability form Load routine: ");
    t.drawCaption = QStringLiteral("Generating report, please wait...");
    t.seriesColumns = {MinLinesAvailable, MaxLinesInUse};
    d.bitmapPrefix = QStringLiteral("PortAvailabilityGraph_");
    d.summaryName = QStringLiteral("frmPortAvailabilitySummary");
    return t;
}

SummaryDesign summaryDesign() {
    SummaryDesign d;
    d.name = QStringLiteral("frmPortAvailabilitySummary");
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

frmPortAvailability::frmPortAvailability(ReportContext& context, QWidget* parent)
    : TimeOfDayWindow(windowDesign(), context, parent) {}

MinuteTable frmPortAvailability::computeFigures() {
    const PortAvailabilityResult result =
        computePortAvailability(context().database, context().totals.peakAvailable, [this] {
            context().status.showStatus(QStringLiteral("Crunching database..."), kMinutesPerDay);
        });
    if (result.computed && result.noActivity)
        context().dialogs.message(noActivityMessage());
    return result.table;
}

QWidget* frmPortAvailability::createSummary() {
    return loadedSummary<frmPortAvailabilitySummary>(context());
}

frmPortAvailabilitySummary::frmPortAvailabilitySummary(ReportContext& context, QWidget* parent)
    : SummaryWindow(
          summaryDesign(), context,
          [&context] {
              return portAvailabilitySummary(
                  computePortAvailability(context.database, context.totals.peakAvailable).table);
          },
          parent) {}

} // namespace tarrow::reports
