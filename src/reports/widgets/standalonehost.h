#pragma once

#include "platform/userdialogs.h"
#include "reports/widgets/reporthost.h"

#include <map>

namespace tarrow::reports {

// A host for report windows without a main window: they read the given day
// and the ranges set here, and help and About do nothing.
class StandaloneHost : public ReportHost {
public:
    StandaloneHost(store::WorkingDatabase& database, const load::LoadedDay& day,
                   platform::UserDialogs& dialogs, platform::StatusDisplay& status)
        : database_(database), day_(day), dialogs_(dialogs), status_(status) {}

    std::map<ReportId, TimeRange> ranges; // the whole day when not set
    QString folder;                       // the work folder
    SizingChoice sizingChoice;            // of the Capacity report

    store::WorkingDatabase& database() override { return database_; }
    const load::LoadedDay& day() const override { return day_; }
    platform::UserDialogs& dialogs() override { return dialogs_; }
    platform::StatusDisplay& status() override { return status_; }
    OpenWindows& windows() override { return windows_; }
    TimeRange range(ReportId report) const override {
        const auto it = ranges.find(report);
        return it == ranges.end() ? TimeRange{} : it->second;
    }
    SizingChoice sizing() const override { return sizingChoice; }
    QString workFolder() const override { return folder; }
    QWidget* mainWindow() const override { return nullptr; }
    // Without a main window there is no day to drop: the damage is only told.
    void databaseDamaged(const QString& found) override { dialogs_.message(found); }
    void showHelp() override {}
    void showAbout() override {}

private:
    store::WorkingDatabase& database_;
    const load::LoadedDay& day_;
    platform::UserDialogs& dialogs_;
    platform::StatusDisplay& status_;
    OpenWindows windows_;
};

} // namespace tarrow::reports
