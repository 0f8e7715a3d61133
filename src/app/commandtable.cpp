#include "app/commandtable.h"

#include <algorithm>

namespace tarrow::app {

const std::vector<CommandOptions>& commandTable() {
    static const std::vector<CommandOptions> table = [] {
        const auto list = [](std::initializer_list<const char*> names) {
            QStringList options;
            for (const char* name : names)
                options << QLatin1String(name);
            return options;
        };
        return std::vector<CommandOptions>{
            {QStringLiteral("days"), list({"logs"})},
            {QStringLiteral("load"), list({"logs", "day", "raw-csv"})},
            {QStringLiteral("report"), list({"logs", "day", "from", "to", "out", "charts", "ports",
                                             "gos", "retry-share", "pdf"})},
            {QStringLiteral("capacity"),
             list({"logs", "day", "ports", "gos", "retry-share", "json"})},
            {QStringLiteral("erlang"),
             list({"ports", "gos", "erlangs", "carried", "retry-share", "json"})},
            {QStringLiteral("history"),
             list({"logs", "from", "to", "ports", "gos", "retry-share", "out"})},
            {QStringLiteral("check-update"), {}}};
    }();
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

const QString& usageText() {
    static const QString text = QStringLiteral(
        "Usage:\n"
        "  tarrow [--logs DIR]                 open the window (folder filled in, days listed)\n"
        "  tarrow days --logs DIR              list the days that have log files\n"
        "  tarrow load --logs DIR --day YYYY-MM-DD [--raw-csv FILE]\n"
        "                                      load one day, print what was found\n"
        "  tarrow report --logs DIR --day YYYY-MM-DD [--from HH:MM[:SS]] [--to HH:MM[:SS]]\n"
        "                --out DIR [--charts bmp|png|svg|none] [--ports N] [--gos P]\n"
        "                [--retry-share R] [--pdf FILE]\n"
        "                                      load one day and write every report into DIR\n"
        "                                      (and the PDF management report into FILE)\n"
        "  tarrow capacity --logs DIR --day YYYY-MM-DD [--ports N] [--gos P] [--retry-share R]\n"
        "                  [--json]            busy hour, all ports busy, offered traffic and\n"
        "                                      Erlang B sizing: enough, near or notEnough\n"
        "                                      (N ports that take calls, 0 or absent: the answer\n"
        "                                      ports or the server's count of lines available;\n"
        "                                      P target blocking 0.001 to 0.2, default 0.01;\n"
        "                                      R share of blocked callers who try again, 0 to\n"
        "                                      0.95, default 0)\n"
        "  tarrow erlang --ports N --gos P [--retry-share R] [--json]\n"
        "                                      the fresh traffic N ports carry at P blocking\n"
        "  tarrow erlang --erlangs A --gos P [--retry-share R] [--json]\n"
        "                                      the ports A Erlangs need at P blocking\n"
        "  tarrow erlang --erlangs A --ports N [--retry-share R] [--json]\n"
        "                                      the blocking A Erlangs meet on N ports\n"
        "  tarrow erlang --carried Y --ports N [--json]\n"
        "                                      the traffic offered when N ports carried Y\n"
        "  tarrow history --logs DIR [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--ports N] [--gos P]\n"
        "                 [--retry-share R] --out DIR\n"
        "                                      every day's offered traffic at the time-consistent\n"
        "                                      busy hour, the trend of the days sized and when "
        "the\n"
        "                                      ports run out (exhausted, runsOut or ok):\n"
        "                                      History.csv, History.json; skipped days on stderr\n"
        "  tarrow check-update                 ask the tools web site for a newer version\n"
        "                                      (0 up to date, 3 newer posted, 1 site not reached)\n"
        "  tarrow --version                    print the version\n"
        "Options end at --.\n"
        "Every sub-command takes --help and --data-dir DIR: the folder of the working database\n"
        "to load into and keep. Without it a sub-command works in a temporary working database\n"
        "of its own, so it never meets an open window's. One Tarrow at a time uses a data folder.\n"
        "Exit codes: 0 success, 1 no call data in the logs, 2 bad usage or unreadable input.\n");
    return text;
}

} // namespace tarrow::app
