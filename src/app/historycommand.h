#pragma once

#include "load/loadday.h"
#include "reports/history/historysummary.h"

#include <QDate>
#include <QString>

class QTextStream;

namespace tarrow::app {

// What `tarrow history` was asked, checked.
struct HistoryCommand {
    load::LoadRequest request; // the log folder, its prefix, zone and date order
    QDate from;
    QDate to;
    reports::SizingChoice choice; // growth is not used
    QString cacheFolder;          // where History.db lives
    QString outFolder;            // where History.csv and History.json go
    QString metricsPath;          // the Prometheus metrics file, when asked for
};

// Reads the days, writes History.csv and History.json, prints the status,
// the days and the figures, and names every skipped day on err. Returns the
// exit code: 0 when a day was computed, 1 when no day has calls, 2 when none
// could be read or a file could not be written.
[[nodiscard]] int runHistory(const HistoryCommand& command, QTextStream& out, QTextStream& err);

} // namespace tarrow::app
