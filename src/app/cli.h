#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

namespace tarrow::app {

// Exit codes of every sub-command.
enum ExitCode { ExitOk = 0, ExitNoCallData = 1, ExitBadInput = 2 };

// True when the arguments (without the program name) ask for a headless run.
[[nodiscard]] bool isCommandLineRun(const QStringList& args);

// Runs a sub-command headless; returns its exit code.
[[nodiscard]] int runCommandLine(const QStringList& args, const QString& programFolder,
                                 QTextStream& out, QTextStream& err);

} // namespace tarrow::app
