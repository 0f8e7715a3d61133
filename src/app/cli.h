#pragma once

#include "app/reportfiles.h"

#include <QString>
#include <QStringList>

#include <functional>

class QTextStream;

namespace tarrow::app {

// Exit codes of every sub-command.
// (check-update answers 1 when the site cannot be asked, 3 for a newer version.)
enum ExitCode { ExitOk = 0, ExitNoCallData = 1, ExitBadInput = 2, ExitNewerVersion = 3 };

// True when the arguments (without the program name) ask for a headless run.
[[nodiscard]] bool isCommandLineRun(const QStringList& args);

// Runs a sub-command headless; returns its exit code. Without a chart writer,
// "report" writes no chart pictures; without a PDF writer it refuses --pdf.
[[nodiscard]] int runCommandLine(const QStringList& args, const QString& programFolder,
                                 QTextStream& out, QTextStream& err, const ChartWriter& charts = {},
                                 const PdfWriter& pdf = {});

} // namespace tarrow::app
