#include "app/commandtable.h"

#include "logparse/logfiles.h"

#include <QCommandLineParser>
#include <QLocale>

#include <algorithm>

namespace tarrow::app {

namespace {

QStringList listOf(std::initializer_list<const char*> names) {
    QStringList list;
    for (const char* name : names)
        list << QLatin1String(name);
    return list;
}

CommandForm form(std::initializer_list<const char*> options, const char* what) {
    return {listOf(options), QLatin1String(what)};
}

// The options a command's forms name, each once, brackets removed.
QStringList optionsOf(const std::vector<CommandForm>& forms) {
    QStringList options;
    for (const CommandForm& f : forms)
        for (QString option : f.options) {
            option.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
            if (!options.contains(option))
                options << option;
        }
    return options;
}

CommandOptions command(const char* name, std::vector<CommandForm> forms) {
    return {QLatin1String(name), optionsOf(forms), std::move(forms)};
}

std::vector<CommandOptions> makeCommands() {
    return {
        command("days", {form({"logs"}, "list the days that have log files")}),
        command("load", {form({"logs", "day", "[raw-csv]", "[date-order]"},
                              "load one day, print what was found")}),
        command("report",
                {form({"logs", "day", "[from]", "[to]", "out", "[charts]", "[ports]", "[gos]",
                       "[retry-share]", "[pdf]", "[metrics]", "[date-order]"},
                      "load one day and write every report into DIR (and the PDF management "
                      "report into FILE)")}),
        command("capacity",
                {form({"logs", "day", "[ports]", "[gos]", "[retry-share]", "[json]", "[metrics]",
                       "[date-order]"},
                      "busy hour, all ports busy, offered traffic and Erlang B sizing: enough, "
                      "near or notEnough (N ports that take calls, 0 or absent: the answer ports "
                      "or the server's count of lines available; P target blocking 0.001 to 0.2, "
                      "default 0.01; R share of blocked callers who try again, 0 to 0.95, "
                      "default 0)")}),
        command("erlang", {form({"ports", "gos", "[retry-share]", "[json]"},
                                "the fresh traffic N ports carry at P blocking"),
                           form({"erlangs", "gos", "[retry-share]", "[json]"},
                                "the ports A Erlangs need at P blocking"),
                           form({"erlangs", "ports", "[retry-share]", "[json]"},
                                "the blocking A Erlangs meet on N ports"),
                           form({"carried", "ports", "[json]"},
                                "the traffic offered when N ports carried Y")}),
        command("history",
                {form({"logs", "[from]", "[to]", "[ports]", "[gos]", "[retry-share]", "out",
                       "[metrics]", "[date-order]"},
                      "every day's offered traffic at the time-consistent busy hour, the trend "
                      "of the days sized and when the ports run out (exhausted, runsOut or ok): "
                      "History.csv, History.json; skipped days on stderr")}),
        command("check",
                {form({"logs", "[day]", "[ports]", "[gos]", "[retry-share]", "[warning]",
                       "[critical]", "[metrics]", "[date-order]"},
                      "monitoring plugin: OK, WARNING, CRITICAL or UNKNOWN (exit 0 to 3) for "
                      "the demand as a share of the capacity on one day (default: the latest "
                      "day with files), with perfdata"),
                 form({"logs", "days", "[ports]", "[gos]", "[retry-share]", "[warning]",
                       "[critical]", "[metrics]", "[date-order]"},
                      "the same over the last K days as a history; a run-out within 90 days "
                      "warns")}),
        command("check-update",
                {form({}, "ask the tools web site for a newer version (0 up to date, 3 newer "
                          "posted, 1 site not reached)")})};
}

// Sub-command ranges of days take dates, the per-port report range takes times.
QString valueShown(const QString& command, const OptionInfo& option) {
    if (command == QLatin1String("history") &&
        (option.name == QLatin1String("from") || option.name == QLatin1String("to")))
        return QStringLiteral("YYYY-MM-DD");
    return option.value;
}

constexpr int kWidth = 80;
constexpr int kWhatColumn = 38;

// Words laid out from column `column` up to the width; the first line goes on
// `line` when it is short enough.
void appendWrapped(QString& text, QString line, const QString& words, int column) {
    const QString indent(column, QLatin1Char(' '));
    if (column > 0 && line.size() >= column) {
        text += line + QLatin1Char('\n');
        line = indent;
    } else {
        line = line.leftJustified(column);
    }
    bool first = true;
    for (const QString& word : words.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!first && line.size() + 1 + word.size() > kWidth) {
            text += line + QLatin1Char('\n');
            line = indent;
            first = true;
        }
        line += (first ? QString() : QStringLiteral(" ")) + word;
        first = false;
    }
    text += line + QLatin1Char('\n');
}

void appendForm(QString& text, const CommandOptions& c, const CommandForm& f) {
    QString line = QStringLiteral("  tarrow ") + c.name;
    const QString indent(line.size() + 1, QLatin1Char(' '));
    for (const QString& token : f.options) {
        const bool optional = token.startsWith(QLatin1Char('['));
        const QString name = optional ? token.mid(1, token.size() - 2) : token;
        const OptionInfo* option = findOption(name);
        QString shown = QStringLiteral("--") + name;
        if (option && !option->value.isEmpty())
            shown += QLatin1Char(' ') + valueShown(c.name, *option);
        if (optional)
            shown = QLatin1Char('[') + shown + QLatin1Char(']');
        if (line.size() + 1 + shown.size() > kWidth - 2) {
            text += line + QLatin1Char('\n');
            line = indent.left(indent.size() - 1);
        }
        line += QLatin1Char(' ') + shown;
    }
    appendWrapped(text, line, f.what, kWhatColumn);
}

QString makeUsage() {
    QString text = QStringLiteral("Usage:\n");
    appendWrapped(text, QStringLiteral("  tarrow [--logs DIR]"),
                  QStringLiteral("open the window (folder filled in, days listed)"), kWhatColumn);
    for (const CommandOptions& c : commandTable())
        for (const CommandForm& f : c.forms)
            appendForm(text, c, f);
    appendWrapped(text, QStringLiteral("  tarrow --version"), QStringLiteral("print the version"),
                  kWhatColumn);
    for (const char* paragraph :
         {"Options end at --.",
          "Every sub-command takes --help and --data-dir DIR: the folder of the working "
          "database to load into and keep. Without it a sub-command works in a temporary "
          "working database of its own, so it never meets an open window's. One Tarrow at a "
          "time uses a data folder.",
          "Exit codes: 0 success, 1 no call data in the logs, 2 bad usage or unreadable input."})
        appendWrapped(text, {}, QLatin1String(paragraph), 0);
    const QLocale locale = QLocale::system();
    appendWrapped(text, {},
                  QStringLiteral("Slash dates in the logs (3/8/2009) are read %1 here, as the "
                                 "locale %2 writes them (the C locale of scheduled runs: month "
                                 "first); --date-order mdy|dmy|ymd chooses.")
                      .arg(logparse::dateOrderName(logparse::dateOrderOf(locale)), locale.name()),
                  0);
    return text;
}

} // namespace

