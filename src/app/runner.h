#pragma once

#include "app/commandtable.h"
#include "app/reportfiles.h"
#include "load/appstate.h"
#include "platform/folderlock.h"
#include "platform/scratchfolder.h"
#include "reports/capacity/sizing.h"
#include "reports/monitoring/checkstatus.h"
#include "reports/monitoring/metricstext.h"

#include <QCommandLineParser>
#include <QString>

#include <memory>

class QTextStream;

namespace tarrow::app {

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
    QCommandLineOption lastDays = option("days");
    QCommandLineOption warning = option("warning");
    QCommandLineOption critical = option("critical");
    QCommandLineOption metrics = option("metrics");

    Command() { addEveryOption(parser); }
};

// Runs the sub-commands that read logs: each loads its day (or days) itself,
// in a working database of its own unless --data-dir names one.
class Runner {
public:
    Runner(const QString& programFolder, QTextStream& out, QTextStream& err)
        : programFolder_(programFolder), out_(out), err_(err) {}
    // How slash dates in the logs are read, when --date-order chose.
    void chooseDateOrder(logparse::DateOrder order) { state_.dateOrder = order; }
    int days(Command& c);
    int load(Command& c);
    int report(Command& c, const ChartWriter& chartWriter, const PdfWriter& pdfWriter);
    int history(Command& c);
    int capacity(Command& c);
    // The Nagios-style check of one day or of the last days.
    int check(Command& c);

private:
    // --ports, --gos and --retry-share, checked (NaN and infinity are out of range).
    bool readSizing(Command& c, reports::SizingChoice& choice);
    static QTime readTime(const QString& text);
    // "Load Data" for --logs and --day; prints what was found when echo is set.
    int loadDay(Command& c, bool echo = true);
    int loadDate(Command& c, const QDate& day, bool echo);
    // Where History.db lives: --data-dir, else the per-user data folder.
    [[nodiscard]] QString historyCacheFolder(Command& c) const;
    // The metrics file of --metrics, replaced whole; false (said on err)
    // when it could not be written. True when none was asked for.
    bool writeMetrics(Command& c, const reports::MetricsText& metrics);
    // check --days: the last K days to the latest as a history; prints the
    // status line and returns the check's code.
    int checkLastDays(Command& c, const QDate& latest, const reports::SizingChoice& choice,
                      const reports::CheckThresholds& thresholds, reports::MetricsText& metrics);
    bool require(Command& c, const QCommandLineOption& option);
    bool prepare(Command& c);
    // What reading a log folder needs of the start-up without a working
    // database: the server generation, for the file prefix.
    void probeServer();
    int fail(const QString& message, int code);
    QString programFolder_;
    std::unique_ptr<platform::ScratchFolder> scratch_;
    platform::FolderLock lock_;
    QTextStream& out_;
    QTextStream& err_;
    load::AppState state_;
};

} // namespace tarrow::app
