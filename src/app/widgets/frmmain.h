#pragma once

#include "load/appstate.h"
#include "logparse/logfiles.h"
#include "platform/statusdisplay.h"
#include "reports/history/historysummary.h"
#include "reports/reporttable.h"
#include "reports/widgets/reporthost.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTimeEdit;

namespace tarrow::platform {
class UserDialogs;
}
namespace tarrow::serverprobe {
class ConfigDatabase;
class RegistryApi;
} // namespace tarrow::serverprobe

namespace tarrow::support {
class SupportWindows;
}
namespace tarrow::reports {
class ChartWindow;
class frmHistory;
} // namespace tarrow::reports

namespace tarrow::load {
struct LoadOutcome;
}

namespace tarrow::app {

class LongJob;
class ReportTabs;
struct ComputedReports;

// The main window: choose the log folder and day, load it, open a report. It
// hosts the report windows: they read the loaded day and its tabs' ranges.
class frmMain : public QMainWindow, public platform::StatusDisplay, public reports::ReportHost {
    Q_OBJECT
public:
    frmMain(load::AppState& state, platform::UserDialogs& dialogs,
            const serverprobe::RegistryApi& registry, serverprobe::ConfigDatabase& config,
            QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: working database, server probe; one message per failing step.
    void startUp();
    // Fills in the log folder and builds the day list, as a browse would.
    void openLogFolder(const QString& folder);
    // What "Run Report" opens for a report; a report without one opens nothing.
    void setReportOpener(reports::ReportId report, std::function<void()> open);

    // Shows, drives and hides the status frame for long work.
    void showStatus(const QString& caption, qint64 maximum) override;
    void setStatusValue(qint64 value) override;
    void hideStatus() override;

    // What the report windows use of the main window.
    [[nodiscard]] platform::UserDialogs& dialogs() override { return dialogs_; }
    [[nodiscard]] platform::StatusDisplay& status() override { return *this; }
    [[nodiscard]] reports::OpenWindows& windows() override { return windows_; }
    [[nodiscard]] QString workFolder() const override;
    [[nodiscard]] QWidget* mainWindow() const override;
    void showHelp() override;
    void showAbout() override;
    [[nodiscard]] support::SupportWindows& supportWindows() { return *support_; }
    // "Check for updated version": asks the tools web site and says what it found.
    void checkForUpdate();

    // The History window once a range has been run in it, else nothing.
    [[nodiscard]] const reports::frmHistory* historyWindow() const;

    // The report range of a tab, as minutes of the day.
    [[nodiscard]] std::pair<int, int> reportRange(reports::ReportId report) const;
    // The range on the report's tab; the whole day for reports without one.
    [[nodiscard]] reports::TimeRange range(reports::ReportId report) const;
    // The ports in service and target blocking chosen on the Capacity tab.
    [[nodiscard]] reports::SizingChoice sizing() const;

    // Runs long work with the window busy (busy pointer, only the status
    // frame alive) and the status frame hidden after, however the work ends.
    // Whatever the work throws stops here with one message. False when the
    // work failed so, or the window was closed meanwhile: nothing more is to
    // be said or shown.
    bool whileBusy(const std::function<void()>& work);
    // Lets events through until the long work under way (a load, a History
    // run, the PDF) has ended, its messages told.
    void waitForWork();
    // Called on the load's thread as each file of a load starts (a seam for
    // tests that act while a load runs).
    void setLoadFileHook(std::function<void(const QString& path)> hook) {
        loadFileHook_ = std::move(hook);
    }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QWidget* buildSourceFrame();
    QWidget* buildStatusFrame();
    // "Run Report" on the History tab: reads the range and shows the History window.
    void runHistory();
    // A history run's days in the History window, or why there are none.
    void showHistory(std::vector<reports::HistoryDay> days, const reports::HistorySummary& summary);
    // A day clicked in the History window: chosen in the day list and loaded.
    void loadChosenDay(const QDate& day);

    void browseForLogs();
    bool buildDayList();
    void loadData();
    void showLoadOutcome(const load::LoadOutcome& outcome);
    // Starts long work on the job's thread, the window busy until it ends;
    // done follows on this thread when it finished.
    bool startJob(std::function<void()> work, std::function<void()> done);
    // Called from a job's thread: the change is made on this one instead.
    bool onWorker(std::function<void()> change);
    void runReport(reports::ReportId report);
    // Opens the report's window with its figures, or brings the open one
    // forward, computed anew when the day or the tab's choices changed.
    void openReportWindow(reports::ReportId report);
    // The report for the loaded day and the tab's choices; failures told.
    std::optional<reports::ReportDocument> computeReport(const reports::ReportEntry& report);
    [[nodiscard]] bool showsCurrentChoices(const reports::ChartWindow& window) const;
    // After a load: open report windows show the new day, or close without one.
    void refreshReportWindows(bool dayLoaded);
    // A report found the working database damaged: it is replaced and the
    // user told, with the report's error as what was found.
    void databaseDamaged(const QString& found);
    // "Export PDF Report...": every report of the loaded day into one PDF.
    void exportPdfReport();
    void writePdf(const ComputedReports& computed, const QString& path);
    void setReportButtonsEnabled(bool enabled);
    void setBusy(bool busy);
    // Whether long work (a load, a History run, the PDF, the update check) runs.
    [[nodiscard]] bool working() const;
    // Tells the long work under way to stop ("Cancel", or closing the window).
    void cancelWork();
    // Closes the window when that was asked while the work ran.
    void workEnded();
    void shutdown();

    load::AppState& state_;
    platform::UserDialogs& dialogs_;
    const serverprobe::RegistryApi& registry_;
    serverprobe::ConfigDatabase& config_;
    std::map<reports::ReportId, std::function<void()>> openers_;
    reports::OpenWindows windows_;
    std::unique_ptr<support::SupportWindows> support_;

    QLineEdit* txtDiagFilePath = nullptr;
    QString listedFolder_; // the folder the day list is of
    QPushButton* cmdBrowseForDiagFile = nullptr;
    QComboBox* cmbReportDate = nullptr;
    QPushButton* cmdParseLogs = nullptr;
    QRadioButton* optLoadFromDatabase = nullptr;
    QLineEdit* txtDatabasePath = nullptr;
    QPushButton* cmdBrowseForDatabase = nullptr;
    QGroupBox* frmStoreDatabaseAt = nullptr;
    QGroupBox* frmTitle = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QPushButton* cmdCancel = nullptr;
    LongJob* job_ = nullptr;
    std::function<void(const QString& path)> loadFileHook_;
    bool busy_ = false; // short work under whileBusy
    bool closeAsked_ = false;
    ReportTabs* tabs_ = nullptr;
    std::unique_ptr<reports::frmHistory> history_;
    QAction* mnuExit = nullptr;
    QAction* mnuExportPdf = nullptr;
};

} // namespace tarrow::app