const std::vector<OptionInfo>& optionTable() {
    static const std::vector<OptionInfo> table{
        {QStringLiteral("logs"), QStringLiteral("DIR"), QStringLiteral("Log folder."), {}},
        {QStringLiteral("day"), QStringLiteral("YYYY-MM-DD"), QStringLiteral("Day to load."), {}},
        {QStringLiteral("raw-csv"),
         QStringLiteral("FILE"),
         QStringLiteral("Write RawPortData."),
         {}},
        {QStringLiteral("data-dir"),
         QStringLiteral("DIR"),
         QStringLiteral("Folder of the working database."),
         {}},
        {QStringLiteral("from"), QStringLiteral("HH:MM[:SS]"), QStringLiteral("Range start."),
         QStringLiteral("00:00:00")},
        {QStringLiteral("to"), QStringLiteral("HH:MM[:SS]"), QStringLiteral("Range end."),
         QStringLiteral("23:59:59")},
        {QStringLiteral("out"), QStringLiteral("DIR"), QStringLiteral("Output folder."), {}},
        {QStringLiteral("charts"), QStringLiteral("bmp|png|svg|none"),
         QStringLiteral("Chart pictures."), QStringLiteral("bmp")},
        {QStringLiteral("ports"), QStringLiteral("N"), QStringLiteral("Ports in service."),
         QStringLiteral("0")},
        {QStringLiteral("gos"), QStringLiteral("P"), QStringLiteral("Target blocking."),
         QStringLiteral("0.01")},
        {QStringLiteral("retry-share"), QStringLiteral("R"),
         QStringLiteral("Share of blocked callers who try again."), QStringLiteral("0")},
        {QStringLiteral("erlangs"), QStringLiteral("A"), QStringLiteral("Fresh traffic."), {}},
        {QStringLiteral("carried"), QStringLiteral("Y"), QStringLiteral("Carried traffic."), {}},
        {QStringLiteral("json"), {}, QStringLiteral("Print JSON."), {}},
        {QStringLiteral("pdf"),
         QStringLiteral("FILE"),
         QStringLiteral("PDF management report."),
         {}},
        {QStringLiteral("date-order"),
         QStringLiteral("mdy|dmy|ymd"),
         QStringLiteral("How slash dates in the logs are read."),
         {}},
        {QStringLiteral("days"), QStringLiteral("K"), QStringLiteral("The last K days."), {}},
        {QStringLiteral("warning"), QStringLiteral("W"),
         QStringLiteral("Warning at W % of the capacity."), QStringLiteral("80")},
        {QStringLiteral("critical"), QStringLiteral("C"),
         QStringLiteral("Critical at C % of the capacity."), QStringLiteral("95")},
        {QStringLiteral("metrics"),
         QStringLiteral("FILE"),
         QStringLiteral("Prometheus metrics file."),
         {}},
        {QStringLiteral("help"), {}, QStringLiteral("Show this help."), {}}};
    return table;
}

