#include "app/cli.h"

#include "app/startup.h"
#include "logparse/logfiles.h"
#include "store/rawportdata.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace tarrow::app {

namespace {

const QString kUsage = QStringLiteral(
    "Usage:\n"
    "  tarrow [--logs DIR]                 open the window (folder filled in, days listed)\n"
    "  tarrow days --logs DIR              list the days that have log files\n"
    "  tarrow load --logs DIR --day YYYY-MM-DD [--raw-csv FILE]\n"
    "                                      load one day, print what was found\n"
    "Every sub-command takes --data-dir DIR (where the working database lives) and --help.\n"
    "Exit codes: 0 success, 1 no call data in the logs, 2 bad usage or unreadable input.\n");

struct Command {
    QCommandLineParser parser;
    QCommandLineOption logs{QStringLiteral("logs"), QStringLiteral("Log folder."),
                            QStringLiteral("DIR")};
    QCommandLineOption day{QStringLiteral("day"), QStringLiteral("Day to load."),
                           QStringLiteral("YYYY-MM-DD")};
    QCommandLineOption rawCsv{QStringLiteral("raw-csv"), QStringLiteral("Write RawPortData."),
                              QStringLiteral("FILE")};
    QCommandLineOption dataDir{QStringLiteral("data-dir"),
                               QStringLiteral("Folder of the working database."),
                               QStringLiteral("DIR")};
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help.")};

    Command() { parser.addOptions({logs, day, rawCsv, dataDir, help}); }
};

class Runner {
public:
    Runner(const QString& programFolder, QTextStream& out, QTextStream& err)
        : programFolder_(programFolder), out_(out), err_(err) {}

    int days(Command& c) {
        if (!require(c, c.logs))
            return ExitBadInput;
        if (!prepare(c))
            return ExitBadInput;
        const auto listing =
            logparse::listLogFiles(c.parser.value(c.logs), serverprobe::logFilePrefix(state_.server));
        if (!listing.error.isEmpty())
            return fail(listing.error, ExitBadInput);
        const auto days = logparse::buildDayList(listing.files, state_.locale);
        for (const auto& day : days)
            out_ << day.date.toString(Qt::ISODate) << '\t' << day.text << '\n';
        if (days.isEmpty())
            return fail(QStringLiteral("No valid diagnostic files found in that directory."),
                        ExitNoCallData);
        return ExitOk;
    }

    int load(Command& c) {
        if (!require(c, c.logs) || !require(c, c.day))
            return ExitBadInput;
        const QDate day = QDate::fromString(c.parser.value(c.day), Qt::ISODate);
        if (!day.isValid())
            return fail(QStringLiteral("--day needs a date as YYYY-MM-DD."), ExitBadInput);
        if (!prepare(c))
            return ExitBadInput;
        const auto outcome = app::loadDay(state_, c.parser.value(c.logs), day,
                                          logparse::dayEntryText(day, state_.locale));
        if (!outcome.folderError.isEmpty())
            return fail(outcome.folderError, ExitBadInput);
        for (const QString& error : outcome.errors)
            err_ << error << '\n';
        for (const QString& file : outcome.oversizedFiles)
            out_ << logparse::tooManyLinesMessage() << ' ' << file << "\r\n";
        out_ << outcome.problems.summary() << outcome.message;
        if (!outcome.message.endsWith(QLatin1Char('\n')))
            out_ << "\r\n";
        if (c.parser.isSet(c.rawCsv)) {
            const QString error =
                store::writeTableCsv(state_.database, QStringLiteral("RawPortData"), c.parser.value(c.rawCsv));
            if (!error.isEmpty())
                return fail(error, ExitBadInput);
        }
        return outcome.foundCalls() ? ExitOk : ExitNoCallData;
    }

private:
    bool require(Command& c, const QCommandLineOption& option) {
        if (c.parser.isSet(option))
            return true;
        err_ << "Missing --" << option.names().constFirst() << ". See --help.\n";
        return false;
    }

    bool prepare(Command& c) {
        state_.programFolder = programFolder_;
        state_.dataFolder = chooseDataFolder(programFolder_, c.parser.value(c.dataDir));
        const auto registry = serverprobe::makeSystemRegistry();
        const QStringList messages = startUp(state_, *registry);
        for (const QString& message : messages)
            err_ << message << '\n';
        return state_.database.isOpen();
    }

    int fail(const QString& message, int code) {
        err_ << message << '\n';
        return code;
    }

    QString programFolder_;
    QTextStream& out_;
    QTextStream& err_;
    AppState state_;
};

} // namespace

bool isCommandLineRun(const QStringList& args) {
    if (args.isEmpty())
        return false;
    const QString& first = args.constFirst();
    return first == QLatin1String("days") || first == QLatin1String("load") ||
           first == QLatin1String("help") || first == QLatin1String("--help") ||
           first == QLatin1String("-h");
}

int runCommandLine(const QStringList& args, const QString& programFolder, QTextStream& out,
                   QTextStream& err) {
    const QString command = args.value(0);
    if (command != QLatin1String("days") && command != QLatin1String("load")) {
        out << kUsage;
        return ExitOk;
    }
    Command c;
    if (!c.parser.parse(QStringList{QStringLiteral("tarrow")} + args.mid(1))) {
        err << c.parser.errorText() << ". See --help.\n";
        return ExitBadInput;
    }
    if (c.parser.isSet(c.help)) {
        out << kUsage;
        return ExitOk;
    }
    if (!c.parser.positionalArguments().isEmpty()) {
        err << "Unexpected argument " << c.parser.positionalArguments().constFirst()
            << ". See --help.\n";
        return ExitBadInput;
    }
    Runner runner(programFolder, out, err);
    return command == QLatin1String("days") ? runner.days(c) : runner.load(c);
}

} // namespace tarrow::app
