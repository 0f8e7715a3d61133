#include "app/reportfiles.h"

#include "platform/fileoutput.h"
#include "platform/shownpath.h"
#include "store/rawportdata.h"

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
        try {
            const reports::TimeRange reportRange =
                report.takesRange ? rangeOf(report.id) : reports::TimeRange{};
            computed.reports.push_back(
                {&report, report.compute({state.database, state.day, reportRange, {}, sizing})});
        } catch (const std::exception& e) {
            state.database.noteFailure(e);
            computed.errors << report.errorPrefix + QString::fromUtf8(e.what());
        }
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
    const auto record = [&outcome](const QString& name, const platform::Result& result) {
        if (result.ok())
            outcome.written << name;
        else
            outcome.errors << result.error();
    };
    const ComputedReports computed = computeEveryReport(
        state, [&request](reports::ReportId) { return request.range; }, request.sizing);
    outcome.errors << computed.errors;
    for (const auto& [report, output] : computed.reports) {
        outcome.notes << output.notes;
        if (!report->resultTable.isEmpty()) {
            const QString table = report->resultTable + QStringLiteral(".csv");
            record(table,
                   store::writeTableCsv(state.database, report->resultTable, out.filePath(table)));
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
        record(picture, charts(*report, output.chart, request.chartFormat, out.filePath(picture)));
    }
    if (!request.pdfPath.isEmpty()) {
        if (!pdf)
            outcome.errors << QStringLiteral("This run cannot draw a PDF report.");
        else
            record(request.pdfPath, pdf(computed, request.pdfPath));
    }
    return outcome;
}

} // namespace tarrow::app
