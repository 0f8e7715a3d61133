#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

#include <vector>

class QCommandLineParser;

namespace tarrow::app {

// One option of the command line: its name, the name of its value (none for
// a switch), what --help says of it and its default.
struct OptionInfo {
    QString name;
    QString value;
    QString help;
    QString defaultValue;
};

// One way to call a sub-command: its options in the order the usage shows
// them ("[name]" for optional ones) and what it does.
struct CommandForm {
    QStringList options;
    QString what;
};

// A sub-command, the options it takes besides --data-dir and --help (any
// other is bad usage), and the forms the usage text shows.
struct CommandOptions {
    QString name;
    QStringList options;
    std::vector<CommandForm> forms;
};

// Every option any sub-command or the window takes, common ones included.
[[nodiscard]] const std::vector<OptionInfo>& optionTable();
// The parser's option of that name, made from the table.
[[nodiscard]] QCommandLineOption commandLineOption(const QString& name);
// The table's row of an option, or nothing.
[[nodiscard]] const OptionInfo* findOption(const QString& name);
// Adds every option of the table to a parser.
void addEveryOption(QCommandLineParser& parser);

// Every sub-command, in the order the usage text lists them. The parser, the
// usage text, the manual page and the shell completion follow this table (a
// test checks the last two).
[[nodiscard]] const std::vector<CommandOptions>& commandTable();

// The options of one sub-command (none for an unknown one).
[[nodiscard]] QStringList commandOptions(const QString& name);

// The options every sub-command takes.
[[nodiscard]] QStringList commonOptions();

// What a sizing option out of range says, wherever it is given.
[[nodiscard]] QString badPortsMessage();
[[nodiscard]] QString badGosMessage();
[[nodiscard]] QString badRetryShareMessage();

// The usage text `--help` prints, made from the table; it ends with the
// order slash dates are read in under the current locale.
[[nodiscard]] QString usageText();

// `tarrow check --help`, in the style of the monitoring plugins: what it
// checks, its usage, each option with its default, the exit codes and a
// command definition for Nagios or Icinga.
[[nodiscard]] QString checkHelpText();

} // namespace tarrow::app
