#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace tarrow::app {

// A sub-command and the options it takes besides --data-dir and --help; any
// other option is bad usage.
struct CommandOptions {
    QString name;
    QStringList options;
};

// Every sub-command, in the order the usage text lists them. The parser, the
// manual page and the shell completion follow this table (a test checks
// the last two).
[[nodiscard]] const std::vector<CommandOptions>& commandTable();

// The options of one sub-command (none for an unknown one).
[[nodiscard]] QStringList commandOptions(const QString& name);

// The options every sub-command takes.
[[nodiscard]] QStringList commonOptions();

// What a sizing option out of range says, wherever it is given.
[[nodiscard]] QString badPortsMessage();
[[nodiscard]] QString badGosMessage();
[[nodiscard]] QString badRetryShareMessage();

// The usage text `--help` prints.
[[nodiscard]] const QString& usageText();

} // namespace tarrow::app
