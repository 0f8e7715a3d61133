#include "app/cli.h"

#include "app/commandtable.h"
#include "app/erlangcommand.h"
#include "app/runner.h"
#include "app/updatecommand.h"
#include "logparse/logfiles.h"
#include "reports/monitoring/checkstatus.h"

#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace tarrow::app {

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
            command("check", [](Runner& r, Command& c) { return r.check(c); }),
            command("check-update",
                    [&out, &err](Runner&, Command&) { return runCheckUpdate(out, err); })};
}

// What is wrong with how a sub-command was called, or empty: an option it
// does not take, a stray word, an empty --data-dir, an unknown date order.
QString usageProblem(Command& c, const SubCommand& command, const QStringList& args) {
    if (!c.parser.parse(QStringList{QStringLiteral("tarrow")} + args.mid(1)))
        return c.parser.errorText().endsWith(QLatin1Char('.'))
                   ? c.parser.errorText()
                   : c.parser.errorText() + QLatin1Char('.');
    const QStringList allowed =
        command.options + commonOptions() + QStringList{QStringLiteral("h")};
    for (const QString& option : c.parser.optionNames())
        if (!allowed.contains(option))
            return QStringLiteral("%1 takes no --%2.").arg(command.name, option);
    if (c.parser.isSet(c.help))
        return {};
    if (!c.parser.positionalArguments().isEmpty())
        return QStringLiteral("Unexpected argument %1.")
            .arg(c.parser.positionalArguments().constFirst());
    if (c.parser.isSet(c.dataDir) && c.parser.value(c.dataDir).trimmed().isEmpty())
        return QStringLiteral("--data-dir needs a folder.");
    if (c.parser.isSet(c.dateOrder) && !logparse::dateOrderNamed(c.parser.value(c.dateOrder)))
        return QStringLiteral("--date-order takes mdy, dmy or ymd.");
    return {};
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
    const QString problem = usageProblem(c, *command, args);
    // A monitoring check answers bad usage as UNKNOWN, on its status line.
    const bool check = name == QLatin1String("check");
    if (!problem.isEmpty()) {
        if (check)
            out << reports::unknownCheck(problem).line << '\n';
        else
            err << problem << " See --help.\n";
        return check ? int(reports::CheckUnknown) : int(ExitBadInput);
    }
    if (c.parser.isSet(c.help)) {
        out << (check ? checkHelpText() : usageText());
        return check ? int(reports::CheckUnknown) : int(ExitOk);
    }
    Runner runner(programFolder, out, err);
    if (c.parser.isSet(c.dateOrder))
        runner.chooseDateOrder(*logparse::dateOrderNamed(c.parser.value(c.dateOrder)));
    return command->run(runner, c);
}

} // namespace tarrow::app
