#include "load/loadday.h"

#include "logparse/logfiles.h"
#include "logparse/parselogfile.h"
#include "logparse/readlogfile.h"
#include "platform/civiltime.h"
#include "store/rawportdata.h"
#include "store/workingdatabase.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <optional>

namespace tarrow::load {

using namespace logparse;

namespace {

// A file's parse, or why there is none.
struct FileRead {
    std::optional<ParseResult> parsed; // nothing when the file could not be read
    ReadOutcome outcome = ReadOutcome::Read;
    QString error; // why it could not be read
};

// A file read and parsed; whatever goes wrong on the worker (memory, for one)
// ends here as a file that could not be read, with the reason.
FileRead readAndParse(const QByteArray& path, ParseOptions options) {
    try {
        const LogFileBytes bytes = readLogFile(path);
        FileRead read{std::nullopt, bytes.outcome, bytes.error};
        if (bytes.outcome == ReadOutcome::TooManyLines) {
            ParseResult over;
            over.tooManyLines = true;
            over.lineCount = kMaxLinesPerFile + 1;
            over.problems.add(ProblemKind::TooManyLines, options.fileName, 0);
            read.parsed = std::move(over);
        } else if (bytes.parsable()) {
            options.knownLines = bytes.lines;
            read.parsed = ParseLogFile(bytes.view(), options);
        }
        return read;
    } catch (const std::bad_alloc&) {
        return {std::nullopt, ReadOutcome::Unreadable, QStringLiteral("not enough memory")};
    } catch (const std::exception& e) {
        return {std::nullopt, ReadOutcome::Unreadable, QString::fromLocal8Bit(e.what())};
    }
}

// One file read and parsed on a worker thread, while the main thread stores
// the rows of the file before it. The worker only counts; the main thread
// reports progress and puts the results together in folder order, so the
// loaded day is exactly what one thread would give.
struct FileParse {
    std::atomic<qint64> lines{-1}; // the file's line count, once counted
    std::atomic<qint64> read{0};   // lines read so far
    std::future<FileRead> result;
};

std::unique_ptr<FileParse> startParse(const LogFile& file, ParseOptions options) {
    auto job = std::make_unique<FileParse>();
    // The worker writes into the job's counters: the job is never destroyed
    // before its future is ready (a std::async future waits in its destructor,
    // and the job's future is declared after the counters).
    FileParse* counters = job.get();
    options.fileName = file.name;
    options.counted = [counters](qint64 n) { counters->lines = n; };
    options.progress = [counters](qint64 n) { counters->read = n; };
    job->result = std::async(std::launch::async, [path = file.nativePath, options] {
        return readAndParse(path, options);
    });
    return job;
}

// Reports progress; false once the load is to stop (and from then on).
bool goOn(const LoadProgress& progress, qint64 done, LoadOutcome& outcome) {
    if (!outcome.cancelled && progress.advanced && !progress.advanced(done))
        outcome.cancelled = true;
    return !outcome.cancelled;
}

// Waits for a file's parse, showing its progress; the first half of a file's
// steps is reading its lines, the second storing its rows. A parse under way
// is always waited for (it takes a fraction of a second), even when the load
// is to stop.
FileRead awaitParse(FileParse& job, const LogFile& file, std::pair<int, int> number,
                    const LoadProgress& progress, LoadOutcome& outcome) {
    using namespace std::chrono_literals;
    bool started = false;
    const auto start = [&](qint64 lines) {
        started = true;
        if (progress.fileStarted)
            progress.fileStarted(file.path, 2 * lines, number.first, number.second);
    };
    while (job.result.wait_for(20ms) != std::future_status::ready) {
        if (!started && job.lines >= 0)
            start(job.lines);
        if (started)
            (void)goOn(progress, job.read, outcome);
    }
    FileRead read = job.result.get();
    const std::optional<ParseResult>& parsed = read.parsed;
    if (parsed && !parsed->tooManyLines && !started)
        start(parsed->lineCount);
    if (parsed && !parsed->tooManyLines)
        (void)goOn(progress, parsed->lineCount, outcome);
    return read;
}

// Adds one parsed file to the day and stores its rows.
void addFile(ParseResult parsed, const LogFile& file, std::int64_t dayNumber,
             store::WorkingDatabase& database, const LoadProgress& progress, LoadOutcome& outcome,
             DayLinesBuilder& callLines) {
    LoadedDay& day = outcome.day;
    addCounts(day, parsed);
    if (parsed.tooManyLines) {
        outcome.oversizedFiles << file.path;
        return;
    }
    const qint64 lines = parsed.lineCount;
    const auto rowCount = static_cast<qint64>(std::max<std::size_t>(parsed.rows.size(), 1));
    const auto stored = [&](std::size_t rows) {
        return goOn(progress, lines + static_cast<qint64>(rows) * lines / rowCount, outcome);
    };
    const platform::Result appended =
        store::appendRawRows(database, dayNumber, parsed.rows, stored);
    if (outcome.cancelled)
        return;
    if (appended.ok())
        callLines.add(std::move(parsed.callLines), parsed.edges);
    if (appended.ok() && day.rows.empty())
        day.rows = std::move(parsed.rows);
    else if (appended.ok())
        day.rows.insert(day.rows.end(), parsed.rows.begin(), parsed.rows.end());
    else
        outcome.errors << QStringLiteral("Error in ParseLogFile routine: ") + appended.error();
}

// Every file of the day: each parsed on a worker while the one before it is
// stored.
void loadFiles(const QList<LogFile>& files, store::WorkingDatabase& database,
               const LoadRequest& request, const LoadProgress& progress, LoadOutcome& outcome) {
    const ParseOptions options = parseOptions(request, dayNumber(request.day));
    DayLinesBuilder lines;
    std::unique_ptr<FileParse> next = files.isEmpty() ? nullptr : startParse(files[0], options);
    for (qsizetype i = 0; i < files.size(); ++i) {
        std::unique_ptr<FileParse> current = std::move(next);
        FileRead read = awaitParse(*current, files[i],
                                   {static_cast<int>(i) + 1, static_cast<int>(files.size())},
                                   progress, outcome);
        if (outcome.cancelled)
            return;
        if (i + 1 < files.size())
            next = startParse(files[i + 1], options);
        if (read.outcome == ReadOutcome::NotAFile)
            outcome.day.problems.add(ProblemKind::NotAFile, files[i].name, 0);
        if (read.outcome == ReadOutcome::Changed)
            outcome.day.problems.add(ProblemKind::ChangedWhileRead, files[i].name, 0);
        if (read.outcome == ReadOutcome::TooLarge)
            outcome.day.problems.add(ProblemKind::TooLarge, files[i].name, 0);
        if (!read.parsed) {
            if (read.outcome == ReadOutcome::Unreadable)
                outcome.day.problems.add(ProblemKind::UnreadableFile, files[i].name, 0, read.error);
            continue;
        }
        addFile(std::move(*read.parsed), files[i], options.chosenDay, database, progress, outcome,
                lines);
        if (outcome.cancelled)
            return;
        if (progress.fileFinished)
            progress.fileFinished();
    }
    outcome.day.lines = lines.finish();
}

} // namespace

std::int64_t dayNumber(const QDate& date) {
    return civil::daysFromCivil(date.year(), date.month(), date.day());
}

ParseOptions parseOptions(const LoadRequest& request, std::int64_t firstDay) {
    ParseOptions options;
    options.chosenDay = firstDay;
    options.zone = request.zone;
    options.dateOrder = request.dateOrder;
    return options;
}

void addCounts(LoadedDay& day, const ParseResult& parsed) {
    day.problems.merge(parsed.problems);
    if (parsed.tooManyLines)
        return;
    for (std::size_t i = 0; i < day.calls.size(); ++i)
        day.calls[i] += parsed.calls[i];
    day.peakPort = std::max(day.peakPort, parsed.peakPort);
    day.peakAvailable = std::max(day.peakAvailable, parsed.peakAvailable);
    if (parsed.lastEventTime) {
        const std::int64_t t = *parsed.lastEventTime;
        const civil::Date d = civil::civilFromDays(civil::dayOf(t));
        day.dataDate =
            QDateTime(QDate(d.year, d.month, d.day), QTime(0, 0).addSecs(civil::secondOfDay(t)));
    }
}

LoadOutcome loadDay(store::WorkingDatabase& database, const LoadRequest& request,
                    const LoadedDay& previous, const LoadProgress& progress) {
    LoadOutcome outcome;
    outcome.day = previous.carriedOver();
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
    outcome.day.day = request.day;
    outcome.day.zone = request.zone;
    const QList<LogFile> files = filesForDay(listing.files, request.day);
    loadFiles(files, database, request, progress, outcome);
    if (outcome.cancelled) {
        // A half-loaded day is no day: what earlier files stored goes too.
        if (const platform::Result emptied = store::emptyRawPortData(database); !emptied.ok())
            outcome.errors << QStringLiteral("Error in ParseLogFile routine: ") + emptied.error();
        else
            (void)store::returnFreeSpace(database); // the rows' room goes back to the disk
        outcome.day = previous.carriedOver();
    }
    (void)database.markLoad(false);
    outcome.calls = outcome.day.totalCalls();
    if (outcome.cancelled)
        outcome.message = cancelledMessage();
    else if (outcome.storeFailed())
        outcome.message = storeFailedMessage();
    else
        outcome.message = outcome.foundCalls() ? loadMessage(request.entryText, outcome.day.calls)
                          : files.isEmpty()    ? noFilesMessage(request.day)
                                               : noDataMessage();
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

QString noFilesMessage(const QDate& day) {
    return QStringLiteral("There is no log file for %1 in this folder: nothing was loaded.")
        .arg(day.toString(Qt::ISODate));
}

QString noDataMessage() {
    return QStringLiteral(
        "No port usage data found in the logs parsed.  This could mean simply that there was no "
        "call activity for the time(s) selected or that the logs you are pointing at were "
        "generated with a version of Mervox earlier than 3.1(4).");
}

QString storeFailedMessage() {
    return QStringLiteral(
        "The day was not loaded: the working database could not store it, so no report can be "
        "run. Make room on the disk or make the data folder writable, then load the day again.");
}

QString cancelledMessage() {
    return QStringLiteral("Loading was cancelled: no day is loaded.");
}

QString tooManyLinesMessage() {
    return QStringLiteral("More than 1,000,000 lines read in log file.  Too many to process.");
}

QString tooManyLinesTitle() {
    return QStringLiteral("Tarrow Report Failure");
}

} // namespace tarrow::load