QCommandLineOption commandLineOption(const QString& name) {
    const OptionInfo* option = findOption(name);
    if (!option)
        return QCommandLineOption(name);
    if (name == QLatin1String("help"))
        return QCommandLineOption({QStringLiteral("h"), name}, option->help);
    return QCommandLineOption(name, option->help, option->value, option->defaultValue);
}

const OptionInfo* findOption(const QString& name) {
    const auto found = std::find_if(optionTable().begin(), optionTable().end(),
                                    [&name](const OptionInfo& o) { return o.name == name; });
    return found == optionTable().end() ? nullptr : &*found;
}

void addEveryOption(QCommandLineParser& parser) {
    for (const OptionInfo& option : optionTable())
        parser.addOption(commandLineOption(option.name));
}

const std::vector<CommandOptions>& commandTable() {
    static const std::vector<CommandOptions> table = makeCommands();
    return table;
}

QStringList commandOptions(const QString& name) {
    const auto& table = commandTable();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&name](const CommandOptions& c) { return c.name == name; });
    return found == table.end() ? QStringList{} : found->options;
}

QStringList commonOptions() {
    return {QStringLiteral("data-dir"), QStringLiteral("help")};
}

QString badPortsMessage() {
    return QStringLiteral("--ports needs a number of ports from 0 to 32768.");
}

QString badGosMessage() {
    return QStringLiteral("--gos needs a target blocking from 0.001 to 0.2 (0.01 is 1 %).");
}

QString badRetryShareMessage() {
    return QStringLiteral("--retry-share needs a share from 0 to 0.95.");
}

QString usageText() {
    return makeUsage();
}

QString checkHelpText() {
    QString text = QStringLiteral("tarrow check " TARROW_VERSION_STRING "\n\n");
    appendWrapped(text, {},
                  QStringLiteral("Checks whether the ports of a voice-messaging server that take "
                                 "calls suffice, from its diagnostic data logs: the busy hour's "
                                 "offered traffic (demand) as a share of what the ports carry at "
                                 "the target blocking (capacity)."),
                  0);
    text += QStringLiteral("\nUsage:\n");
    for (const CommandOptions& c : commandTable())
        if (c.name == QLatin1String("check"))
            for (const CommandForm& f : c.forms)
                appendForm(text, c, f);
    text += QStringLiteral("\nOptions:\n");
    for (const QString& name :
         commandOptions(QStringLiteral("check")) + QStringList{QStringLiteral("help")}) {
        const OptionInfo* option = findOption(name);
        QString line = QStringLiteral(" --") + name;
        if (!option->value.isEmpty())
            line += QLatin1Char('=') + option->value;
        text += line + QLatin1Char('\n');
        QString help = option->help;
        if (!option->defaultValue.isEmpty())
            help += QStringLiteral(" Default: %1.").arg(option->defaultValue);
        appendWrapped(text, QStringLiteral("    "), help, 4);
    }
    text += QStringLiteral(
        "\nExit status: 0 OK (below the warning), 1 WARNING (at or above it, or the ports run\n"
        "out within 90 days), 2 CRITICAL (at or above the critical, not enough ports, ports\n"
        "already short, or the metrics file could not be written), 3 UNKNOWN (no logs, no\n"
        "calls, unreadable logs, bad usage; also after this help).\n"
        "\nExample command definition for Nagios or Icinga:\n"
        "  define command {\n"
        "      command_name  check_tarrow\n"
        "      command_line  /usr/bin/tarrow check --logs $ARG1$ --days 30 --warning $ARG2$ "
        "--critical $ARG3$\n"
        "  }\n");
    return text;
}

} // namespace tarrow::app
