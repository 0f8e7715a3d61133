#include "app/cli.h"

#include "app/commandtable.h"
#include "app/erlangcommand.h"
#include "app/historycommand.h"
#include "app/reportfiles.h"
#include "app/startup.h"
#include "app/updatecommand.h"
#include "logparse/logfiles.h"
#include "platform/folderlock.h"
#include "platform/isodate.h"
#include "platform/scratchfolder.h"
#include "platform/shownpath.h"
#include "reports/capacity/capacityoutput.h"
#include "serverprobe/mervoxversion.h"
#include "serverprobe/registryapi.h"
#include "store/rawportdata.h"

#include <QCommandLineParser>
#include <QDir>
#include <QStandardPaths>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace tarrow::app {

namespace {

// The parser of every option of the table, and each option by name.
struct Command {
    static QCommandLineOption option(const char* name) {
        return commandLineOption(QLatin1String(name));
    }
    QCommandLineParser parser;
    QCommandLineOption logs = option("logs");
    QCommandLineOption day = option("day");
    QCommandLineOption rawCsv = option("raw-csv");
    QCommandLineOption dataDir = option("data-dir");
    QCommandLineOption from = option("from");
    QCommandLineOption to = option("to");
    QCommandLineOption out = option("out");
    QCommandLineOption pdf = option("pdf");
    QCommandLineOption charts = option("charts");
    QCommandLineOption ports = option("ports");
    QCommandLineOption gos = option("gos");
    QCommandLineOption retryShare = option("retry-share");
    QCommandLineOption erlangs = option("erlangs");
    QCommandLineOption carried = option("carried");
    QCommandLineOption json = option("json");
    QCommandLineOption help = option("help");
    QCommandLineOption dateOrder = option("date-order");

