// `tarrow check`: the capacity verdict as a monitoring plugin's answer.
#include "app/cli.h"
#include "app/runner.h"
#include "app/startup.h"
#include "logparse/logfiles.h"
#include "platform/isodate.h"
#include "platform/shownpath.h"
#include "reports/history/historydays.h"
#include "reports/monitoring/capacitymetrics.h"
#include "reports/monitoring/checkstatus.h"

#include <QTextStream>

#include <algorithm>
#include <limits>

namespace tarrow::app {

namespace {

constexpr int kMaxCheckDays = 3650;

// The latest day that has log files in the folder, or why there is none.
QDate latestDay(const load::AppState& state, const QString& folder, QString& why) {
    const auto listing =
        logparse::listLogFiles(folder, logparse::logFilePrefix(state.server.newerGeneration));
    if (!listing.error.isEmpty()) {
        why = listing.error;
        return {};
    }
    QDate latest;
    for (const logparse::LogFile& file : listing.files)
        latest = std::max(latest, file.date);
    if (!latest.isValid())
        why = QStringLiteral("no log files in %1").arg(platform::shownPath(folder));
    return latest;
}

int answer(QTextStream& out, const reports::CheckResult& result) {
    out << result.line << '\n';
    return static_cast<int>(result.code);
}

} // namespace

int Runner::checkLastDays(Command& c, const QDate& latest, const reports::SizingChoice& choice,
                          const reports::CheckThresholds& thresholds,
                          reports::MetricsText& metrics) {
    const auto unknown = [this](const QString& why) {
        return answer(out_, reports::unknownCheck(why));
    };
    bool countOk = false;
    const int count = c.parser.value(c.lastDays).toInt(&countOk);
    if (!countOk || count < 1 || count > kMaxCheckDays)
        return unknown(
            QStringLiteral("--days takes a count of days from 1 to %1").arg(kMaxCheckDays));
    QString why;
    std::vector<reports::SkippedDay> skipped;
    reports::HistoryCache cache(historyCacheFolder(c));
    const auto days = reports::computeHistoryDays(folderRequest(state_, c.parser.value(c.logs)),
                                                  latest.addDays(1 - count), latest, choice.gos,
                                                  why, &cache, nullptr, &skipped);
    if (!why.isEmpty())
        return unknown(why);
    if (days.empty())
        return unknown(skipped.empty()
                           ? QStringLiteral("no calls in the last %1 days").arg(count)
                           : QStringLiteral("no day of the last %1 could be read").arg(count));
    const reports::HistorySummary summary =
        reports::summarizeHistory(days, choice, std::move(skipped));
    reports::addHistoryMetrics(metrics, days, summary);
    return answer(out_, reports::checkDays(summary, thresholds));
}

int Runner::check(Command& c) {
    const auto unknown = [this](const QString& why) {
        return answer(out_, reports::unknownCheck(why));
    };
    // A threshold that is no number is out of range like any other.
    const auto percent = [&c](const QCommandLineOption& option) {
        bool ok = false;
        const double value = c.parser.value(option).toDouble(&ok);
        return ok ? value : std::numeric_limits<double>::quiet_NaN();
    };
    const reports::CheckThresholds thresholds{percent(c.warning), percent(c.critical)};
    if (const QString wrong = reports::thresholdProblem(thresholds); !wrong.isEmpty())
        return unknown(wrong);
    reports::SizingChoice choice;
    if (!c.parser.isSet(c.logs))
        return unknown(QStringLiteral("missing --logs"));
    if (c.parser.isSet(c.day) && c.parser.isSet(c.lastDays))
        return unknown(QStringLiteral("--day and --days cannot be given together"));
    if (!readSizing(c, choice))
        return unknown(QStringLiteral("bad sizing options"));
    probeServer();
    QString why;
    const QDate latest = latestDay(state_, c.parser.value(c.logs), why);
    if (!latest.isValid())
        return unknown(why);
    reports::MetricsText metrics;
    int code = reports::CheckUnknown;
    if (c.parser.isSet(c.lastDays)) {
        code = checkLastDays(c, latest, choice, thresholds, metrics);
        if (code == reports::CheckUnknown)
            return code;
    } else {
        const QDate day =
            c.parser.isSet(c.day) ? platform::fromIsoDate(c.parser.value(c.day)) : latest;
        if (!day.isValid())
            return unknown(QStringLiteral("--day needs a date as YYYY-MM-DD"));
        if (const int loaded = loadDate(c, day, false); loaded != ExitOk)
            return unknown((loaded == ExitNoCallData ? QStringLiteral("no calls on %1")
                                                     : QStringLiteral("the logs of %1 could not "
                                                                      "be read"))
                               .arg(platform::isoDate(day)));
        const reports::CapacityFigures figures = reports::computeCapacityFigures(state_.day);
        const reports::Sizing sizing = reports::sizeCapacity(figures, choice);
        code = answer(out_, reports::checkDay(figures, sizing, thresholds));
        reports::addCapacityMetrics(metrics, figures, sizing);
    }
    return writeMetrics(c, metrics) ? code : ExitBadInput;
}

} // namespace tarrow::app
