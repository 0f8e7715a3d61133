#pragma once

#include "charts/chartmodel.h"
#include "reports/capacity/sizing.h"
#include "reports/summarytable.h"
#include "store/resulttables.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <memory>
#include <optional>

namespace tarrow::reports {

enum class ReportId { PortAvailability, CallDistribution, PortTimeUse, CallTraffic, Capacity };

inline constexpr int kMinutesPerDay = store::kMinutesPerDay;
using ResultTable = store::ResultTable;

// The start and end pickers of a report's tab; reports without a range use the
// whole day.
struct TimeRange {
    QTime from = QTime(0, 0);
    QTime to = QTime(23, 59, 59);
    [[nodiscard]] int startMinute() const { return from.hour() * 60 + from.minute(); }
    [[nodiscard]] int endMinute() const { return to.hour() * 60 + to.minute(); }
};

// What the user chose for a report: its tab's range and, for reports that
// size the ports, the sizing.
struct ReportParams {
    TimeRange range;
    SizingChoice sizing{};
};

// A file a report writes besides its summary, with its contents.
struct ReportFile {
    QString name;
    QByteArray bytes;
};

// Everything one computation of a report gives its readers (window, files,
// PDF): the figures as numbers, the summary and the chart made of them.
struct ReportDocument {
    ReportId report = ReportId::PortAvailability;
    QDate day;                        // the day the figures are of
    QStringList verdict;              // the report's answer in words, when it gives one
    std::optional<ResultTable> table; // stored, and written as <name>.csv
    SummaryTable summary;             // the summary grid and its CSV
    charts::ChartModel chart;         // the chart, header included
    QStringList notes;                // what the report tells the user (no activity)
    int highestPortInRange = 0;       // per-port reports: 0 when the range holds no call
    QList<ReportFile> files;          // further files (Capacity's traffic and figures)
    std::shared_ptr<const CapacityFigures> capacity; // re-sized as the user asks
    ReportParams params;                             // what it was computed for
};

// An empty document of a report for a day and the user's choices, which the
// report's computation fills.
[[nodiscard]] inline ReportDocument documentOf(ReportId report, const QDate& day,
                                               const ReportParams& params) {
    ReportDocument doc;
    doc.report = report;
    doc.day = day;
    doc.params = params;
    return doc;
}

// The table as CSV, as the stored table reads: the key and value column names,
// then one line per row; REAL columns read with ".0"; lines end with LF.
[[nodiscard]] QByteArray resultTableCsv(const ResultTable& table);

} // namespace tarrow::reports
