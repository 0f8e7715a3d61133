#include "app/reportfiles.h"

#include "app/reportrun.h"
#include "platform/fileoutput.h"
#include "platform/shownpath.h"
#include "reports/monitoring/capacitymetrics.h"

#include <QDir>

namespace tarrow::app {

namespace {

QString pictureExtension(ChartFormat format) {
    switch (format) {
    case ChartFormat::Png:
        return QStringLiteral(".png");
    case ChartFormat::Svg:
        return QStringLiteral(".svg");
    default:
        return QStringLiteral(".BMP");
    }
}

} // namespace

ComputedReports
computeEveryReport(load::AppState& state,
                   const std::function<reports::TimeRange(reports::ReportId)>& rangeOf,
                   const reports::SizingChoice& sizing) {
    ComputedReports computed;
    computed.day = state.day.dataDate.date();
    computed.sizing = sizing;
    for (const reports::ReportEntry& report : reports::reportTable()) {
        const reports::TimeRange reportRange =
            report.takesRange ? rangeOf(report.id) : reports::TimeRange{};
        ReportRun run = runReport(state, report, {reportRange, sizing});
        if (run.document)
            computed.reports.push_back({&report, std::move(*run.document)});
        else
            computed.errors << run.error;
    }
    return computed;
}

ReportFilesOutcome writeReportFiles(load::AppState& state, const ReportFilesRequest& request,
                                    const ChartWriter& charts, const PdfWriter& pdf) {
    ReportFilesOutcome outcome;
    if (!QDir().mkpath(request.outFolder)) {
        outcome.errors << QStringLiteral("Cannot create the folder \"%1\".")
                              .arg(platform::shownPath(request.outFolder));
        return outcome;
    }
    const QDir out(request.outFolder);
    const QDate date = state.day.dataDate.date();
    // Every file's result in the order written, told once the last is in:
    // pictures are still being written while the next report's files are.
    std::vector<std::pair<QString, std::future<platform::Result>>> pending;
    const auto record = [&pending](const QString& name, const platform::Result& result) {
        std::promise<platform::Result> done;
        done.set_value(result);
        pending.emplace_back(name, done.get_future());
    };
    const ComputedReports computed = computeEveryReport(
        state, [&request](reports::ReportId) { return request.range; }, request.sizing);
    outcome.errors << computed.errors;
    for (const auto& [report, output] : computed.reports) {
        outcome.notes << output.notes;
        if (output.table) {
            const QString table = output.table->name + QStringLiteral(".csv");
            record(table, platform::saveFileAtomically(out.filePath(table),
                                                       reports::resultTableCsv(*output.table)));
        }
        for (const reports::ReportFile& file : output.files)
            record(file.name, platform::saveFileAtomically(out.filePath(file.name), file.bytes));
        const QString summary =
            platform::dateFileName(output.summary.layout.filePrefix, date, QStringLiteral(".csv"));
        record(summary, platform::saveFileAtomically(out.filePath(summary),
                                                     reports::summaryCsv(output.summary)));
        if (request.chartFormat == ChartFormat::None || !charts)
            continue;
        const QString picture = platform::dateFileName(report->chartPrefix, date,
                                                       pictureExtension(request.chartFormat));
        pending.emplace_back(
            picture, charts(*report, output.chart, request.chartFormat, out.filePath(picture)));
    }
    for (auto& [name, result] : pending) {
        const platform::Result written = result.get();
        if (written.ok())
            outcome.written << name;
        else
            outcome.errors << written.error();
    }
    if (!request.pdfPath.isEmpty()) {
        if (!pdf)
            outcome.errors << QStringLiteral("This run cannot draw a PDF report.");
        else if (const platform::Result written = pdf(computed, request.pdfPath); written.ok())
            outcome.written << request.pdfPath;
        else
            outcome.errors << written.error();
    }
    if (!request.metricsPath.isEmpty()) {
        reports::MetricsText metrics;
        for (const auto& [report, output] : computed.reports)
            if (output.capacity)
                reports::addCapacityMetrics(
                    metrics, *output.capacity,
                    reports::sizeCapacity(*output.capacity, output.params.sizing));
        if (const platform::Result written = reports::saveMetricsFile(request.metricsPath, metrics);
            written.ok())
            outcome.written << request.metricsPath;
        else
            outcome.errors << written.error();
    }
    return outcome;
}

} // namespace tarrow::app
