#pragma once

#include "load/appstate.h"
#include "platform/statusdisplay.h"
#include "reports/widgets/reportcontext.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
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

namespace tarrow::app {

enum class Report { PortAvailability, CallDistribution, PortTimeUse, CallTraffic };

// The main window: choose the log folder and day, load it, open a report.
class frmMain : public QMainWindow, public platform::StatusDisplay {
    Q_OBJECT
public:
    frmMain(AppState& state, platform::UserDialogs& dialogs,
            const serverprobe::RegistryApi& registry, serverprobe::ConfigDatabase& config,
            QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: working database, server probe; one message per failing step.
    void startUp();
    // Fills in the log folder and builds the day list, as a browse would.
    void openLogFolder(const QString& folder);
    // What "Run Report" opens for a report; a report without one opens nothing.
    void setReportOpener(Report report, std::function<void()> open);

    // Shows, drives and hides the status frame for long work.
    void showStatus(const QString& caption, qint64 maximum) override;
    void setStatusValue(qint64 value) override;
    void hideStatus() override;

    // What the report windows read, and which of them are open.
    [[nodiscard]] reports::ReportContext& reportContext() { return context_; }
    [[nodiscard]] support::SupportWindows& supportWindows() { return *support_; }
    // "Check for updated version": asks the tools web site and says what it found.
    void checkForUpdate();

    // The report ranges of the two per-port tabs, as minutes of the day.
    [[nodiscard]] std::pair<int, int> reportRange(Report report) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QWidget* buildSourceFrame();
    QWidget* buildStatusFrame();
    QWidget* buildTabs();
    QWidget* buildTab(Report report, const QString& description, const QString& axis,
                      QTimeEdit* start, QTimeEdit* end);

    void browseForLogs();
    bool buildDayList();
    void loadData();
    void runReport(Report report);
    void setReportButtonsEnabled(bool enabled);
    void setBusy(bool busy);
    void shutdown();

    AppState& state_;
    platform::UserDialogs& dialogs_;
    const serverprobe::RegistryApi& registry_;
    serverprobe::ConfigDatabase& config_;
    std::array<std::function<void()>, 4> openers_;
    reports::ReportContext context_;
    std::unique_ptr<support::SupportWindows> support_;

    QLineEdit* txtDiagFilePath = nullptr;
    QPushButton* cmdBrowseForDiagFile = nullptr;
    QComboBox* cmbReportDate = nullptr;
    QPushButton* cmdParseLogs = nullptr;
    QRadioButton* optLoadFromDatabase = nullptr;
    QLineEdit* txtDatabasePath = nullptr;
    QPushButton* cmdBrowseForDatabase = nullptr;
    QGroupBox* frmStoreDatabaseAt = nullptr;
    QGroupBox* frmTitle = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QTabWidget* SSTab1 = nullptr;
    std::array<QPushButton*, 4> reportButtons_{};
    QTimeEdit* CallDistributionStartTime = nullptr;
    QTimeEdit* CallDistributionEndTime = nullptr;
    QTimeEdit* PortTimeUseStartTime = nullptr;
    QTimeEdit* PortTimeUseEndTime = nullptr;
    QAction* mnuExit = nullptr;
};

} // namespace tarrow::app
