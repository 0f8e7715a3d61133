#include "app/reportfiles.h"

#include "platform/fileoutput.h"
#include "store/rawportdata.h"

#include "platform/shownpath.h"

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

ReportFilesOutcome writeReportFiles(load::AppState& state, const ReportFilesRequest& request,
                                    const ChartWriter& charts) {
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
    for (const reports::ReportEntry& report : reports::reportTable()) {
        try {
            const reports::TimeRange range =
                report.takesRange ? request.range : reports::TimeRange{};
            const reports::ReportOutput output =
                report.compute({state.database, state.day, range, {}, request.sizing});
            outcome.notes << output.notes;
            if (!report.resultTable.isEmpty()) {
                const QString table = report.resultTable + QStringLiteral(".csv");
                record(table, store::writeTableCsv(state.database, report.resultTable,
                                                   out.filePath(table)));
            }
            for (const reports::ReportFile& file : output.files)
                record(file.name,
                       platform::saveFileAtomically(out.filePath(file.name), file.bytes));
            const QString summary = platform::dateFileName(output.summary.layout.filePrefix, date,
                                                           QStringLiteral(".csv"));
            record(summary, platform::saveFileAtomically(out.filePath(summary),
                                                         reports::summaryCsv(output.summary)));
            if (request.chartFormat == ChartFormat::None || !charts)
                continue;
            const QString picture = platform::dateFileName(report.chartPrefix, date,
                                                           pictureExtension(request.chartFormat));
            record(picture,
                   charts(report, output.chart, request.chartFormat, out.filePath(picture)));
        } catch (const std::exception& e) {
            state.database.noteFailure(e);
            outcome.errors << report.errorPrefix + QString::fromUtf8(e.what());
        }
    }
    return outcome;
}

} // namespace tarrow::app
