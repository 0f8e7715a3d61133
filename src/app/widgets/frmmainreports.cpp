// The main window's report side: running a report into its window, the PDF,
// and what the report windows use of the main window as their host.
#include "app/widgets/frmmain.h"

#include "app/reportrun.h"
#include "app/startup.h"
#include "app/widgets/pdfreport.h"
#include "app/widgets/reporttabs.h"
#include "platform/fileoutput.h"
#include "platform/shownpath.h"
#include "platform/userdialogs.h"
#include "reports/history/widgets/frmhistory.h"
#include "reports/widgets/chartwindow.h"
#include "reports/widgets/reportwindows.h"
#include "support/widgets/supportwindows.h"

#include <QDir>
#include <QFileInfo>

namespace tarrow::app {

reports::TimeRange frmMain::range(reports::ReportId report) const {
    return tabs_->range(report);
}

std::pair<int, int> frmMain::reportRange(reports::ReportId report) const {
    return tabs_->reportRange(report);
}

reports::SizingChoice frmMain::sizing() const {
    return tabs_->sizing();
}

void frmMain::setReportOpener(reports::ReportId report, std::function<void()> open) {
    openers_[report] = std::move(open);
}

QString frmMain::workFolder() const {
    return state_.dataFolder;
}
QWidget* frmMain::mainWindow() const {
    return const_cast<frmMain*>(this);
}
void frmMain::databaseDamaged(const QString& found) {
    const platform::Result replaced = app::replaceDamagedDatabase(state_);
    setReportButtonsEnabled(false);
    dialogs_.message(replaced.ok() ? app::damageReplacedMessage(found) +
                                         QStringLiteral(" Load the day again.")
                                   : found + QLatin1Char(' ') + replaced.error(),
                     {}, platform::MessageIcon::Warning);
}
void frmMain::showHelp() {
    support_->showHelp();
}
void frmMain::showAbout() {
    support_->showAbout();
}

void frmMain::runReport(reports::ReportId report) {
    if (reports::reportEntry(report).takesRange) {
        const auto [start, end] = reportRange(report);
        if (start >= end) {
            dialogs_.message(QStringLiteral(
                "The end time must be greater than the start time for a report to be generated!"));
            return;
        }
    }
    if (const auto& open = openers_[report])
        open();
}

void frmMain::openReportWindow(reports::ReportId id) {
    const reports::ReportEntry& report = reports::reportEntry(id);
    auto* open = qobject_cast<reports::ChartWindow*>(windows_.find(report.windowName));
    // A window exists once; it is only brought forward while it shows the
    // loaded day with the tab's choices, and computed anew once they changed.
    if (!open || !showsCurrentChoices(*open)) {
        const std::optional<reports::ReportDocument> document = computeReport(report);
        if (!document)
            return;
        if (open)
            open->showDocument(*document);
        else
            open = reports::createReportWindow(*document, *this, this).release(); // owned by this
    }
    windows_.openOnce(report.windowName, [open]() -> QWidget* { return open; });
}

std::optional<reports::ReportDocument> frmMain::computeReport(const reports::ReportEntry& report) {
    app::ReportRun run = app::runReport(state_, report, {range(report.id), sizing()}, this);
    if (!run.document) {
        hideStatus();
        if (run.damaged)
            databaseDamaged(run.error);
        else
            dialogs_.message(run.error);
    }
    return std::move(run.document);
}

bool frmMain::showsCurrentChoices(const reports::ChartWindow& window) const {
    const reports::ReportEntry& report = reports::reportEntry(window.report());
    const reports::ReportParams& shown = window.shownParams();
    const reports::TimeRange now = range(report.id);
    const reports::SizingChoice chosen = sizing();
    return window.shownDay() == state_.day.dataDate.date() && shown.range.from == now.from &&
           shown.range.to == now.to &&
           (!report.takesSizing ||
            (shown.sizing.ports == chosen.ports && shown.sizing.gos == chosen.gos));
}

void frmMain::refreshReportWindows(bool dayLoaded) {
    for (const reports::ReportEntry& report : reports::reportTable()) {
        auto* open = qobject_cast<reports::ChartWindow*>(windows_.find(report.windowName));
        if (!open)
            continue;
        // A window of a day no longer loaded shows the new day, or goes when
        // there is none.
        std::optional<reports::ReportDocument> document;
        if (dayLoaded)
            document = computeReport(report);
        if (document)
            open->showDocument(*document);
        else
            open->close();
    }
}

void frmMain::setReportButtonsEnabled(bool enabled) {
    tabs_->setReportsEnabled(enabled);
    mnuExportPdf->setEnabled(enabled);
}

void frmMain::exportPdfReport() {
    const QDate day = state_.day.dataDate.date();
    QString path =
        dialogs_.saveFile(QStringLiteral("Export PDF Report"),
                          QDir(platform::defaultSaveFolder()).filePath(app::pdfReportFileName(day)),
                          QStringLiteral("PDF Files (*.pdf)"), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    // The figures are computed on the job's thread; the pages are drawn here,
    // where the charts can be.
    std::map<reports::ReportId, reports::TimeRange> ranges;
    for (const reports::ReportEntry& report : reports::reportTable())
        ranges[report.id] = range(report.id);
    auto computed = std::make_shared<app::ComputedReports>();
    showStatus(QStringLiteral("Writing the PDF report..."), 0);
    startJob(
        [this, computed, ranges, choice = sizing()] {
            *computed = app::computeEveryReport(
                state_, [&ranges](reports::ReportId id) { return ranges.at(id); }, choice);
        },
        [this, computed, path] { writePdf(*computed, path); });
}

void frmMain::writePdf(const app::ComputedReports& computed, const QString& path) {
    for (const QString& error : computed.errors)
        dialogs_.message(error);
    // A history run in the History window closes the report.
    std::optional<app::PdfHistory> history;
    if (const reports::frmHistory* shown = historyWindow())
        history = app::PdfHistory{shown->days(), shown->summary(), shown->gos()};
    platform::Result written;
    if (!whileBusy([&] {
            showStatus(QStringLiteral("Writing the PDF report..."), 0);
            written = app::writePdfReport(computed, path, history ? &*history : nullptr);
        }))
        return;
    if (written.ok())
        dialogs_.message(
            QStringLiteral("The report was saved as \"%1\".").arg(platform::shownPath(path)));
    else
        dialogs_.message(written.error(), {}, platform::MessageIcon::Warning);
}

} // namespace tarrow::app
