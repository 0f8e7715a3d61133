#include "app/runner.h"

#include "app/cli.h"
#include "app/historycommand.h"
#include "app/reportfiles.h"
#include "app/startup.h"
#include "logparse/logfiles.h"
#include "platform/fileoutput.h"
#include "platform/isodate.h"
#include "platform/shownpath.h"
#include "reports/capacity/capacityoutput.h"
#include "reports/monitoring/capacitymetrics.h"
#include "serverprobe/mervoxversion.h"
#include "serverprobe/registryapi.h"
#include "store/rawportdata.h"

#include <QDir>
#include <QStandardPaths>
#include <QTextStream>

namespace tarrow::app {

namespace {

// Standard output ends its lines with LF alone, whatever line ends a
// message the window shows has.
QString lf(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

int Runner::days(Command& c) {
    if (!require(c, c.logs))
        return ExitBadInput;
    if (!prepare(c))
        return ExitBadInput;
    const auto listing = logparse::listLogFiles(
        c.parser.value(c.logs), logparse::logFilePrefix(state_.server.newerGeneration));
    if (!listing.error.isEmpty())
        return fail(listing.error, ExitBadInput);
    const auto days = logparse::buildDayList(listing.files, state_.locale);
    for (const auto& day : days)
        out_ << platform::isoDate(day.date) << '\t' << day.text << '\n';
    if (days.isEmpty())
        return fail(QStringLiteral("No valid diagnostic files found in that directory."),
                    ExitNoCallData);
    return ExitOk;
}

int Runner::load(Command& c) {
    const int loaded = loadDay(c);
    if (loaded == ExitBadInput)
        return loaded;
    if (c.parser.isSet(c.rawCsv)) {
        const platform::Result written = store::writeTableCsv(
            state_.database, QStringLiteral("RawPortData"), c.parser.value(c.rawCsv));
        if (!written.ok())
            return fail(written.error(), ExitBadInput);
    }
    return loaded;
}

int Runner::report(Command& c, const ChartWriter& chartWriter, const PdfWriter& pdfWriter) {
    if (!require(c, c.out))
        return ExitBadInput;
    ReportFilesRequest request;
    request.outFolder = c.parser.value(c.out);
    if (c.parser.isSet(c.pdf))
        request.pdfPath = QDir(c.parser.value(c.pdf)).absolutePath();
    request.range.from = readTime(c.parser.value(c.from));
    request.range.to = readTime(c.parser.value(c.to));
    const QString charts = c.parser.value(c.charts).toLower();
    if (!request.range.from.isValid() || !request.range.to.isValid())
        return fail(QStringLiteral("--from and --to need a time of day as HH:MM or HH:MM:SS."),
                    ExitBadInput);
    if (const QString wrong = reports::rangeProblem(request.range); !wrong.isEmpty())
        return fail(wrong, ExitBadInput);
    if (charts == QLatin1String("bmp"))
        request.chartFormat = ChartFormat::Bitmap;
    else if (charts == QLatin1String("png"))
        request.chartFormat = ChartFormat::Png;
    else if (charts == QLatin1String("svg"))
        request.chartFormat = ChartFormat::Svg;
    else if (charts == QLatin1String("none"))
        request.chartFormat = ChartFormat::None;
    else
        return fail(QStringLiteral("--charts takes bmp, png, svg or none."), ExitBadInput);
    if (!readSizing(c, request.sizing))
        return ExitBadInput;
    request.metricsPath = c.parser.value(c.metrics);
    const int loaded = loadDay(c);
    if (loaded != ExitOk)
        return loaded;
    const ReportFilesOutcome outcome = writeReportFiles(state_, request, chartWriter, pdfWriter);
    for (const QString& note : outcome.notes)
        out_ << lf(note) << '\n';
    for (const QString& name : outcome.written)
        out_ << "Wrote " << platform::shownPath(name) << '\n';
    for (const QString& error : outcome.errors)
        err_ << error << '\n';
    if (state_.database.foundDamage()) {
        const platform::Result replaced = replaceDamagedDatabase(state_);
        err_ << (replaced.ok() ? damageReplacedMessage(QStringLiteral("The working database "
                                                                      "was found damaged."))
                               : replaced.error())
             << '\n';
    }
    return outcome.errors.isEmpty() ? ExitOk : ExitBadInput;
}

int Runner::history(Command& c) {
    if (!require(c, c.logs) || !require(c, c.out))
        return ExitBadInput;
    reports::SizingChoice choice;
    if (!readSizing(c, choice))
        return ExitBadInput;
    QDate from(1, 1, 1);
    QDate to(9999, 12, 31);
    if (c.parser.isSet(c.from))
        from = platform::fromIsoDate(c.parser.value(c.from));
    if (c.parser.isSet(c.to))
        to = platform::fromIsoDate(c.parser.value(c.to));
    if (!from.isValid() || !to.isValid())
        return fail(QStringLiteral("history takes --from and --to as YYYY-MM-DD."), ExitBadInput);
    if (from > to)
        return fail(QStringLiteral("--from is after --to."), ExitBadInput);
    // A history reads the logs itself: no working database is opened, so
    // the day loaded in --data-dir stays as it is.
    probeServer();
    // The per-day cache lives in the --data-dir folder, else in the
    // per-user data folder, so scheduled runs share it.
    return runHistory({folderRequest(state_, c.parser.value(c.logs)), from, to, choice,
                       historyCacheFolder(c), c.parser.value(c.out), c.parser.value(c.metrics)},
                      out_, err_);
}

int Runner::capacity(Command& c) {
    reports::SizingChoice choice;
    if (!readSizing(c, choice))
        return ExitBadInput;
    const int loaded = loadDay(c, false);
    if (loaded == ExitBadInput)
        return loaded;
    const reports::CapacityFigures figures = reports::computeCapacityFigures(state_.day);
    const reports::Sizing sizing = reports::sizeCapacity(figures, choice);
    if (c.parser.isSet(c.json)) {
        out_ << reports::capacityJson(figures, sizing);
    } else {
        out_ << "Capacity for " << platform::isoDate(figures.day) << '\n'
             << reports::capacityHeadline(figures, sizing) << '\n';
        for (const reports::VerdictLine& line : reports::capacityVerdict(figures, sizing))
            out_ << line.label << ": " << line.value << '\n';
    }
    reports::MetricsText metrics;
    reports::addCapacityMetrics(metrics, figures, sizing);
    return writeMetrics(c, metrics) ? loaded : ExitBadInput;
}

// --ports, --gos and --retry-share, checked (NaN and infinity are out of range).
bool Runner::readSizing(Command& c, reports::SizingChoice& choice) {
    bool portsOk = false;
    bool gosOk = false;
    bool retryOk = false;
    choice.ports = c.parser.value(c.ports).toInt(&portsOk);
    choice.gos = c.parser.value(c.gos).toDouble(&gosOk);
    choice.retryShare = c.parser.value(c.retryShare).toDouble(&retryOk);
    if (!portsOk || choice.ports < 0 || choice.ports > reports::kMaxPorts) {
        fail(badPortsMessage(), ExitBadInput);
        return false;
    }
    if (!gosOk || !reports::validGos(choice.gos)) {
        fail(badGosMessage(), ExitBadInput);
        return false;
    }
    if (!retryOk || !reports::validRetryShare(choice.retryShare)) {
        fail(badRetryShareMessage(), ExitBadInput);
        return false;
    }
    return true;
}

QTime Runner::readTime(const QString& text) {
    const QTime t = QTime::fromString(text, QStringLiteral("H:mm:ss"));
    return t.isValid() ? t : QTime::fromString(text, QStringLiteral("H:mm"));
}

// "Load Data" for --logs and --day; prints what was found when echo is set.
int Runner::loadDay(Command& c, bool echo) {
    if (!require(c, c.logs) || !require(c, c.day))
        return ExitBadInput;
    const QDate day = platform::fromIsoDate(c.parser.value(c.day));
    if (!day.isValid())
        return fail(QStringLiteral("--day needs a date as YYYY-MM-DD."), ExitBadInput);
    return loadDate(c, day, echo);
}

int Runner::loadDate(Command& c, const QDate& day, bool echo) {
    if (!prepare(c))
        return ExitBadInput;
    const auto outcome = app::loadDay(state_, c.parser.value(c.logs), day,
                                      logparse::dayEntryText(day, state_.locale));
    if (!outcome.folderError.isEmpty())
        return fail(outcome.folderError, ExitBadInput);
    if (!outcome.repairNote.isEmpty())
        err_ << outcome.repairNote << '\n';
    for (const QString& error : outcome.errors)
        err_ << error << '\n';
    // A day that could not be stored is no day: no counts, no reports.
    if (outcome.storeFailed())
        return fail(outcome.message, ExitBadInput);
    if (!echo)
        return outcome.foundCalls() ? ExitOk : ExitNoCallData;
    for (const QString& file : outcome.oversizedFiles)
        out_ << load::tooManyLinesMessage() << ' ' << platform::shownPath(file) << '\n';
    out_ << lf(state_.day.problems.summary()) << lf(outcome.message);
    if (!outcome.message.endsWith(QLatin1Char('\n')))
        out_ << '\n';
    return outcome.foundCalls() ? ExitOk : ExitNoCallData;
}

QString Runner::historyCacheFolder(Command& c) const {
    return c.parser.isSet(c.dataDir)
               ? chooseDataFolder(programFolder_, c.parser.value(c.dataDir))
               : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool Runner::writeMetrics(Command& c, const reports::MetricsText& metrics) {
    if (!c.parser.isSet(c.metrics))
        return true;
    const platform::Result written = reports::saveMetricsFile(c.parser.value(c.metrics), metrics);
    if (!written.ok())
        err_ << written.error() << '\n';
    return written.ok();
}

bool Runner::require(Command& c, const QCommandLineOption& option) {
    if (c.parser.isSet(option))
        return true;
    err_ << "Missing --" << option.names().constFirst() << ". See --help.\n";
    return false;
}

bool Runner::prepare(Command& c) {
    state_.programFolder = programFolder_;
    if (c.parser.isSet(c.dataDir)) {
        state_.dataFolder = chooseDataFolder(programFolder_, c.parser.value(c.dataDir));
        if (const platform::Result locked = lock_.acquire(state_.dataFolder); !locked.ok()) {
            err_ << locked.error() << '\n';
            return false;
        }
    } else {
        // Every sub-command loads its day itself, so without --data-dir it
        // works in a working database of its own that goes when it ends: a
        // scheduled run never meets an open window's.
        scratch_ = std::make_unique<platform::ScratchFolder>();
        if (!scratch_->isValid()) {
            err_ << "Could not make a temporary folder: " << scratch_->errorString() << '\n';
            return false;
        }
        state_.dataFolder = scratch_->path();
    }
    const auto registry = serverprobe::makeSystemRegistry();
    const QStringList messages = startUp(state_, *registry);
    for (const QString& message : messages)
        err_ << message << '\n';
    return state_.database.isOpen();
}

// What reading a log folder needs of the start-up without a working
// database: the server generation, for the file prefix.
void Runner::probeServer() {
    QStringList messages;
    state_.server = serverprobe::getVersion(*serverprobe::makeSystemRegistry(), messages);
    for (const QString& message : messages)
        err_ << message << '\n';
}

int Runner::fail(const QString& message, int code) {
    err_ << message << '\n';
    return code;
}

} // namespace tarrow::app
