#pragma once

#include "charts/chartmodel.h"
#include "load/appstate.h"
#include "platform/result.h"
#include "reports/reporttable.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <future>
#include <vector>

namespace tarrow::app {

enum class ChartFormat { None, Bitmap, Png, Svg };

struct ReportFilesRequest {
    QString outFolder;
    reports::TimeRange range;     // of the per-port reports
    reports::SizingChoice sizing; // of the Capacity report
    ChartFormat chartFormat = ChartFormat::Bitmap;
    QString pdfPath;     // the management report, when asked for
    QString metricsPath; // the Prometheus metrics file, when asked for
};

// Draws a report's chart into a picture file; the result comes when the file
// is written, which may be after the writer returned.
using ChartWriter = std::function<std::future<platform::Result>(
    const reports::ReportEntry& report, const charts::ChartModel& chart, ChartFormat format,
    const QString& path)>;

// Every report of the report table computed once for the loaded day.
struct ComputedReport {
    const reports::ReportEntry* entry = nullptr;
    reports::ReportDocument document;
};
struct ComputedReports {
    QDate day;
    reports::SizingChoice sizing;
    std::vector<ComputedReport> reports; // in report-table order, failed ones left out
    QStringList errors;                  // one per report that failed
};
// rangeOf gives the range of each report that takes one.
[[nodiscard]] ComputedReports
computeEveryReport(load::AppState& state,
                   const std::function<reports::TimeRange(reports::ReportId)>& rangeOf,
                   const reports::SizingChoice& sizing);

// Writes the management report as a PDF file (drawn by the window library).
using PdfWriter =
    std::function<platform::Result(const ComputedReports& reports, const QString& path)>;

struct ReportFilesOutcome {
    QStringList written; // file names, in the order written
    QStringList notes;   // what the windows would have said (for example, no activity)
    QStringList errors;
};

// Computes every report of the report table once for the loaded day, as the
// windows do, and writes into the folder each result table as <Table>.csv,
// each summary CSV under its default name, the files of reports that keep
// their tables in memory, and each chart picture under its
// default name (when a chart writer is given and a format chosen), and the
// PDF management report when a path is given, and the capacity figures as a
// metrics file when a path is given.
[[nodiscard]] ReportFilesOutcome writeReportFiles(load::AppState& state,
                                                  const ReportFilesRequest& request,
                                                  const ChartWriter& charts,
                                                  const PdfWriter& pdf = {});

} // namespace tarrow::app
