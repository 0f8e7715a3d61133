// The main window's report side: one tab per report of the report table, and
// what the report windows read from the main window as their host.
#include "app/widgets/frmmain.h"

#include "app/reportrun.h"
#include "app/startup.h"
#include "app/widgets/busypointer.h"
#include "app/widgets/pdfreport.h"
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

namespace {

QTimeEdit* timePicker(const QString& name, QTime initial) {
    auto* picker = new QTimeEdit(initial);
    picker->setObjectName(name);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return picker;
}

QLabel* wrapped(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

} // namespace

QGroupBox* frmMain::rangeBox(const QString& title, QWidget* from, const QString& middle,
                             QWidget* to) {
    auto* range = new QGroupBox(title);
    auto* row = new QHBoxLayout(range);
    row->addWidget(new QLabel(QStringLiteral("From")));
    row->addWidget(from);
    row->addWidget(new QLabel(middle));
    row->addWidget(to);
    row->addStretch();
    return range;
}

QGroupBox* frmMain::sizingBox(QSpinBox* ports, QComboBox* target) {
    auto* box = new QGroupBox(QStringLiteral("Size the ports for:"));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Ports that take calls"), ports);
    form->addRow(QStringLiteral("Target blocking"), target);
    return box;
}

namespace {} // namespace

QWidget* frmMain::buildTabs() {
    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    for (const reports::ReportEntry& report : reports::reportTable())
        SSTab1->addTab(buildTab(report), report.tabCaption);
    SSTab1->addTab(buildHistoryTab(), QStringLiteral("History"));
    return SSTab1;
}

QWidget* frmMain::buildTab(const reports::ReportEntry& report) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(wrapped(report.description));
    layout->addWidget(wrapped(report.axisText));
    if (report.takesRange) {
        const reports::TimeRange whole;
        QTimeEdit* start = timePicker(report.rangeStartName, whole.from);
        QTimeEdit* end = timePicker(report.rangeEndName, whole.to);
        rangePickers_[report.id] = {start, end};
        layout->addWidget(
            rangeBox(QStringLiteral("Run report for calls that started between these times:"),
                     start, QStringLiteral("through"), end));
    }
    if (report.takesSizing)
        layout->addWidget(buildSizingChoice());
    layout->addStretch();
    auto* run = new QPushButton(QStringLiteral("Run Report"));
    run->setObjectName(report.buttonName);
    run->setEnabled(false);
    reportButtons_[report.id] = run;
    const reports::ReportId id = report.id;
    connect(run, &QPushButton::clicked, this, [this, id] { runReport(id); });
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(run);
    layout->addLayout(buttonRow);
    return page;
}

QWidget* frmMain::buildSizingChoice() {
    spnPortsInService = reports::portsInServiceBox(QStringLiteral("spnPortsInService"));
    cmbTargetBlocking = reports::targetBlockingBox(QStringLiteral("cmbTargetBlocking"));
    return sizingBox(spnPortsInService, cmbTargetBlocking);
}

reports::SizingChoice frmMain::sizing() const {
    if (!spnPortsInService)
        return {};
    return {spnPortsInService->value(), reports::chosenTarget(*cmbTargetBlocking), 0};
}

void frmMain::setReportOpener(reports::ReportId report, std::function<void()> open) {
    openers_[report] = std::move(open);
}

reports::TimeRange frmMain::range(reports::ReportId report) const {
    const auto pickers = rangePickers_.find(report);
    if (pickers == rangePickers_.end())
        return {};
    return {pickers->second.first->time(), pickers->second.second->time()};
}

std::pair<int, int> frmMain::reportRange(reports::ReportId report) const {
    if (!rangePickers_.contains(report))
        return {0, 1439};
    const reports::TimeRange r = range(report);
    return {r.startMinute(), r.endMinute()};
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
    for (const auto& [id, run] : reportButtons_)
        run->setEnabled(enabled);
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
