#pragma once

#include "reports/reportdocument.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace tarrow::load {
struct LoadedDay;
}

namespace tarrow::reports {

// One report: everything the main window, the report windows and the command
// line need to know of it. The table holds the reports in the order of the
// main window's tabs.
struct ReportEntry {
    ReportId id = ReportId::PortAvailability;
    QString windowName{};  // the chart window, for example "frmPortAvailability"
    QString buttonName{};  // the tab's "Run Report" button
    QString tabCaption{};  // the main window's tab
    QString description{}; // the tab's texts
    QString axisText{};
    bool takesRange = false;  // the tab has start and end pickers
    QString rangeStartName{}; // their object names
    QString rangeEndName{};
    bool takesSizing = false; // the tab has the ports-in-service and target-blocking choices
    // The stored result table, written as <resultTable>.csv; empty for reports
    // whose tables are among their files instead.
    QString resultTable{};
    QString chartPrefix{}; // default picture name prefix, for example "PortAvailabilityGraph_"
    QString errorPrefix{}; // the message a failed computation starts with
    // The value columns of a per-minute table that is reused while the stored
    // one is complete; empty for reports computed anew each time.
    QStringList reusedColumns{};
    // The figures of the loaded day: pure, no database.
    std::function<ReportDocument(const load::LoadedDay&, const ReportParams&)> compute{};
    // For reports with reusedColumns: the document of the stored table.
    std::function<ReportDocument(const ResultTable&, const load::LoadedDay&, const ReportParams&)>
        fromStored{};
};

[[nodiscard]] const std::vector<ReportEntry>& reportTable();
[[nodiscard]] const ReportEntry& reportEntry(ReportId id);

// What is wrong with a report range given on the command line, empty when
// nothing: the range is read in whole minutes, so an end in the start's
// minute says the seconds are not used.
[[nodiscard]] QString rangeProblem(const TimeRange& range);

// The locale's long date, as chart headers name the day.
[[nodiscard]] QString longDate(const QDate& date);

} // namespace tarrow::reports
