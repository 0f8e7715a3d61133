#pragma once

#include "load/appstate.h"
#include "reports/reporttable.h"

#include <QString>

#include <optional>

namespace tarrow::platform {
class StatusDisplay;
}

namespace tarrow::app {

// One report run for the loaded day: its document, or why there is none.
struct ReportRun {
    std::optional<reports::ReportDocument> document;
    QString error;        // the report's error prefix and what failed; empty when it ran
    bool damaged = false; // the failure found the working database damaged
};

// Runs a report of the report table for the loaded day, the one way every
// window, file and PDF gets its figures. A report that reuses its stored
// table does so while the table is complete; when the figures are computed
// anew, status (when given) says so. A computed result table is stored in the
// working database. Nothing escapes: a failure is noted on the database and
// told in error.
[[nodiscard]] ReportRun runReport(load::AppState& state, const reports::ReportEntry& report,
                                  const reports::ReportParams& params,
                                  platform::StatusDisplay* status = nullptr);

} // namespace tarrow::app
