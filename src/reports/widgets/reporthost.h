#pragma once

#include "reports/reporttable.h"

#include <QHash>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace tarrow::platform {
class StatusDisplay;
class UserDialogs;
} // namespace tarrow::platform

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

// What a report window needs from the program that opens it, and all it
// gets: the figures come with the document the window is given.
class ReportHost {
public:
    virtual ~ReportHost() = default;

    [[nodiscard]] virtual platform::UserDialogs& dialogs() = 0;
    [[nodiscard]] virtual platform::StatusDisplay& status() = 0;
    [[nodiscard]] virtual OpenWindows& windows() = 0;
    // Where the print staging picture is written.
    [[nodiscard]] virtual QString workFolder() const = 0;
    // The window report windows open over (and take their position from), if any.
    [[nodiscard]] virtual QWidget* mainWindow() const = 0;
    virtual void showHelp() = 0;
    virtual void showAbout() = 0;
};

} // namespace tarrow::reports
