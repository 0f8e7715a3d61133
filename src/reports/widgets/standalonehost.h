#pragma once

#include "platform/userdialogs.h"
#include "reports/widgets/reporthost.h"

namespace tarrow::reports {

// A host for report windows without a main window: help and About do nothing.
class StandaloneHost : public ReportHost {
public:
    StandaloneHost(platform::UserDialogs& dialogs, platform::StatusDisplay& status)
        : dialogs_(dialogs), status_(status) {}

    QString folder; // the work folder

    platform::UserDialogs& dialogs() override { return dialogs_; }
    platform::StatusDisplay& status() override { return status_; }
    OpenWindows& windows() override { return windows_; }
    QString workFolder() const override { return folder; }
    QWidget* mainWindow() const override { return nullptr; }
    void showHelp() override {}
    void showAbout() override {}

private:
    platform::UserDialogs& dialogs_;
    platform::StatusDisplay& status_;
    OpenWindows windows_;
};

} // namespace tarrow::reports
