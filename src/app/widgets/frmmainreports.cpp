// The main window's report side: running a report into its window, the PDF,
// and what the report windows use of the main window as their host.
#include "app/widgets/frmmain.h"

#include "app/reportrun.h"
#include "app/startup.h"
#include "app/widgets/busypointer.h"
#include "app/widgets/pdfreport.h"
#include "app/widgets/reporttabs.h"
#include "load/loadedday.h"
#include "platform/fileoutput.h"
#include "platform/shownpath.h"
#include "platform/userdialogs.h"
#include "reports/capacity/widgets/sizingcontrols.h"
#include "reports/history/widgets/frmhistory.h"
#include "reports/widgets/chartwindow.h"
#include "reports/widgets/reportwindows.h"
#include "support/widgets/supportwindows.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

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
    if (windows_.find(report.windowName)) {
        windows_.openOnce(report.windowName, [] { return nullptr; });
        return;
    }
    const app::ReportRun run = app::runReport(state_, report, {range(id), sizing()}, this);
    if (!run.document) {
        hideStatus();
        if (run.damaged)
            databaseDamaged(run.error);
        else
            dialogs_.message(run.error);
        return;
    }
    windows_.openOnce(report.windowName, [&]() -> QWidget* {
        return reports::createReportWindow(*run.document, *this, this).release(); // owned by this
    });
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
