#include "load/loadday.h"

#include "logparse/logfiles.h"
#include "logparse/parselogfile.h"
#include "platform/civiltime.h"
#include "store/rawportdata.h"
#include "store/workingdatabase.h"

#include <QFile>

#include <algorithm>

namespace tarrow::load {

using namespace logparse;

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

void loadFile(const LogFile& logFile, store::WorkingDatabase& database, const LoadRequest& request,
              const LoadProgress& progress, LoadOutcome& outcome) {
    LoadedDay& day = outcome.day;
    const FileBytes bytes(logFile.path);
    if (!bytes.error.isEmpty()) {
        day.problems.add(ProblemKind::UnreadableFile, logFile.name, 0);
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
    day.problems.merge(parsed.problems);
    if (parsed.tooManyLines) {
        outcome.oversizedFiles << logFile.path;
    } else {
        for (std::size_t i = 0; i < day.calls.size(); ++i)
            day.calls[i] += parsed.calls[i];
        day.peakPort = std::max(day.peakPort, parsed.peakPort);
        day.peakAvailable = std::max(day.peakAvailable, parsed.peakAvailable);
        if (parsed.lastEventTime) {
            const std::int64_t t = *parsed.lastEventTime;
            const civil::Date d = civil::civilFromDays(civil::dayOf(t));
            day.dataDate = QDateTime(QDate(d.year, d.month, d.day),
                                     QTime(0, 0).addSecs(civil::secondOfDay(t)));
        }
        const auto stored = [&](std::size_t rows) {
            if (progress.advanced)
                progress.advanced(
                    lines + static_cast<qint64>(rows) * lines /
                                static_cast<qint64>(std::max<std::size_t>(parsed.rows.size(), 1)));
        };
        const platform::Result appended =
            store::appendRawRows(database, options.chosenDay, parsed.rows, stored);
        if (appended.ok() && day.rows.empty())
            day.rows = std::move(parsed.rows);
        else if (appended.ok())
            day.rows.insert(day.rows.end(), parsed.rows.begin(), parsed.rows.end());
        else
            outcome.errors << QStringLiteral("Error in ParseLogFile routine: ") + appended.error();
    }
    if (progress.fileFinished)
        progress.fileFinished();
}

} // namespace

LoadOutcome loadDay(store::WorkingDatabase& database, const LoadRequest& request,
                    const LoadedDay& previous, const LoadProgress& progress) {
    LoadOutcome outcome;
    outcome.day.peakPort = previous.peakPort;
    outcome.day.peakAvailable = previous.peakAvailable;
    outcome.day.dataDate = previous.dataDate;
    const FolderListing listing = listLogFiles(request.folder, request.prefix);
    if (!listing.error.isEmpty()) {
        outcome.folderError =
            listing.error +
            QStringLiteral(" Nothing was loaded; choose the log folder again with Browse.");
        return outcome;
    }
    // The mark stays on the file while the load writes, so a load that dies
    // half-way leaves a file the next start-up replaces.
    (void)database.markLoad(true);
    outcome.errors = store::ClearDatabases(database);
    for (const LogFile& file : filesForDay(listing.files, request.day))
        loadFile(file, database, request, progress, outcome);
    (void)database.markLoad(false);
    outcome.calls = outcome.day.totalCalls();
    outcome.message =
        outcome.foundCalls() ? loadMessage(request.entryText, outcome.day.calls) : noDataMessage();
    return outcome;
}

QString loadMessage(const QString& entryText,
                    const std::array<qint64, store::kCallTypeCount>& calls) {
    const QString crlf = QStringLiteral("\r\n");
    QString text = QStringLiteral("Call information found in logs for ") + entryText + crlf;
    for (store::CallType type : store::kReadingOrder)
        text += QLatin1String(store::info(type).label) + QLatin1Char('=') +
                QString::number(calls[store::typeIndex(type)]) + crlf;
    return text;
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

} // namespace tarrow::load
