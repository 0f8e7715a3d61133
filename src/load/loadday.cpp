#include "load/loadday.h"

#include "logparse/logfiles.h"
#include "logparse/parselogfile.h"
#include "platform/civiltime.h"
#include "store/rawportdata.h"
#include "store/workingdatabase.h"

#include <QFile>

#include <algorithm>

namespace tarrow::logparse {

namespace {

// The bytes of a file: mapped when possible, else read; empty data with an
// error text when the file cannot be read.
struct FileBytes {
    QFile file;
    QByteArray copy;
    std::string_view view;
    QString error;

    explicit FileBytes(const QString& path) : file(path) {
        if (!file.open(QIODevice::ReadOnly)) {
            error = file.errorString();
            return;
        }
        const qint64 size = file.size();
        if (size == 0)
            return;
        if (uchar* mapped = file.map(0, size)) {
            view = std::string_view(reinterpret_cast<const char*>(mapped),
                                    static_cast<std::size_t>(size));
            return;
        }
        copy = file.readAll();
        if (copy.isEmpty() && file.error() != QFileDevice::NoError)
            error = file.errorString();
        view = std::string_view(copy.constData(), static_cast<std::size_t>(copy.size()));
    }
};

void loadFile(const LogFile& logFile, store::WorkingDatabase& database, LoadTotals& totals,
              const LoadRequest& request, const LoadProgress& progress, LoadOutcome& outcome) {
    const FileBytes bytes(logFile.path);
    if (!bytes.error.isEmpty()) {
        outcome.problems.add(ProblemKind::UnreadableFile, logFile.name, 0);
        return;
    }
    // Reading the lines is the first half of the work, storing the rows the second.
    qint64 lines = 0;
    ParseOptions options;
    options.counted = [&](qint64 count) {
        lines = count;
        if (progress.fileStarted)
            progress.fileStarted(logFile.path, 2 * count);
    };
    options.chosenDay =
        civil::daysFromCivil(request.day.year(), request.day.month(), request.day.day());
    options.zone = request.zone;
    options.dateOrder = request.dateOrder;
    options.fileName = logFile.name;
    options.progress = progress.advanced;
    ParseResult parsed = ParseLogFile(bytes.view, options);
    outcome.problems.merge(parsed.problems);
    if (parsed.tooManyLines) {
        outcome.oversizedFiles << logFile.path;
    } else {
        for (std::size_t i = 0; i < totals.calls.size(); ++i)
            totals.calls[i] += parsed.calls[i];
        totals.peakPort = std::max(totals.peakPort, parsed.peakPort);
        totals.peakAvailable = std::max(totals.peakAvailable, parsed.peakAvailable);
        if (parsed.lastEventTime)
            totals.lastEventTime = parsed.lastEventTime;
        const auto stored = [&](std::size_t rows) {
            if (progress.advanced)
                progress.advanced(
                    lines + static_cast<qint64>(rows) * lines /
                                static_cast<qint64>(std::max<std::size_t>(parsed.rows.size(), 1)));
        };
        const QString error = store::appendRawRows(database, parsed.rows, stored);
        if (!error.isEmpty())
            outcome.errors << QStringLiteral("Error in ParseLogFile routine: ") + error;
    }
    if (progress.fileFinished)
        progress.fileFinished();
}

} // namespace

LoadOutcome loadDay(store::WorkingDatabase& database, LoadTotals& totals,
                    const LoadRequest& request, const LoadProgress& progress) {
    LoadOutcome outcome;
    const FolderListing listing = listLogFiles(request.folder, request.prefix);
    if (!listing.error.isEmpty()) {
        outcome.folderError =
            listing.error +
            QStringLiteral(" Nothing was loaded; choose the log folder again with Browse.");
        return outcome;
    }
    totals.calls = {};
    outcome.errors = store::ClearDatabases(database);
    for (const LogFile& file : filesForDay(listing.files, request.day))
        loadFile(file, database, totals, request, progress, outcome);

    for (qint64 n : totals.calls)
        outcome.calls += n;
    outcome.message =
        outcome.foundCalls() ? loadMessage(request.entryText, totals.calls) : noDataMessage();
    return outcome;
}

QString loadMessage(const QString& entryText, const std::array<qint64, 5>& calls) {
    const QString crlf = QStringLiteral("\r\n");
    // Inbound, MWI, notification, TRAP, AMIS: call types 1, 3, 2, 4, 5.
    return QStringLiteral("Call information found in logs for ") + entryText + crlf +
           QStringLiteral("Inbound Calls=") + QString::number(calls[0]) + crlf +
           QStringLiteral("MWI Dialouts=") + QString::number(calls[2]) + crlf +
           QStringLiteral("Notification Dialouts=") + QString::number(calls[1]) + crlf +
           QStringLiteral("TRAP Dialouts=") + QString::number(calls[3]) + crlf +
           QStringLiteral("AMIS Dialouts=") + QString::number(calls[4]) + crlf;
}

QString noDataMessage() {
    return QStringLiteral(
        "No port usage data found in the logs parsed.  This could mean simply that there was no "
        "call activity for the time(s) selected or that the logs you are pointing at were "
        "generated with a version of Mervox earlier than 3.1(4).");
}

QString tooManyLinesMessage() {
    return QStringLiteral("More than 1,000,000 lines read in log file.  Too many to process.");
}

QString tooManyLinesTitle() {
    return QStringLiteral("Tarrow Report Failure");
}

} // namespace tarrow::logparse
