#pragma once

#include "load/appstate.h"

#include <QString>
#include <QStringList>
#include <QTime>

#include <functional>

namespace tarrow::app {

struct ReportFilesRequest {
    QString outFolder;
    QTime from = QTime(0, 0); // range of the per-port reports
    QTime to = QTime(23, 59, 59);
    int chartFormat = 1; // 1 Windows bitmap, 2 PNG, 0 no charts
};

// Draws a report window's chart into a file; returns an error text or an empty text.
using ChartWriter = std::function<QString(const QString& window, const ReportFilesRequest& request,
                                          const QString& path)>;

struct ReportFilesOutcome {
    QStringList written; // file names, in the order written
    QStringList notes;   // what the windows would have said (for example, no activity)
    QStringList errors;
};

// Computes every report for the loaded day as the windows do and writes into
// the folder each result table as <Table>.csv, each summary CSV under its
// default name, and each chart picture under its default name.
[[nodiscard]] ReportFilesOutcome
writeReportFiles(AppState& state, const ReportFilesRequest& request, const ChartWriter& charts);

} // namespace tarrow::app