    Command() { addEveryOption(parser); }
};

// Standard output ends its lines with LF alone, whatever line ends a
// message the window shows has.
QString lf(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

class Runner {
public:
    Runner(const QString& programFolder, QTextStream& out, QTextStream& err)
        : programFolder_(programFolder), out_(out), err_(err) {}

    // How slash dates in the logs are read, when --date-order chose.
    void chooseDateOrder(logparse::DateOrder order) { state_.dateOrder = order; }

    int days(Command& c) {
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

    int load(Command& c) {
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

    int report(Command& c, const ChartWriter& chartWriter, const PdfWriter& pdfWriter) {
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
        const int loaded = loadDay(c);
        if (loaded != ExitOk)
            return loaded;
        const ReportFilesOutcome outcome =
            writeReportFiles(state_, request, chartWriter, pdfWriter);
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

    int history(Command& c) {
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
            return fail(QStringLiteral("history takes --from and --to as YYYY-MM-DD."),
                        ExitBadInput);
        if (from > to)
            return fail(QStringLiteral("--from is after --to."), ExitBadInput);
        // A history reads the logs itself: no working database is opened, so
        // the day loaded in --data-dir stays as it is.
        probeServer();
        // The per-day cache lives in the --data-dir folder, else in the
        // per-user data folder, so scheduled runs share it.
        const QString cacheFolder =
            c.parser.isSet(c.dataDir)
                ? chooseDataFolder(programFolder_, c.parser.value(c.dataDir))
                : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        return runHistory({folderRequest(state_, c.parser.value(c.logs)), from, to, choice,
                           cacheFolder, c.parser.value(c.out)},
                          out_, err_);
    }

    int capacity(Command& c) {
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
            return loaded;
        }
        out_ << "Capacity for " << platform::isoDate(figures.day) << '\n'
             << reports::capacityHeadline(figures, sizing) << '\n';
        for (const reports::VerdictLine& line : reports::capacityVerdict(figures, sizing))
            out_ << line.label << ": " << line.value << '\n';
        return loaded;
    }

private:
    // --ports, --gos and --retry-share, checked (NaN and infinity are out of range).
    bool readSizing(Command& c, reports::SizingChoice& choice) {
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

    static QTime readTime(const QString& text) {
        const QTime t = QTime::fromString(text, QStringLiteral("H:mm:ss"));
        return t.isValid() ? t : QTime::fromString(text, QStringLiteral("H:mm"));
    }

    // "Load Data" for --logs and --day; prints what was found when echo is set.
    int loadDay(Command& c, bool echo = true) {
        if (!require(c, c.logs) || !require(c, c.day))
            return ExitBadInput;
        const QDate day = platform::fromIsoDate(c.parser.value(c.day));
        if (!day.isValid())
            return fail(QStringLiteral("--day needs a date as YYYY-MM-DD."), ExitBadInput);
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

    bool require(Command& c, const QCommandLineOption& option) {
        if (c.parser.isSet(option))
            return true;
        err_ << "Missing --" << option.names().constFirst() << ". See --help.\n";
        return false;
    }

    bool prepare(Command& c) {
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
    void probeServer() {
        QStringList messages;
        state_.server = serverprobe::getVersion(*serverprobe::makeSystemRegistry(), messages);
        for (const QString& message : messages)
            err_ << message << '\n';
    }

    int fail(const QString& message, int code) {
        err_ << message << '\n';
        return code;
    }

    QString programFolder_;
    std::unique_ptr<platform::ScratchFolder> scratch_;
    platform::FolderLock lock_;
    QTextStream& out_;
    QTextStream& err_;
    load::AppState state_;
};

} // namespace

namespace {

int erlang(Command& c, QTextStream& out, QTextStream& err) {
    const auto given = [&c](const QCommandLineOption& option) {
        return c.parser.isSet(option) ? std::optional<QString>(c.parser.value(option))
                                      : std::nullopt;
    };
    return runErlang({given(c.ports), given(c.gos), given(c.erlangs), given(c.carried),
                      given(c.retryShare), c.parser.isSet(c.json)},
                     out, err);
}

} // namespace

bool isCommandLineRun(const QStringList& args) {
    if (args.isEmpty())
        return false;
    // The window takes only options; any word first is a sub-command, known or not.
    const QString& first = args.constFirst();
    return !first.startsWith(QLatin1Char('-')) || first == QLatin1String("--help") ||
           first == QLatin1String("-h") || first == QLatin1String("--version");
}

namespace {

// A sub-command: its name, the options it takes besides --data-dir and --help
// (any other is bad usage), and what it runs.
struct SubCommand {
    QString name;
    QStringList options;
    std::function<int(Runner&, Command&)> run;
};

std::vector<SubCommand> subCommands(const ChartWriter& charts, const PdfWriter& pdf,
                                    QTextStream& out, QTextStream& err) {
    const auto command = [](const char* name, std::function<int(Runner&, Command&)> run) {
        const QString text = QLatin1String(name);
        return SubCommand{text, commandOptions(text), std::move(run)};
    };
    return {command("days", [](Runner& r, Command& c) { return r.days(c); }),
            command("load", [](Runner& r, Command& c) { return r.load(c); }),
            command("report",
                    [&charts, &pdf](Runner& r, Command& c) { return r.report(c, charts, pdf); }),
            command("capacity", [](Runner& r, Command& c) { return r.capacity(c); }),
            command("erlang", [&out, &err](Runner&, Command& c) { return erlang(c, out, err); }),
            command("history", [](Runner& r, Command& c) { return r.history(c); }),
            command("check-update",
                    [&out, &err](Runner&, Command&) { return runCheckUpdate(out, err); })};
}

} // namespace

int runCommandLine(const QStringList& args, const QString& programFolder, QTextStream& out,
                   QTextStream& err, const ChartWriter& charts, const PdfWriter& pdf) {
    const QString name = args.value(0);
    if (name == QLatin1String("help") || name == QLatin1String("--help") ||
        name == QLatin1String("-h")) {
        out << usageText();
        return ExitOk;
    }
    if (name == QLatin1String("--version")) {
        out << "tarrow " << TARROW_VERSION_STRING << '\n';
        return ExitOk;
    }
    const std::vector<SubCommand> commands = subCommands(charts, pdf, out, err);
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&name](const SubCommand& s) { return s.name == name; });
    if (command == commands.end()) {
        err << "Unknown command " << name << ". See --help.\n";
        return ExitBadInput;
    }
    Command c;
    if (!c.parser.parse(QStringList{QStringLiteral("tarrow")} + args.mid(1))) {
        err << c.parser.errorText() << ". See --help.\n";
        return ExitBadInput;
    }
    const QStringList allowed =
        command->options + commonOptions() + QStringList{QStringLiteral("h")};
    for (const QString& option : c.parser.optionNames())
        if (!allowed.contains(option)) {
            err << name << " takes no --" << option << ". See --help.\n";
            return ExitBadInput;
        }
    if (c.parser.isSet(c.help)) {
        out << usageText();
        return ExitOk;
    }
    if (!c.parser.positionalArguments().isEmpty()) {
        err << "Unexpected argument " << c.parser.positionalArguments().constFirst()
            << ". See --help.\n";
        return ExitBadInput;
    }
    if (c.parser.isSet(c.dataDir) && c.parser.value(c.dataDir).trimmed().isEmpty()) {
        err << "--data-dir needs a folder. See --help.\n";
        return ExitBadInput;
    }
    Runner runner(programFolder, out, err);
    if (c.parser.isSet(c.dateOrder)) {
        const auto order = logparse::dateOrderNamed(c.parser.value(c.dateOrder));
        if (!order) {
            err << "--date-order takes mdy, dmy or ymd. See --help.\n";
            return ExitBadInput;
        }
        runner.chooseDateOrder(*order);
    }
    return command->run(runner, c);
}

} // namespace tarrow::app
