#pragma once

#include "load/loadday.h"

#include <QDateTime>
#include <QHash>
#include <QPointer>
#include <QString>
#include <QTime>
#include <QWidget>

#include <functional>
#include <utility>

namespace tarrow::platform {
class StatusDisplay;
class UserDialogs;
} // namespace tarrow::platform
namespace tarrow::store {
class WorkingDatabase;
}

namespace tarrow::reports {

// What the report windows read from the main window, and the windows that are
// open. Nothing else is handed to a report window.
struct ReportContext {
    ReportContext(store::WorkingDatabase& db, const QDateTime& date,
                  const logparse::LoadTotals& loadTotals, platform::UserDialogs& userDialogs,
                  platform::StatusDisplay& statusDisplay)
        : database(db), dataDate(date), totals(loadTotals), dialogs(userDialogs),
          status(statusDisplay) {}

    store::WorkingDatabase& database;
    const QDateTime& dataDate;
    const logparse::LoadTotals& totals;
    platform::UserDialogs& dialogs;
    platform::StatusDisplay& status;
    QString workFolder;            // where the print staging picture is written
    QWidget* mainWindow = nullptr; // report windows open at its position
    // The start and end pickers of a per-port report's tab.
    std::function<std::pair<QTime, QTime>(const QString& report)> pickers;
    std::function<void()> showHelp;
    std::function<void()> showAbout;

    // Each window exists once: an open one is brought forward, otherwise
    // create() makes it, and it is shown.
    QWidget* openOnce(const QString& name, const std::function<QWidget*()>& create);
    [[nodiscard]] QWidget* openWindow(const QString& name) const;

    // The menu items every report window has: Exit closes the window, Help and
    // About open the shared windows. False for any other item.
    bool runCommonMenuItem(int action, QWidget& window) const;

private:
    QHash<QString, QPointer<QWidget>> open_;
};

} // namespace tarrow::reports
