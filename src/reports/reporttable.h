#pragma once

#include "charts/chartmodel.h"
#include "reports/capacity/sizing.h"
#include "reports/summarytable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTime>

#include <functional>
#include <memory>
#include <vector>

namespace tarrow::load {
struct LoadedDay;
}
namespace tarrow::store {
class WorkingDatabase;
}

namespace tarrow::reports {

enum class ReportId { PortAvailability, CallDistribution, PortTimeUse, CallTraffic, Capacity };

// The start and end pickers of a report's tab; reports without a range use the
// whole day.
struct TimeRange {
    QTime from = QTime(0, 0);
    QTime to = QTime(23, 59, 59);
    [[nodiscard]] int startMinute() const { return from.hour() * 60 + from.minute(); }
    [[nodiscard]] int endMinute() const { return to.hour() * 60 + to.minute(); }
};

// Called just before a report computes its figures anew (not when it reuses
// the stored table), with the number of steps, so a window can say it is busy.
using BeforeCompute = std::function<void(qint64 steps)>;

struct ReportInput {
    store::WorkingDatabase& database;
    const load::LoadedDay& day;
    TimeRange range;
    BeforeCompute before;
    SizingChoice sizing{}; // reports that size the ports
};

// A file a report writes besides its summary, with its contents.
struct ReportFile {
    QString name;
    QByteArray bytes;
};

// What one computation of a report gives every reader: the figures are stored
// in the report's result table, and the summary and chart come from them.
struct ReportOutput {
    SummaryTable summary;
    charts::ChartModel chart;
    QStringList notes;          // what the report tells the user (for example, no activity)
    int highestPortInRange = 0; // per-port reports: 0 when the range holds no call
    QList<ReportFile> files;    // for reports that keep no result table in the database
    // The Capacity report's figures, which its window sizes anew as the user asks.
    std::shared_ptr<const CapacityFigures> capacity;
};

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
    std::function<ReportOutput(const ReportInput&)> compute{}; // throws on database failures
};

[[nodiscard]] const std::vector<ReportEntry>& reportTable();
[[nodiscard]] const ReportEntry& reportEntry(ReportId id);

// The locale's long date, as chart headers name the day.
[[nodiscard]] QString longDate(const QDate& date);

} // namespace tarrow::reports
