#include "app/reportrun.h"

#include "platform/statusdisplay.h"
#include "store/resulttables.h"

namespace tarrow::app {

namespace {

reports::ReportDocument computeAndStore(load::AppState& state, const reports::ReportEntry& report,
                                        const reports::ReportParams& params,
                                        platform::StatusDisplay* status) {
    if (!report.reusedColumns.isEmpty()) {
        reports::ResultTable stored;
        if (store::readMinuteTable(state.database, report.resultTable, report.reusedColumns,
                                   stored))
            return report.fromStored(stored, state.day, params);
    }
    if (status && !report.resultTable.isEmpty())
        status->showStatus(QStringLiteral("Crunching database..."),
                           report.takesRange ? state.day.peakPort : reports::kMinutesPerDay);
    reports::ReportDocument document = report.compute(state.day, params);
    if (document.table)
        store::storeResultTable(state.database, *document.table);
    return document;
}

} // namespace

ReportRun runReport(load::AppState& state, const reports::ReportEntry& report,
                    const reports::ReportParams& params, platform::StatusDisplay* status) {
    ReportRun run;
    try {
        run.document = computeAndStore(state, report, params, status);
    } catch (const std::exception& e) {
        state.database.noteFailure(e);
        run.error = report.errorPrefix + QString::fromUtf8(e.what());
        run.damaged = state.database.foundDamage();
    }
    return run;
}

} // namespace tarrow::app
