#pragma once

#include "reports/reporttable.h"

#include <QHash>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace tarrow::load {
struct LoadedDay;
}
namespace tarrow::platform {
class StatusDisplay;
class UserDialogs;
} // namespace tarrow::platform
namespace tarrow::store {
class WorkingDatabase;
}

namespace tarrow::reports {

// Report and summary windows that exist once: an open one is brought forward,
// otherwise create() makes it and it is shown. The windows are owned by the
// parent create() gives them and deleted when closed.
class OpenWindows {
public:
    QWidget* openOnce(const QString& name, const std::function<QWidget*()>& create);
    [[nodiscard]] QWidget* find(const QString& name) const;

private:
    QHash<QString, QPointer<QWidget>> open_;
};

// What a report window needs from the program that opens it, and all it gets.
class ReportHost {
public:
    virtual ~ReportHost() = default;

    [[nodiscard]] virtual store::WorkingDatabase& database() = 0;
    [[nodiscard]] virtual const load::LoadedDay& day() const = 0;
    [[nodiscard]] virtual platform::UserDialogs& dialogs() = 0;
    [[nodiscard]] virtual platform::StatusDisplay& status() = 0;
    [[nodiscard]] virtual OpenWindows& windows() = 0;
    // The range on the report's tab; the whole day for reports without one.
    [[nodiscard]] virtual TimeRange range(ReportId report) const = 0;
    // The ports in service and target blocking chosen for the Capacity report.
    [[nodiscard]] virtual SizingChoice sizing() const = 0;
    // Where the print staging picture is written.
    [[nodiscard]] virtual QString workFolder() const = 0;
    // The window report windows open over (and take their position from), if any.
    [[nodiscard]] virtual QWidget* mainWindow() const = 0;
    // A report found the working database damaged: the host replaces it and
    // tells the user, with the report's error as what was found.
    virtual void databaseDamaged(const QString& found) = 0;
    virtual void showHelp() = 0;
    virtual void showAbout() = 0;
};

} // namespace tarrow::reports
