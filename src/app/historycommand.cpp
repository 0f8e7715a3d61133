#include "app/historycommand.h"

#include "app/cli.h"
#include "platform/fileoutput.h"
#include "platform/shownpath.h"
#include "reports/history/historydays.h"
#include "reports/history/historyoutput.h"
#include "reports/monitoring/capacitymetrics.h"

#include <QDir>
#include <QTextStream>

namespace tarrow::app {

namespace {

int fail(QTextStream& err, const QString& message, int code) {
    err << message << '\n';
    return code;
}

} // namespace

int runHistory(const HistoryCommand& c, QTextStream& out, QTextStream& err) {
    reports::HistoryCache cache(c.cacheFolder);
    QString folderError;
    std::vector<reports::SkippedDay> skipped;
    const std::vector<reports::HistoryDay> days = reports::computeHistoryDays(
        c.request, c.from, c.to, c.choice.gos, folderError, &cache, nullptr, &skipped);
    if (!folderError.isEmpty())
        return fail(err, folderError, ExitBadInput);
    const reports::HistorySummary summary =
        reports::summarizeHistory(days, c.choice, std::move(skipped));
    // Every day that could not be computed is named, with its reason.
    for (const QString& line : reports::skippedDayLines(summary))
        err << "Skipped " << line << '\n';
    if (days.empty() && !summary.skipped.empty())
        return fail(err, QStringLiteral("No day in the range could be read."), ExitBadInput);
    if (days.empty())
        return fail(err, QStringLiteral("No day in the range has call data."), ExitNoCallData);
    const QDir folder(c.outFolder);
    if (!QDir().mkpath(folder.path()))
        return fail(err,
                    QStringLiteral("Cannot create the folder \"%1\".")
                        .arg(platform::shownPath(folder.path())),
                    ExitBadInput);
    int code = ExitOk;
    for (const auto& [name, bytes] :
         {std::pair{QStringLiteral("History.csv"), reports::historyCsv(days, summary)},
          std::pair{QStringLiteral("History.json"), reports::historyJson(summary)}}) {
        if (const platform::Result saved =
                platform::saveFileAtomically(folder.filePath(name), bytes);
            !saved.ok()) {
            err << saved.error() << '\n';
            code = ExitBadInput;
        }
    }
    if (!c.metricsPath.isEmpty()) {
        reports::MetricsText metrics;
        reports::addHistoryMetrics(metrics, days, summary);
        if (const platform::Result saved = reports::saveMetricsFile(c.metricsPath, metrics);
            !saved.ok()) {
            err << saved.error() << '\n';
            code = ExitBadInput;
        }
    }
    out << reports::historyHeadline(summary) << '\n';
    for (const QString& line : reports::historyDayLines(days, summary))
        out << line << '\n';
    for (const reports::VerdictLine& line : reports::historyVerdict(summary))
        out << line.label << ": " << line.value << '\n';
    return code;
}

} // namespace tarrow::app
