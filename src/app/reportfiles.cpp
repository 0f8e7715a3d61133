#include "app/reportfiles.h"

#include "reports/perport/perportreport.h"
#include "reports/summarytable.h"
#include "reports/timeofday/calltraffic.h"
#include "reports/timeofday/hourlysummary.h"
#include "reports/timeofday/portavailability.h"
#include "store/rawportdata.h"

#include <QDir>

namespace tarrow::app {

namespace {

class Writer {
public:
    Writer(AppState& state, const ReportFilesRequest& request, const ChartWriter& charts,
           ReportFilesOutcome& outcome)
        : state_(state), request_(request), charts_(charts), outcome_(outcome),
          out_(request.outFolder) {}

    void table(const QString& name) {
        record(name + QStringLiteral(".csv"),
               store::writeTableCsv(state_.database, name,
                                    out_.filePath(name + QStringLiteral(".csv"))));
    }

    void summary(const reports::SummaryTable& summary) {
        const QString name = reports::dateFileName(summary.layout.filePrefix,
                                                   state_.dataDate.date(), QStringLiteral(".csv"));
        record(name,
               reports::saveFileAtomically(out_.filePath(name), reports::summaryCsv(summary)));
    }

    void chart(const QString& window, const QString& prefix) {
        if (request_.chartFormat == 0 || !charts_)
            return;
        const QString name = reports::dateFileName(
            prefix, state_.dataDate.date(),
            request_.chartFormat == 2 ? QStringLiteral(".png") : QStringLiteral(".BMP"));
        record(name, charts_(window, request_, out_.filePath(name)));
    }

private:
    void record(const QString& name, const QString& error) {
        if (error.isEmpty())
            outcome_.written << name;
        else
            outcome_.errors << error;
    }

    AppState& state_;
    const ReportFilesRequest& request_;
    const ChartWriter& charts_;
    ReportFilesOutcome& outcome_;
    QDir out_;
};

} // namespace

ReportFilesOutcome writeReportFiles(AppState& state, const ReportFilesRequest& request,
                                    const ChartWriter& charts) {
    ReportFilesOutcome outcome;
    if (!QDir().mkpath(request.outFolder)) {
        outcome.errors << QStringLiteral("Cannot create the folder \"%1\".")
                              .arg(QDir::toNativeSeparators(request.outFolder));
        return outcome;
    }
    Writer write(state, request, charts, outcome);
    try {
        const auto availability =
            reports::computePortAvailability(state.database, state.totals.peakAvailable);
        if (availability.computed && availability.noActivity)
            outcome.notes << reports::noActivityMessage();
        write.table(QStringLiteral("PortAvailability"));
        write.summary(reports::portAvailabilitySummary(availability.table));
        write.chart(QStringLiteral("frmPortAvailability"),
                    QStringLiteral("PortAvailabilityGraph_"));

        const auto traffic = reports::computeCallTraffic(state.database);
        write.table(QStringLiteral("CallTraffic"));
        write.summary(reports::callTrafficSummary(traffic.table));
        write.chart(QStringLiteral("frmCallTraffic"), QStringLiteral("CallTrafficGraph_"));

        const int from = request.from.hour() * 60 + request.from.minute();
        const int to = request.to.hour() * 60 + request.to.minute();
        (void)reports::computePerPort(state.database, reports::PerPortReport::CallDistribution,
                                      from, to, state.totals.peakPort);
        write.table(QStringLiteral("CallDistribution"));
        write.summary(
            reports::perPortSummary(state.database, reports::PerPortReport::CallDistribution));
        write.chart(QStringLiteral("frmCallDistribution"),
                    QStringLiteral("CallDistributionGraph_"));

        (void)reports::computePerPort(state.database, reports::PerPortReport::PortTimeUse, from, to,
                                      state.totals.peakPort);
        write.table(QStringLiteral("PortTimeUsage"));
        write.summary(reports::perPortSummary(state.database, reports::PerPortReport::PortTimeUse));
        write.chart(QStringLiteral("frmPortTimeUse"), QStringLiteral("PortTimeUseGraph_"));
    } catch (const std::exception& e) {
        outcome.errors << QString::fromUtf8(e.what());
    }
    return outcome;
}

} // namespace tarrow::app
